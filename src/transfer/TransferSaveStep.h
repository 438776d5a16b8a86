#pragma once

#include <QList>
#include <QMutex>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "TransferDestination.h"
#include "TransferStep.h"

class KavoMediaBurner;

// The write step of a transfer: copies the files to a USB drive or burns them to a disc, on a
// thread of its own that it joins before it says finished. A step in which a file could not
// be written ends not ok; a file written (and, on a disc, verified) before a late cancel has
// arrived all the same. A USB copy may start before every file is there: files still being
// converted wait until they are released (complete and closed) or dropped, and the copy takes
// the first file in the list's order that is ready.
class TransferSaveStep : public TransferStep
{
    Q_OBJECT

public:
    struct File
    {
        int index = 0;
        // What the user chose, and what is written: the same, or the converted copy.
        QString source;
        QString path;
        // False: the converted copy is still being made; release() or closeFeed() tells.
        bool ready = true;
    };

    TransferSaveStep(const std::atomic<bool>& cancelled, KavoMediaBurner& burner,
                     const TransferDestination& destination, const QList<File>& files,
                     QObject* parent = nullptr);
    ~TransferSaveStep() override;

    void start() override;
    void cancel() override;
    void wait() override;
    QList<FileOutcome> outcomes() const override;
    // The file of row index is complete (ok) or will never be (its conversion failed): the
    // copy takes it or leaves it. Any thread.
    void release(int index, bool ok);
    // No file is released any more: those still waiting are left unwritten.
    void closeFeed();
    // Stops the write without the transfer's cancel (the user stopped after a conversion
    // error): the file being copied is given up, the others are left.
    void halt();

    // Bytes per second of the write, 0 when unknown or failed.
    unsigned int rate() const { return m_rate; }
    // The end text of a failed step: the first failed file and its reason; empty when none
    // failed.
    QString failureText() const;
    // Whether the destination was gone when a file could not be written.
    bool driveLost() const { return m_driveLost; }
    // Whether the copy gave up the files left after one the drive refused (full, read-only).
    bool endedEarly() const { return m_endedEarly; }

    // Rates in bytes per second from bytes and elapsed time; 0 when no time was measured.
    static unsigned int rateFromNanoseconds(quint64 bytes, qint64 nanoseconds);
    // Why a burner call failed, in words.
    static QString burnerReason(quint32 code);

private:
    enum class Feed
    {
        Waiting,
        Ready,
        Dropped,
        Taken
    };

    void run();
    // The next file to copy, in the list's order among those ready; waits while files are
    // still being made. -1 when none is left, or on cancel or halt.
    int takeNext();
    bool stopping() const { return cancelled() || m_halted.load(); }
    unsigned int copyFilesToUSB();
    unsigned int writeVideoFileToBurner();
    void setOutcome(int row, FileOutcome::State state, const QString& detail, int code = 0);
    void failFile(int row, const QString& reason, int code = 0);
    void join();

    KavoMediaBurner& m_burner;
    const TransferDestination m_destination;
    const QList<File> m_files;
    mutable QMutex m_mutex;
    QList<FileOutcome> m_outcomes;
    unsigned int m_rate = 0;
    bool m_driveLost = false;
    bool m_endedEarly = false;
    std::atomic<bool> m_halted{false};
    std::mutex m_feedMutex;
    std::condition_variable m_feedChanged;
    std::vector<Feed> m_feed;
    bool m_feedOpen = true;
    std::thread m_thread;
};
