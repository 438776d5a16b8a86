#include "TransferSession.h"

#include <QDebug>

#include "TransferConversionStep.h"
#include "TransferRecorder.h"
#include "TransferSaveStep.h"
#include "VideoFileTranscoder.h"

TransferSession::TransferSession(const Plan& plan, VideoFileTranscoder& transcoder,
                                 KavoMediaBurner& burner, TransferPrompts& prompts, QObject* parent)
    : QObject(parent), m_plan(plan), m_transcoder(transcoder), m_burner(burner), m_prompts(prompts)
{
    qRegisterMetaType<FileOutcome>();
    qRegisterMetaType<TransferResult>();
    for (int row = 0; row < m_plan.sources.size(); ++row) {
        FileOutcome outcome;
        outcome.index = row;
        outcome.source = m_plan.sources[row];
        m_result.files << outcome;
    }
}

TransferSession::~TransferSession()
{
    if (m_started)
        cancelAndWait();
}

void TransferSession::start()
{
    if (m_started)
        return;
    m_started = true;
    if (m_plan.writeAsIs) {
        onConversionFinished(true);
        return;
    }
    m_conversion = std::make_unique<TransferConversionStep>(m_cancelled, m_transcoder, m_prompts,
                                                            m_plan.sources);
    connect(m_conversion.get(), &TransferConversionStep::converted, this,
            &TransferSession::converted);
    connect(m_conversion.get(), &TransferStep::finished, this,
            &TransferSession::onConversionFinished);
    startStep(m_conversion.get(), TransferState::Transcoding);
}

void TransferSession::startStep(TransferStep* step, int state)
{
    m_current = step;
    m_state = state;
    connect(step, &TransferStep::progress, this,
            [this](quint64 p, quint64 t, quint32 s, QString n) {
                if (!m_done)
                    emit progress(p, t, s, n);
            });
    connect(step, &TransferStep::burnPhase, this, [this](int phase, quint64 c, quint64 t) {
        if (!m_done)
            emit burnPhase(phase, c, t);
    });
    connect(step, &TransferStep::fileStarted, this, [this](int index) {
        if (!m_done)
            emit fileStarted(index);
    });
    connect(step, &TransferStep::fileEnded, this, [this](FileOutcome outcome) {
        if (!m_done)
            emit fileEnded(outcome);
    });
    emit stateChanged(state);
    step->start();
}

void TransferSession::merge(const QList<FileOutcome>& outcomes)
{
    for (const FileOutcome& outcome : outcomes) {
        if (outcome.index >= 0 && outcome.index < m_result.files.size() &&
            outcome.state != FileOutcome::NotWritten)
            m_result.files[outcome.index] = outcome;
    }
}

void TransferSession::onConversionFinished(bool ok)
{
    if (m_conversion)
        merge(m_conversion->outcomes());
    if (m_cancelled)
        return conclude(TransferResult::Cancelled);
    if (!ok && m_conversion && m_conversion->stopped())
        return conclude(TransferResult::Stopped);

    QList<TransferSaveStep::File> files;
    for (int row = 0; row < m_plan.sources.size(); ++row) {
        if (m_result.files[row].conversionFailed)
            continue;
        TransferSaveStep::File file;
        file.index = row;
        file.source = m_plan.sources[row];
        file.path = file.source;
        TranscodeJob job;
        if (!m_plan.writeAsIs && m_transcoder.findJob(file.source, job))
            file.path = job.outputPath;
        files << file;
    }
    emit writeStarted(int(files.size()));
    if (files.isEmpty())
        return conclude(TransferResult::Completed);
    m_write = std::make_unique<TransferSaveStep>(m_cancelled, m_burner, m_plan.destination, files);
    connect(m_write.get(), &TransferStep::finished, this, &TransferSession::onWriteFinished);
    startStep(m_write.get(), m_plan.destination.toUSB() ? TransferState::CopyingToUSB
                                                        : TransferState::WritingDisc);
}

void TransferSession::onWriteFinished(bool)
{
    const QList<FileOutcome> written = m_write->outcomes();
    merge(written);
    m_result.rate = m_write->rate();
    m_result.failureText = m_write->failureText();
    m_driveLost = m_driveLost || m_write->driveLost();
    bool allArrived = true;
    for (const FileOutcome& outcome : written)
        allArrived = allArrived && outcome.state == FileOutcome::Arrived;
    if (m_driveLost) {
        m_result.driveLost = true;
        return conclude(TransferResult::Cancelled);
    }
    if (!m_result.failureText.isEmpty())
        return conclude(TransferResult::Failed);
    // A cancel that came after the last file was written changes nothing.
    conclude(m_cancelled && !allArrived ? TransferResult::Cancelled : TransferResult::Completed);
}

void TransferSession::conclude(TransferResult::End end)
{
    if (m_done)
        return;
    m_current = nullptr;
    m_result.end = end;
    if (end == TransferResult::Completed && m_result.count(FileOutcome::Arrived) > 0) {
        DeviceState device = m_plan.device;
        device.lastDriveName = m_plan.destination.root.toStdString();
        if (m_result.rate != 0)
            device.dataRate = m_result.rate;
        QStringList written;
        for (const FileOutcome& outcome : m_result.files) {
            if (outcome.state == FileOutcome::Arrived)
                written << outcome.source;
        }
        TransferRecorder::record(device, !m_plan.destination.toUSB(), m_plan.profile, written);
    }
    m_done = true;
    m_state = end == TransferResult::Completed ? TransferState::Finished : TransferState::Stopped;
    qDebug().noquote().nospace() << "TransferSession: ended " << int(end) << ", "
                                 << m_result.count(FileOutcome::Arrived) << " of "
                                 << m_result.files.size() << " files arrived";
    emit stateChanged(m_state);
    emit finished(m_result);
}

void TransferSession::cancel()
{
    if (m_done)
        return;
    m_cancelled = true;
    if (!m_started) {
        m_started = true;
        conclude(TransferResult::Cancelled);
        return;
    }
    if (m_current)
        m_current->cancel();
}

void TransferSession::destinationLost()
{
    if (m_done)
        return;
    m_driveLost = true;
    cancel();
}

void TransferSession::cancelAndWait()
{
    cancel();
    // A step's end starts no other step once cancelled; each wait emits its finished.
    while (!m_done && m_current) {
        TransferStep* step = m_current;
        step->wait();
        if (m_current == step && !m_done)
            break;
    }
    if (!m_done)
        conclude(TransferResult::Cancelled);
}
