#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <string>

// Converts the analysed files one after another into the temporary folder, turning the
// engine's callbacks into Qt signals for the controller and the dialog.
class VideoFileTranscoder : public QObject
{
    Q_OBJECT

public:
    using FileTypeMap = std::map<std::string, std::string>;

    explicit VideoFileTranscoder(QObject* parent = nullptr);
    ~VideoFileTranscoder() override;

    // Starts the engine once per process and empties the queue; false without an engine.
    bool initEngine();
    bool isEngineReady() const { return m_engineReady; }

    // Number of prepared conversions.
    int queueLength() const;
    // Index of the first queued conversion whose source has this name, or -1.
    int findJob(const QString& fileName) const;
    void removeJob(const QString& fileName);
    void cancelAnalysis();

    std::string engineText() const;
    FileTypeMap engineFileTypes() const;

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

    bool m_engineReady = false;
    int m_state = Idle;
    int m_nextJob = 0;
};
