#include "VideoFileTranscoder.h"

#include <QDebug>

// The engine is not attached yet: the queue stays empty, so every run goes straight to the
// write step with the files as they are.

VideoFileTranscoder::VideoFileTranscoder(QObject* parent) : QObject(parent) {}

VideoFileTranscoder::~VideoFileTranscoder() = default;

bool VideoFileTranscoder::initEngine()
{
    m_nextJob = 0;
    m_state = Idle;
    return m_engineReady;
}

int VideoFileTranscoder::queueLength() const
{
    return 0;
}

int VideoFileTranscoder::findJob(const QString& /*fileName*/) const
{
    return -1;
}

void VideoFileTranscoder::removeJob(const QString& /*fileName*/) {}

void VideoFileTranscoder::cancelAnalysis() {}

std::string VideoFileTranscoder::engineText() const
{
    return {};
}

VideoFileTranscoder::FileTypeMap VideoFileTranscoder::engineFileTypes() const
{
    return {};
}

void VideoFileTranscoder::progressSlot(quint32 position, quint32 maximum, QString sourceFileName)
{
    if (m_state == Cancelled) {
        qDebug().noquote().nospace()
            << "VideoFileTranscoder::progressSlot canceled, no transcoderProgress()";
        return;
    }
    emit transcoderProgress(position, maximum, 1, sourceFileName);
}

void VideoFileTranscoder::doneSlot(QString sourceFileName)
{
    qDebug().noquote().nospace() << "VideoFileTranscoder::doneSlot";
    if (m_state == Cancelled)
        return;
    emit transcoderDone(sourceFileName);
    startNextTranscodeSession();
}

void VideoFileTranscoder::cancelSlot(QString sourceFileName)
{
    qDebug().noquote().nospace() << "VideoFileTranscoder::cancelSlot";
    emit transcoderCancel(sourceFileName);
}

void VideoFileTranscoder::fatalErrorSlot(int err, QString sourceFileName)
{
    qDebug().noquote().nospace() << "VideoFileTranscoder:fatalErrorSlot. file: " << sourceFileName
                                 << " error code: " << err;
    if (m_state == Cancelled)
        return;
    emit transcoderFatalError(err, sourceFileName);
}

void VideoFileTranscoder::startNextTranscodeSession()
{
    if (m_nextJob >= queueLength()) {
        emit transcoderAllFinished();
        return;
    }
    ++m_nextJob;
    m_state = Running;
}

void VideoFileTranscoder::cancelTranscodeSlot()
{
    qDebug().noquote().nospace() << "VideoFileTranscoder:cancelTranscodeSlot";
    m_state = Cancelled;
}
