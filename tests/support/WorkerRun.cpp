#include "WorkerRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

// The programs and the tests are built into one folder.
QString WorkerRun::enginePath()
{
    return QCoreApplication::applicationDirPath() + "/KavoEngine";
}

QString WorkerRun::writeFake(const QString& dir, const QByteArray& scriptBody)
{
    const QString path = QDir(dir).filePath("KavoEngine");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    f.write("#!/bin/sh\n");
    f.write(scriptBody);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void WorkerRun::start(const QStringList& arguments, std::function<void()> childSetup)
{
    if (childSetup)
        m_process.setChildProcessModifier(childSetup);
    m_process.start(enginePath(), arguments);
    m_process.waitForStarted();
}

bool WorkerRun::wait(int timeoutMs)
{
    const bool finished = m_process.waitForFinished(timeoutMs);
    if (!finished) {
        m_process.kill();
        m_process.waitForFinished();
    }
    collect();
    m_stderr += QString::fromUtf8(m_process.readAllStandardError());
    return finished;
}

bool WorkerRun::run(const QStringList& arguments, int timeoutMs)
{
    start(arguments);
    return wait(timeoutMs);
}

void WorkerRun::collect()
{
    m_pending += m_process.readAllStandardOutput();
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_pending.left(end));
        m_pending.remove(0, end + 1);
    }
}

QStringList WorkerRun::lines()
{
    collect();
    return m_lines;
}

QString WorkerRun::lastLine()
{
    collect();
    return m_lines.isEmpty() ? QString() : m_lines.last();
}

int WorkerRun::lastPercent()
{
    collect();
    for (auto it = m_lines.crbegin(); it != m_lines.crend(); ++it) {
        if (it->startsWith("PROGRESS "))
            return it->section(' ', 1, 1).toInt();
    }
    return -1;
}
