#include "TransferConversionStep.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include "TransferPrompts.h"
#include "VideoFileTranscoder.h"

namespace {
// How long the end of the program waits for the engine to confirm a cancel.
constexpr int CancelWaitMs = 30000;
} // namespace

TransferConversionStep::TransferConversionStep(const std::atomic<bool>& cancelled,
                                               VideoFileTranscoder& transcoder,
                                               TransferPrompts& prompts, const QStringList& sources,
                                               QObject* parent)
    : TransferStep(cancelled, parent), m_transcoder(transcoder), m_prompts(prompts),
      m_sources(sources)
{
}

void TransferConversionStep::start()
{
    // After a failure or a cancel, what converted then is not converted again.
    m_conversions = m_transcoder.prepareRetry();
    if (m_conversions == 0 || cancelled()) {
        QTimer::singleShot(0, this, [this] { finish(!cancelled()); });
        return;
    }
    connect(&m_transcoder, &VideoFileTranscoder::transcoderProgress, this,
            &TransferConversionStep::progress);
    connect(&m_transcoder, &VideoFileTranscoder::transcoderDone, this,
            &TransferConversionStep::converted);
    connect(&m_transcoder, &VideoFileTranscoder::transcoderFatalError, this,
            &TransferConversionStep::onFatalError);
    connect(&m_transcoder, &VideoFileTranscoder::transcoderAllFinished, this,
            [this] { finish(!cancelled()); });
    connect(&m_transcoder, &VideoFileTranscoder::transcoderCancel, this, [this] { finish(false); });
    m_transcoder.startNextTranscodeSession();
}

void TransferConversionStep::cancel()
{
    if (!isFinished() && m_conversions > 0)
        m_transcoder.cancelTranscodeSlot();
}

void TransferConversionStep::wait()
{
    if (isFinished())
        return;
    QEventLoop loop;
    connect(this, &TransferStep::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(CancelWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
    finish(false);
}

int TransferConversionStep::rowOf(const QString& source) const
{
    const QString absolute = QFileInfo(source).absoluteFilePath();
    for (int row = 0; row < m_sources.size(); ++row) {
        if (m_sources[row].compare(source, Qt::CaseInsensitive) == 0 ||
            QFileInfo(m_sources[row]).absoluteFilePath() == absolute)
            return row;
    }
    return -1;
}

void TransferConversionStep::onFatalError(int error, const QString& source)
{
    FileOutcome outcome;
    outcome.index = rowOf(source);
    outcome.source = outcome.index >= 0 ? m_sources[outcome.index] : source;
    outcome.state = FileOutcome::Failed;
    outcome.code = error;
    outcome.conversionFailed = true;
    outcome.reason = QCoreApplication::translate("TransferWizardController",
                                                 "the file could not be converted (error %1)")
                         .arg(error);
    m_failed.insert(outcome.index, outcome);
    emit fileEnded(outcome);
    if (cancelled() || m_asking || isFinished())
        return;
    m_asking = true;
    const bool goOn =
        m_prompts.continueAfterConversionError(error, source, m_transcoder.pendingCount() > 0);
    m_asking = false;
    // A cancel that came while the question was open is answered by the converter's cancel.
    if (cancelled() || isFinished())
        return;
    if (goOn) {
        m_transcoder.startNextTranscodeSession();
        return;
    }
    m_stopped = true;
    finish(false);
}
