#include "TransferRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QUrl>

#include "PrivateEnvironment.h"

QStringList TransferRun::Result::file(const QString& name) const
{
    for (const QStringList& line : files) {
        if (!line.isEmpty() && line.first().endsWith(name))
            return line;
    }
    return {};
}

QString TransferRun::portavo()
{
    return QCoreApplication::applicationDirPath() + "/portavo";
}

QStringList TransferRun::arguments(unsigned int deviceId, const QStringList& files,
                                   const QString& destination, const QStringList& extra)
{
    QStringList args{"-xfer", "-id", QString::number(deviceId)};
    for (const QString& file : files)
        args << "-file" << QString::fromLatin1(QUrl::fromLocalFile(file).toEncoded());
    args << "-to" << destination << "-start";
    return args + extra;
}

TransferRun::Result TransferRun::run(const QStringList& arguments,
                                     const QProcessEnvironment& environment, const QString& script,
                                     const Watch& watch, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (script.isEmpty()) {
        process.start(portavo(), arguments);
    } else {
        process.start("unshare", QStringList{"-m", "--propagation", "private", "bash", "-c", script,
                                             "portavo-run", portavo()} +
                                     arguments);
    }
    Result result;
    if (!process.waitForStarted(20000))
        return result;
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (watch)
            watch(process);
        process.waitForFinished(5);
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(10000);
        return result;
    }
    // Let the test's servers take what the program sent last.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.errors = QString::fromUtf8(process.readAllStandardError());
    for (const QString& line : result.output.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split('\t');
        if (fields.size() == 3)
            result.files << fields;
    }
    return result;
}

bool TransferRun::canUnshareMounts()
{
    QProcess probe;
    probe.start("unshare", {"-m", "--propagation", "private", "sh", "-c",
                            "d=$(mktemp -d) && mount -t tmpfs -o size=1m tmpfs \"$d\" && "
                            "umount \"$d\" && rmdir \"$d\""});
    return probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
}

void TransferRun::useRoot(const QString& root)
{
    PrivateEnvironment::use(root);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("KAVO_MOUNTINFO");
    qunsetenv("KAVO_SYSFS_ROOT");
}
