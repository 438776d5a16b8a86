#pragma once

#include <QObject>
#include <QStringList>
#include <atomic>
#include <thread>

#include "AnalysisResults.h"
#include "KvpmEvent.h"

class VideoFileTranscoder;

// The analysis of the files the user adds, before any transfer: each file is examined for the
// profile on a thread of this object's own, and the converter keeps a prepared conversion for
// each file that needs one. One analysis at a time; the thread is joined before the next one
// starts and before this object goes.
class TransferAnalysis : public QObject
{
    Q_OBJECT

public:
    explicit TransferAnalysis(VideoFileTranscoder& transcoder, QObject* parent = nullptr);
    ~TransferAnalysis() override;

    // Analyses files for profile; converted copies go to outputFolder. False when there is
    // nothing to analyse or an analysis still runs.
    bool start(const QStringList& files, int profile, const QString& outputFolder);
    // Stops the analysis in progress (any thread); the results hold the files done so far.
    void cancel();
    // True once no analysis runs, waiting at most timeoutMs.
    bool wait(unsigned int timeoutMs);
    // The results of the last analysis; false while it runs or when it gave none.
    bool results(AnalysisResults& out);

    // Where the converted copy of source goes: the folder, the source's complete base name and
    // the profile's extension (".mkv" for the Plus HD profile, else ".kavo").
    static QString convertedFilePath(const QString& folder, const QString& source, int profile);

signals:
    // From the analysis thread.
    void analyzeItem(int index, int total);

private:
    void run(const QStringList& files, int profile, const QString& outputFolder);
    void join();

    VideoFileTranscoder& m_transcoder;
    AnalysisResults m_results;
    std::atomic<bool> m_cancel{false};
    // Set by the thread as its very last action.
    kvpm::Event m_idle{"TransferAnalysisIdle", true, true};
    std::thread m_thread;
};
