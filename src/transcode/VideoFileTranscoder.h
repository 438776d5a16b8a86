#pragma once

#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "ConversionFolder.h"
#include "EngineSpeedCalibration.h"
#include "ISourceMedia.h"
#include "ITranscodeEngineInfo.h"
#include "ITranscodeSession.h"
#include "ProgressCallback.h"
#include "RefCountedPtr.h"
#include "TranscodeJob.h"

// Analyses the files the user adds against the device profile, keeps one prepared conversion
// per analysed file, and later converts them one after another into the temporary folder,
// turning the engine's callbacks into Qt signals for the controller and the dialog.
class VideoFileTranscoder : public QObject
{
    Q_OBJECT

public:
    using FileTypeMap = std::map<std::string, std::string>;
    using SourceList = std::vector<kvtl::RefCountedPtr<kvt::ISourceMedia>>;

    explicit VideoFileTranscoder(QObject* parent = nullptr);
    ~VideoFileTranscoder() override;

    // Empties the queue, removes this run's converted files and, once per object, starts the
    // engine; false without an engine.
    bool initEngine();
    // The folder this object's conversions go to, made under base on the first call (what
    // ended runs left there is removed then). It goes, with every converted file in it, when
    // this object does.
    QString useConversionFolder(const QString& base) { return m_folder.open(base); }
    bool isEngineReady() const { return m_engineReady; }

    // Analyses one file for profile and queues its conversion to outputPath. The caller sets
    // needsConversion to true; the engine may clear it. Returns 0 or an engine code; 2 before
    // the engine is ready, or when cancelAnalysis stopped it.
    int analyzeFile(const QString& sourcePath, const QString& outputPath, int profile,
                    SourceList& sources, quint32& estimatedTime, quint64& estimatedSize,
                    bool& needsConversion);
    // The analysis of analyzeFile without the queue: job gets the prepared conversion (no
    // output path yet), or stays empty. Several may run at once, on any threads; each stops
    // on cancelAnalysis, and one started after stop turned true stops at once.
    int prepareConversion(const QString& sourcePath, int profile, SourceList& sources,
                          quint32& estimatedTime, quint64& estimatedSize, bool& needsConversion,
                          TranscodeJob& job, const std::atomic<bool>* stop = nullptr);
    // Queues job in place of any conversion queued for sourcePath.
    void queueJob(const QString& sourcePath, TranscodeJob job);
    // Stops every analysis in progress (any thread).
    void cancelAnalysis();

    // Number of prepared conversions.
    int queueLength() const;
    // Readies the queue for another run over the same files (after a failure or a cancel):
    // files whose converted output is there are not converted again (they stay in the queue,
    // passed, so their outputs are found); the others get a fresh engine session, since a
    // session converts once. Returns the number of conversions left.
    int prepareRetry();
    // Number of prepared conversions not started yet.
    int pendingCount() const;
    // Index of the first queued conversion whose source has this name (without case), or -1.
    int findJob(const QString& fileName) const;
    // Copies the queued conversion of this file; false when there is none.
    bool findJob(const QString& fileName, TranscodeJob& job) const;
    bool jobSources(const QString& fileName, SourceList& sources) const;
    void removeJob(const QString& fileName);
    // wanted, or "name (2).ext", "name (3).ext", ... so that no two queued conversions write
    // the same file. A queued conversion of sourcePath itself does not count; neither do the
    // names in reserved (given to files earlier in the same analysis).
    QString uniqueOutputPath(const QString& wanted, const QString& sourcePath,
                             const QStringList& reserved) const;

    std::string engineText() const;
    FileTypeMap engineFileTypes() const;

    // Device-profile name used in the conversion's profile ping; empty for most profiles.
    static QString profileName(int profile);

signals:
    void transcoderProgress(quint64 position, quint64 maximum, quint32 transcodeTime,
                            QString sourceFileName);
    void transcoderDone(QString sourceFileName);
    void transcoderCancel(QString sourceFileName);
    void transcoderFatalError(int err, QString sourceFileName);
    void transcoderAllFinished();

public slots:
    void progressSlot(quint32 position, quint32 maximum, QString sourceFileName);
    void doneSlot(QString sourceFileName);
    void cancelSlot(QString sourceFileName);
    void fatalErrorSlot(int err, QString sourceFileName);
    void startNextTranscodeSession();
    void cancelTranscodeSlot();

private:
    enum State
    {
        Idle = 0,
        Running = 1,
        Cancelled = 2
    };

    int reportError(int code, const char* text) const;
    // The estimate of the conversion that runs, in seconds (0 when none).
    uint32_t runningEstimate() const;
    int findJobLocked(const QString& fileName) const;
    // Takes the job at index (none for -1) out of the queue; the caller lets it go after the
    // lock, since a session's release waits for its worker to stop.
    TranscodeJob takeJobLocked(int index);
    void clearQueue();

    bool m_engineReady = false;
    int m_state = Idle;
    // Guards the queue: the analysis worker appends while the dialog looks files up.
    mutable QMutex m_queueMutex;
    std::vector<TranscodeJob> m_jobs;
    // Held for this object's lifetime; the engine keeps no reference of its own.
    kvtl::RefCountedPtr<ProgressCallback> m_callback;
    int m_nextJob = 0;
    kvtl::RefCountedPtr<kvt::ITranscodeEngineInfo> m_engineInfo;
    // Guards the analyses in progress, each with whether it was cancelled.
    QMutex m_analysisMutex;
    std::map<kvt::ITranscodeSession*, bool> m_analyses;
    ConversionFolder m_folder;
    // The running conversion's clock and the speed ratio its estimate was made with.
    QElapsedTimer m_jobClock;
    double m_jobFactor = 1.0;
    EngineSpeedCalibration m_calibration;
};
