#pragma once

#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>

#include "DeviceState.h"
#include "TransferDestination.h"
#include "TransferOutcome.h"
#include "TransferState.h"

class KavoMediaBurner;
class TransferPrompts;
class TransferStep;
class TransferConversionStep;
class TransferSaveStep;
class VideoFileTranscoder;

// One transfer from Start to its end: the device, the profile, the files and their converted
// copies, and the destination. It runs its steps by itself (conversion, then the copy or the
// burn, then the record) and says finished exactly once, after every thread and process it
// started has ended. Cancel is one flag the steps share. Lives on the GUI thread; the faces
// (the wizard window, the unattended run) observe it.
//
// A USB copy does not wait for the conversions: it starts with them and takes the files taken
// as they are at once and each converted file once it is complete, so the copy runs while the
// next file converts. Until the conversions have ended the session is in the converting state
// and its progress is the conversion's, with the copy's files and progress reported beside
// it; writeStarted still follows the conversions. A disc image is written in one go, after
// every conversion.
class TransferSession : public QObject
{
    Q_OBJECT

public:
    struct Plan
    {
        DeviceState device;
        int profile = 3;
        // The files the user chose, in their order; those with a prepared conversion in the
        // converter are converted first, the others are written as they are.
        QStringList sources;
        // Every file is written as it is (burning files only).
        bool writeAsIs = false;
        TransferDestination destination;
    };

    TransferSession(const Plan& plan, VideoFileTranscoder& transcoder, KavoMediaBurner& burner,
                    TransferPrompts& prompts, QObject* parent = nullptr);
    // Cancels and waits.
    ~TransferSession() override;

    void start();
    // Any time, any number of times; finished follows once the work has stopped.
    void cancel();
    // The destination went away: cancels, and the result says so.
    void destinationLost();
    // Cancels and blocks until every thread and process has ended; finished has been emitted
    // when it returns.
    void cancelAndWait();

    bool isRunning() const { return m_started && !m_done; }
    bool isFinished() const { return m_done; }
    // TransferState of the step running now (Idle before the start).
    int state() const { return m_state; }
    const Plan& plan() const { return m_plan; }
    // Final once finished was emitted.
    const TransferResult& result() const { return m_result; }

signals:
    // Conversion progress names the source; writing names none.
    void progress(quint64 position, quint64 total, quint32 seconds, QString name);
    // A disc write's own steps (the storage library's phases), each with its own count.
    void burnPhase(int phase, quint64 current, quint64 total);
    void converted(QString source);
    // The conversions have ended and the write goes on with this many files in all (on a USB
    // drive some may have been copied already).
    void writeStarted(int files);
    void fileStarted(int index);
    void fileEnded(FileOutcome outcome);
    void stateChanged(int state);
    void finished(TransferResult result);

private:
    // Passes a step's reports on while the session runs.
    void forward(TransferStep* step);
    // ahead: the copy starts beside the conversions and waits for each converted file.
    void startWrite(bool ahead);
    void onConversionFinished(bool ok);
    void onWriteFinished();
    // Once no step runs any more: the end, from what each step did.
    void settle();
    void conclude(TransferResult::End end);
    void merge(const QList<FileOutcome>& outcomes);

    Plan m_plan;
    VideoFileTranscoder& m_transcoder;
    KavoMediaBurner& m_burner;
    TransferPrompts& m_prompts;
    std::atomic<bool> m_cancelled{false};
    bool m_driveLost = false;
    bool m_started = false;
    bool m_done = false;
    int m_state = TransferState::Idle;
    TransferResult m_result;
    std::unique_ptr<TransferConversionStep> m_conversion;
    std::unique_ptr<TransferSaveStep> m_write;
};
