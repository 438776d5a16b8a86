#include "ToolRun.h"

#include <QProcess>
#include <QProcessEnvironment>

ToolRun ToolRun::run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    ToolRun r;
    if (!p.waitForStarted() || !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = program + " did not run to its end";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString ToolRun::output(const QString& program, const QStringList& arguments)
{
    const ToolRun r = run(program, arguments);
    return r.ok() ? r.out : QString();
}

ToolRun ToolRun::extractImage(const QString& image, const QString& into, int timeoutMs)
{
    return run("xorriso", {"-osirrox", "on", "-indev", image, "-extract", "/", into}, timeoutMs);
}
