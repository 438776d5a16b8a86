#pragma once

#include <QString>

// The controller's trace file: once opened, every Qt debug, info, warning and critical message
// of the process is written to it, one per line. Opened at most once per process; closed when
// the program ends.
class TraceLog
{
public:
    // Opens (truncating) the file and installs the message handler. Later calls do nothing
    // and return whether the first one succeeded.
    static bool open(const QString& path);
    static bool isOpen();
    static QString path();
};
