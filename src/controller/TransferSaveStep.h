#pragma once

#include <QFileInfo>
#include <QList>
#include <QMutex>
#include <QString>
#include <string>

class TransferWizardController;

// The write step of a transfer, run by the save worker: copies the finished files to a USB
// drive or writes them to a disc through the burner, reports each file through the
// controller's signals and keeps what became of every file. A step in which a file could not
// be written ends as a failed transfer: nothing is recorded as done.
class TransferSaveStep
{
public:
    struct FileOutcome
    {
        enum State
        {
            Arrived,
            Failed,
            Cancelled,
            // Not tried: missing, or after the step had already stopped.
            NotWritten
        };
        int index = 0;
        QString source;
        State state = NotWritten;
        // Arrived: where the file is now. Failed: why not.
        QString destination;
        QString reason;
    };

    explicit TransferSaveStep(TransferWizardController& controller) : m_controller(controller) {}

    // The save worker's job: writes, then ends the step (recorded, failed or cancelled).
    void run(const QList<QFileInfo>& files, const std::u16string& drive, bool toUSB);

    // Both return the rate achieved in bytes per second, 0 when unknown or failed.
    unsigned int copyFilesToUSB(const QList<QFileInfo>& files, const std::u16string& drive);
    unsigned int writeVideoFileToBurner(const QList<QFileInfo>& files, const std::u16string& drive);

    // The files of the last step, in the order they were handed over.
    QList<FileOutcome> outcomes() const;
    // The end text of a failed step: the first failed file and its reason; empty when none
    // failed.
    QString failureText() const;

    // Rates in bytes per second from bytes and elapsed time; 0 when no time was measured.
    static unsigned int rateFromSeconds(quint64 bytes, qint64 seconds);
    static unsigned int rateFromMilliseconds(quint64 bytes, qint64 milliseconds);
    // Why a burner call failed, in words.
    static QString burnerReason(quint32 code);

private:
    void begin(const QList<QFileInfo>& files);
    void setOutcome(int index, FileOutcome::State state, const QString& detail);
    void failFile(int index, const QString& reason);
    // File-system code of the drive as the drive list gives it, 0 when not listed.
    unsigned int driveFileSystem(const std::u16string& drive) const;

    TransferWizardController& m_controller;
    mutable QMutex m_mutex;
    QList<FileOutcome> m_outcomes;
};
