#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

// Runs the built KavoEngine worker and keeps what it printed.
class WorkerRun
{
public:
    static QString enginePath();
    // Writes an executable shell script named KavoEngine into dir, a worker that misbehaves as
    // the script says; its path.
    static QString writeFake(const QString& dir, const QByteArray& scriptBody);

    // Starts the worker with the arguments; childSetup runs in the child
    // between fork and exec (resource limits for the full-disk case).
    void start(const QStringList& arguments, std::function<void()> childSetup = {});
    // Waits for the end; false when it did not finish in time (a hang).
    bool wait(int timeoutMs = 60000);
    // start() then wait().
    bool run(const QStringList& arguments, int timeoutMs = 60000);

    QProcess& process() { return m_process; }
    // Lines printed so far (reads what is available).
    QStringList lines();
    QString lastLine();
    // Highest PROGRESS percentage seen so far, -1 before any.
    int lastPercent();
    int exitCode() const { return m_process.exitCode(); }
    bool crashed() const { return m_process.exitStatus() == QProcess::CrashExit; }
    QString standardError() const { return m_stderr; }

private:
    void collect();

    QProcess m_process;
    QStringList m_lines;
    QByteArray m_pending;
    QString m_stderr;
};
