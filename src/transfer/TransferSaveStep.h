#pragma once

#include <QList>
#include <QMutex>
#include <QString>
#include <thread>

#include "TransferDestination.h"
#include "TransferStep.h"

class KavoMediaBurner;

// The write step of a transfer: copies the files to a USB drive or burns them to a disc, on a
// thread of its own that it joins before it says finished. A step in which a file could not
// be written ends not ok; a file written (and, on a disc, verified) before a late cancel has
// arrived all the same.
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
    };

    TransferSaveStep(const std::atomic<bool>& cancelled, KavoMediaBurner& burner,
                     const TransferDestination& destination, const QList<File>& files,
                     QObject* parent = nullptr);
    ~TransferSaveStep() override;

    void start() override;
    void cancel() override;
    void wait() override;
    QList<FileOutcome> outcomes() const override;
    // Bytes per second of the write, 0 when unknown or failed.
    unsigned int rate() const { return m_rate; }
    // The end text of a failed step: the first failed file and its reason; empty when none
    // failed.
    QString failureText() const;
    // Whether the destination was gone when a file could not be written.
    bool driveLost() const { return m_driveLost; }

    // Rates in bytes per second from bytes and elapsed time; 0 when no time was measured.
    static unsigned int rateFromSeconds(quint64 bytes, qint64 seconds);
    static unsigned int rateFromMilliseconds(quint64 bytes, qint64 milliseconds);
    // Why a burner call failed, in words.
    static QString burnerReason(quint32 code);

private:
    void run();
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
    std::thread m_thread;
};
