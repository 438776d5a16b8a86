#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

// Runs the real program (build/bin/portavo) in its unattended mode and collects what it says:
// the exit code, the per-file lines of standard output and standard error. The event loop
// keeps turning while it runs, so servers of the test (pings) answer.
class TransferRun
{
public:
    struct Result
    {
        int exitCode = -1;
        // One entry per file line, split at the tabs: source, outcome, detail.
        QList<QStringList> files;
        QString errors;
        QString output;

        // The line of the file whose source ends with name, or an empty list.
        QStringList file(const QString& name) const;
    };

    // Called every few milliseconds while the program runs.
    using Watch = std::function<void(QProcess&)>;

    static QString portavo();
    // "-xfer -id N -file URL... -to destination -start" plus extra.
    static QStringList arguments(unsigned int deviceId, const QStringList& files,
                                 const QString& destination,
                                 const QStringList& extra = QStringList());
    // Runs the program; with a script, inside "unshare -m" under bash, which gets the program
    // and the arguments as "$@" and must run them.
    static Result
    run(const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        const QString& script = QString(), const Watch& watch = Watch(), int timeoutMs = 300000);
    // Whether this machine lets us make a private mount namespace with a tmpfs.
    static bool canUnshareMounts();
    // Sets HOME, the XDG folders and both hives to folders below root for this process and the
    // programs it starts.
    static void useRoot(const QString& root);
};
