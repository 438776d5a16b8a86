#pragma once

#include <QStringList>

// Whether diagnostics reach the terminal. The program's debug lines are for the trace file;
// a person running it sees them on standard error only after asking: the --debug switch, or
// Qt's own QT_LOGGING_RULES (which then also chooses the categories). Warnings always show.
class DiagnosticOutput
{
public:
    // Installs the message handler that decides; arguments are the program's own.
    static void install(const QStringList& arguments);
    // True when debug lines go to the terminal.
    static bool toTerminal();
    // True when arguments ask for diagnostics ("--debug" or "-debug").
    static bool requested(const QStringList& arguments);
};
