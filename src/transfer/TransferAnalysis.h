#pragma once

#include <QObject>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "AnalysisResults.h"
#include "KvpmEvent.h"

class VideoFileTranscoder;

// The analysis of the files the user adds, before any transfer: each file is examined for the
// profile, and the converter keeps a prepared conversion for each file that needs one. Files are
// examined by several workers at once, as many as there are cores; a thread of this object's
// own takes their findings in the list's order, so results, output names, the queue and the
// progress come out as one file after the other would give them. One analysis at a time; its
// threads are joined before the next one starts and before this object goes.
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
    // How many files are examined at once; 0 (the default) for one per core.
    void setWorkers(int workers) { m_workers = workers; }
    // True once no analysis runs, waiting at most timeoutMs.
    bool wait(unsigned int timeoutMs);
    // The results of the last analysis; false while it runs or when it gave none.
    bool results(AnalysisResults& out);

    // Where the converted copy of source goes: the folder, the source's complete base name and
    // the profile's extension (".mkv" for the Plus HD profile, else ".kavo").
    static QString convertedFilePath(const QString& folder, const QString& source, int profile);

signals:
    // From the analysis thread, in the list's order, before the file's findings are taken.
    void analyzeItem(int index, int total);

private:
    struct Finding;

    void run(const QStringList& files, int profile, const QString& outputFolder);
    void examine(const QString& file, int profile, Finding& finding);
    void join();

    VideoFileTranscoder& m_transcoder;
    AnalysisResults m_results;
    std::atomic<bool> m_cancel{false};
    int m_workers = 0;
    // A worker's finding is ready, or a cancel came.
    std::mutex m_mutex;
    std::condition_variable m_ready;
    // Set by the thread as its very last action.
    kvpm::Event m_idle{"TransferAnalysisIdle", true, true};
    std::thread m_thread;
};
