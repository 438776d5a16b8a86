#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <atomic>

#include "TransferOutcome.h"

// One stage of a transfer (conversion, copy or burn, record), in the manner of a job: started
// once on the session's thread, cancelled through the session's one flag, reporting progress and
// what became of each file, and ending with finished exactly once, after every thread and
// process it started has ended. A step never shows anything to the user.
class TransferStep : public QObject
{
    Q_OBJECT

public:
    explicit TransferStep(const std::atomic<bool>& cancelled, QObject* parent = nullptr)
        : QObject(parent), m_cancelled(cancelled)
    {
    }

    virtual void start() = 0;
    // Asks the work in progress to stop soon (the flag is already set); finished follows.
    virtual void cancel() {}
    // Blocks until the step's threads and processes have ended, then emits finished if it has
    // not been emitted yet. For the end of the program: a window closed or a signal.
    virtual void wait() = 0;
    bool isFinished() const { return m_finished; }
    // The files the step has dealt with, final once finished was emitted.
    virtual QList<FileOutcome> outcomes() const { return {}; }

signals:
    // name: the source being converted; empty while writing.
    void progress(quint64 position, quint64 total, quint32 seconds, QString name);
    // A disc write's own steps, the storage library's phases (6: the read-back), each with
    // its own count.
    void burnPhase(int phase, quint64 current, quint64 total);
    void fileStarted(int index);
    void fileEnded(FileOutcome outcome);
    void finished(bool ok);

protected:
    bool cancelled() const { return m_cancelled.load(); }
    // Emits finished once; later calls do nothing.
    void finish(bool ok)
    {
        if (m_finished)
            return;
        m_finished = true;
        emit finished(ok);
    }

private:
    const std::atomic<bool>& m_cancelled;
    bool m_finished = false;
};
