#pragma once

#include <QString>
#include <QStringList>

// What one start of the portavo program asks for, read before the wizard library runs: the
// usage text, the version, the address of an error's help page, a command line to refuse, or
// a wizard run. For a run, the arguments are put in the form the wizard reads, so a wizard
// already running in another folder gets the same files: every video, given after "-file" or
// bare (as a file manager passes it), becomes "-file" and an absolute file URL. Without "-xfer"
// and "-id" the videos open the wizard for no particular device ("-xfer -id 0").
class LaunchArguments
{
public:
    enum class Action
    {
        Run,
        Help,
        Version,
        ErrorPage,
        Reject
    };

    struct Request
    {
        Action action = Action::Run;
        // For the wizard, the program path not included.
        QStringList arguments;
        // One line per argument that was refused or dropped, for the standard error stream.
        QStringList problems;
        // "-to" and "-start": a script's run, which reports its files itself.
        bool unattended = false;
        // The conversion error whose help page was asked for.
        int errorCode = 0;
    };

    // arguments: the program path removed; relative paths are taken from workingDir.
    static Request interpret(const QStringList& arguments, const QString& workingDir);

    static QString usageText();
    static QString versionText();
};
