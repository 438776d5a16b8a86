#include "TransferSession.h"

#include <QDebug>
#include <QFileInfo>

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
    if (m_plan.writeAsIs)
        return startWrite(false);
    m_conversion = std::make_unique<TransferConversionStep>(m_cancelled, m_transcoder, m_prompts,
                                                            m_plan.sources);
    TransferConversionStep* conversion = m_conversion.get();
    connect(conversion, &TransferConversionStep::converted, this, &TransferSession::converted);
    // The converter has closed the file before it says so: the copy may take it now.
    connect(conversion, &TransferConversionStep::converted, this, [this](const QString& source) {
        if (m_write)
            m_write->release(m_conversion->rowOf(source), true);
    });
    connect(conversion, &TransferStep::fileEnded, this, [this](const FileOutcome& outcome) {
        if (m_write && outcome.conversionFailed)
            m_write->release(outcome.index, false);
    });
    connect(conversion, &TransferStep::finished, this, &TransferSession::onConversionFinished);
    forward(conversion);
    m_state = TransferState::Transcoding;
    emit stateChanged(m_state);
    conversion->start();
    if (m_plan.destination.toUSB() && conversion->conversions() > 0 && !m_cancelled)
        startWrite(true);
}

void TransferSession::forward(TransferStep* step)
{
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
}

void TransferSession::merge(const QList<FileOutcome>& outcomes)
{
    for (const FileOutcome& outcome : outcomes) {
        if (outcome.index >= 0 && outcome.index < m_result.files.size() &&
            outcome.state != FileOutcome::NotWritten)
            m_result.files[outcome.index] = outcome;
    }
}

void TransferSession::startWrite(bool ahead)
{
    QList<TransferSaveStep::File> files;
    for (int row = 0; row < m_plan.sources.size(); ++row) {
        if (m_result.files[row].conversionFailed)
            continue;
        TransferSaveStep::File file;
        file.index = row;
        file.source = m_plan.sources[row];
        file.path = file.source;
        TranscodeJob job;
        if (!m_plan.writeAsIs && m_transcoder.findJob(file.source, job)) {
            file.path = job.outputPath;
            // Converted in an earlier run, or still to be converted in this one.
            file.ready = !ahead || QFileInfo::exists(job.outputPath);
        }
        files << file;
    }
    if (!ahead) {
        emit writeStarted(int(files.size()));
        if (files.isEmpty())
            return conclude(TransferResult::Completed);
    }
    m_write = std::make_unique<TransferSaveStep>(m_cancelled, m_burner, m_plan.destination, files);
    connect(m_write.get(), &TransferStep::finished, this, &TransferSession::onWriteFinished);
    forward(m_write.get());
    if (!ahead) {
        m_state =
            m_plan.destination.toUSB() ? TransferState::CopyingToUSB : TransferState::WritingDisc;
        emit stateChanged(m_state);
    }
    m_write->start();
}

void TransferSession::onConversionFinished(bool ok)
{
    merge(m_conversion->outcomes());
    const bool stopped = !ok && m_conversion->stopped();
    if (!m_write) {
        if (m_cancelled)
            return conclude(TransferResult::Cancelled);
        if (stopped)
            return conclude(TransferResult::Stopped);
        return startWrite(false);
    }
    // The copy runs already: it ends with what is there, or stops with the user.
    if (stopped) {
        m_write->halt();
    } else if (ok) {
        m_write->closeFeed();
        int files = 0;
        for (const FileOutcome& outcome : m_write->outcomes())
            files += m_result.files[outcome.index].conversionFailed ? 0 : 1;
        emit writeStarted(files);
        m_state = TransferState::CopyingToUSB;
        emit stateChanged(m_state);
    }
    settle();
}

void TransferSession::onWriteFinished()
{
    // A copy that ended for good (the drive full, read-only or gone) while files were still
    // converting: what converts now could not be written.
    if (m_conversion && !m_conversion->isFinished()) {
        if (!m_cancelled && (m_write->endedEarly() || m_write->driveLost()))
            m_conversion->cancel();
        return;
    }
    settle();
}

void TransferSession::settle()
{
    if ((m_conversion && !m_conversion->isFinished()) || (m_write && !m_write->isFinished()))
        return;
    const bool stopped = m_conversion && m_conversion->stopped();
    if (!m_write) {
        if (m_cancelled)
            return conclude(TransferResult::Cancelled);
        return conclude(stopped ? TransferResult::Stopped : TransferResult::Completed);
    }
    const QList<FileOutcome> written = m_write->outcomes();
    merge(written);
    m_result.rate = m_write->rate();
    m_result.failureText = m_write->failureText();
    m_driveLost = m_driveLost || m_write->driveLost();
    bool allArrived = true;
    for (const FileOutcome& outcome : written) {
        if (!m_result.files[outcome.index].conversionFailed)
            allArrived = allArrived && outcome.state == FileOutcome::Arrived;
    }
    if (m_driveLost) {
        m_result.driveLost = true;
        return conclude(TransferResult::Cancelled);
    }
    if (!m_result.failureText.isEmpty())
        return conclude(TransferResult::Failed);
    if (stopped)
        return conclude(TransferResult::Stopped);
    // A cancel that came after the last file was written changes nothing.
    conclude(m_cancelled && !allArrived ? TransferResult::Cancelled : TransferResult::Completed);
}

void TransferSession::conclude(TransferResult::End end)
{
    if (m_done)
        return;
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
    for (TransferStep* step : {static_cast<TransferStep*>(m_conversion.get()),
                               static_cast<TransferStep*>(m_write.get())}) {
        if (step && !step->isFinished())
            step->cancel();
    }
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
    for (TransferStep* step : {static_cast<TransferStep*>(m_conversion.get()),
                               static_cast<TransferStep*>(m_write.get())}) {
        if (step && !step->isFinished())
            step->wait();
    }
    if (!m_done)
        conclude(TransferResult::Cancelled);
}
