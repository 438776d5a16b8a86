#include "WizardTransferPage.h"

#include <QFileInfo>
#include <QLabel>
#include <QList>

#include "DestinationDrives.h"
#include "FileInfoModel.h"
#include "FinishPageDrive.h"
#include "LabelElider.h"
#include "TransferTimeEstimate.h"
#include "TransferWizardServericeInterface.h"
#include "UiLogging.h"
#include "WizardChoices.h"
#include "WizardMessages.h"
#include "WriteRateStore.h"
#include "ui_TransferWizardDlg.h"

namespace {

// The page's texts are the wizard dialog's.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(TransferWizardDlg)
};

} // namespace

WizardTransferPage::WizardTransferPage(QWidget* parent) : QWidget(parent) {}

void WizardTransferPage::attach(Ui::TransferWizardDlg* form,
                                TransferWizardServericeInterface* service, FileInfoModel* model,
                                const DestinationDrives* drives, const WizardChoices* choices)
{
    ui = form;
    m_service = service;
    m_model = model;
    m_drives = drives;
    m_choices = choices;
    m_designStateText = ui->transcode_writeLabel->text();
    m_designTimeLeftText = ui->transferTimeLeftLabel->text();
    ui->fileProgressTableView->showFileList(model);
    ui->fileTransferProgressBar->setRange(0, 100);
    QFont subFont = ui->destinationSubTextLabel->font();
    subFont.setPointSizeF(subFont.pointSizeF() - 1);
    ui->destinationSubTextLabel->setFont(subFont);
    setBarStyle(false);
}

void WizardTransferPage::reset()
{
    m_ended = true;
    m_totalCount = 0;
    m_currentCount = 0;
    m_lastProgressFileName.clear();
    ui->fileTransferProgressBar->setValue(0);
    // A second transfer must not start under the last one's final state and times.
    ui->transcode_writeLabel->setText(m_designStateText);
    ui->transferTimeLeftLabel->setText(m_designTimeLeftText);
    ui->progressPercentText->setText(QStringLiteral("0"));
    setBarStyle(false);
}

int WizardTransferPage::method() const
{
    return m_choices->method;
}

void WizardTransferPage::setup(const USBDriveData* drive, const QString& driveText,
                               const QString& driveSubText)
{
    m_transferClock.start();
    m_model->setProgressMode(true);
    ui->timeEstimateTitle->setText(Texts::tr("Estimated remaining time:"));
    ui->fileTransferProgressBar->setValue(0);
    LabelElider::setText(ui->destinationTextLabel, driveText);
    ui->progressPercentText->setText(QStringLiteral("0"));
    LabelElider::setText(ui->destinationSubTextLabel, driveSubText);
    m_destinationRoot = drive ? QString::fromStdU16String(drive->root) : QString();
    m_destinationName = drive ? QString::fromStdU16String(drive->displayName) : QString();
    m_overall = 0;
    m_writeClock.invalidate();
    m_converting = false;
    m_writesStarted = 0;
    m_conversionPercent = 0;
    m_writePercent = 0;
    m_conversionEndMs = -1;
    m_copyClock.invalidate();
    m_writeBusyMs = 0;
    m_writeSpeed.reset();
    m_remaining.reset();
    m_verifyShare = method() == 0 ? WriteRateStore::verifyShare(m_destinationRoot) : 0;
    m_verifyStartMs = -1;
    m_rateKnown = WriteRateStore::rate(m_destinationRoot) != 0;
    showOverall(0);
    startTransfer(drive);
}

void WizardTransferPage::startTransfer(const USBDriveData* drive)
{
    QStringList sources;
    for (int row = 0; row < m_model->rowCount(); ++row)
        sources << m_model->sourcePath(row);
    m_totalCount = 0;
    m_currentCount = 0;
    if (sources.isEmpty())
        return;
    if (!drive || !m_service) {
        // The drive went away before the transfer could start: nothing can be written.
        endTransfer(Texts::tr("Transfer failed. The destination drive is no longer available."),
                    true);
        return;
    }
    m_ended = false;
    const int conversions =
        m_service->startTransfer(sources, *drive, method() == 1, m_choices->start.burnOnly);
    if (conversions < 0) {
        // Nothing is being written: say so instead of waiting for progress that never comes.
        endTransfer(Texts::tr("Transfer failed"), true);
        return;
    }
    m_totalCount = conversions;
    m_converting = conversions > 0;
}

void WizardTransferPage::updateProgress(quint64 bytePos, quint64 totalBytes,
                                        quint32 estimatedTranscodeTime, const QString& fileName)
{
    // A report that was on its way when the transfer ended changes nothing: the end state
    // (no time to go, the figures where the work stopped) stays.
    if (m_ended)
        return;
    // A disc is written and then read back: the write is its share of the step's time.
    if (fileName.isEmpty() && method() == 0) {
        bytePos *= 1000;
        totalBytes *= 1000 + verifyThousandths();
    }
    showProgress(bytePos, totalBytes, estimatedTranscodeTime, fileName);
}

quint64 WizardTransferPage::verifyThousandths() const
{
    return quint64(qRound(m_verifyShare * 1000.0));
}

void WizardTransferPage::burnPhaseProgress(int phase, quint64 current, quint64 total)
{
    constexpr int kVerifyPhase = 6;
    if (phase != kVerifyPhase || total == 0 || m_ended)
        return;
    if (!m_verifying) {
        m_verifying = true;
        m_verifyStartMs = progressNow().writeMs;
        ui->transcode_writeLabel->setText(Texts::tr("Verifying disc"));
    }
    const quint64 share = verifyThousandths();
    showProgress(1000 * total + qMin(current, total) * share, (1000 + share) * total, 0, QString());
}

void WizardTransferPage::showProgress(quint64 bytePos, quint64 totalBytes,
                                      quint32 estimatedTranscodeTime, const QString& fileName)
{
    // Conversion reports the source it works on; writing reports no name.
    const bool writing = fileName.isEmpty();
    if (!writing && fileName != m_lastProgressFileName) {
        m_lastProgressFileName = fileName;
        ui->fileTransferProgressBar->setValue(0);
        const int row = m_model->setStatusByName(fileName, FileInfoModel::InProgress);
        ++m_currentCount;
        // Counted as the list shows them: the video's place among all listed videos.
        ui->transcode_writeLabel->setText(Texts::tr("Converting video %1 of %2")
                                              .arg(row >= 0 ? row + 1 : m_currentCount)
                                              .arg(m_model->rowCount()));
        // The analysis gave every file its estimate by one measure; a file without one takes
        // the converter's.
        QString name;
        int conversion = 0;
        int write = 0;
        int status = 0;
        if (m_model->rowValues(row, name, conversion, write, status) && conversion <= 0)
            m_model->setEstimateByName(fileName, int(estimatedTranscodeTime), false);
    }
    const quint64 percent = totalBytes ? qMin<quint64>(bytePos * 100 / totalBytes, 100) : 0;
    const double fraction = totalBytes ? double(bytePos) * 100.0 / double(totalBytes) : 1.0;
    if (writing) {
        m_writePercent = fraction;
        // A file written to its end: the write waits (or ends) until the next one starts.
        if (totalBytes > 0 && bytePos >= totalBytes && m_copyClock.isValid() && method() == 1) {
            m_writeBusyMs += m_copyClock.elapsed();
            m_copyClock.invalidate();
        }
    } else {
        m_conversionPercent = fraction;
    }
    TransferTimeEstimate::Progress progress = progressNow();
    if (writing)
        m_writeSpeed.add(progress.writeMs,
                         TransferTimeEstimate::split(*m_model, progress).writeDone);
    progress.recentWriteSpeed = m_writeSpeed.speed();
    const qint64 now = m_transferClock.isValid() ? m_transferClock.elapsed() : 0;
    const qint64 left = m_remaining.next(
        TransferTimeEstimate::remainingSeconds(*m_model, progress, method() == 1), now);

    // While videos convert, their figures are on view; a copy beside them shows in the rows,
    // the whole transfer's share and the time left.
    if (!writing || !m_converting) {
        const int bar = TransferTimeEstimate::barValue(int(percent), writing && method() == 0);
        if (bar >= 0)
            ui->fileTransferProgressBar->setValue(bar);
        ui->progressPercentText->setText(QString::number(percent));
    }
    // A drive never written to has only the rate it announces, which may be far off: its time
    // shows once its own write has gone for a second.
    if (writing && !m_converting && !m_rateKnown && progress.writeMs < 1000)
        ui->transferTimeLeftLabel->clear();
    else
        ui->transferTimeLeftLabel->setText(FileInfoModel::durationText(left));
    showOverall(overallPercent());
    // Once a second at most: how the shown time compares with the real one is judged from it.
    if (!m_traceClock.isValid() || m_traceClock.elapsed() >= 1000) {
        m_traceClock.start();
        qCDebug(lcUi).noquote() << "WizardTransferPage  remaining" << left << "s, step" << percent
                                << "%, whole" << m_overall << "%";
    }
}

TransferTimeEstimate::Progress WizardTransferPage::progressNow() const
{
    TransferTimeEstimate::Progress p;
    p.conversionPercent = m_conversionPercent;
    p.writePercent = m_writePercent;
    const qint64 now = m_transferClock.isValid() ? m_transferClock.elapsed() : 0;
    p.conversionMs = m_conversionEndMs >= 0 ? m_conversionEndMs : now;
    p.writeMs = m_writeBusyMs + (m_copyClock.isValid() ? m_copyClock.elapsed() : 0);
    p.writeRateMeasured = m_rateKnown;
    return p;
}

void WizardTransferPage::writeStarted(int files)
{
    setBarStyle(true);
    ui->fileTransferProgressBar->setValue(0);
    ui->progressPercentText->setText(QStringLiteral("0"));
    m_model->setBurning(method() == 0);
    ui->transcode_writeLabel->setText(method() == 0 ? Texts::tr("Burning disc")
                                                    : Texts::tr("Transferring to USB drive"));
    m_verifying = false;
    m_totalCount = files;
    // A USB copy may have taken files while the others converted.
    m_currentCount = m_writesStarted;
    m_lastProgressFileName.clear();
    m_converting = false;
    if (m_transferClock.isValid())
        m_conversionEndMs = m_transferClock.elapsed();
    // For the drive's measured rate: the bytes this write puts on it, and its clock.
    QStringList written;
    m_model->filesToWrite(written);
    m_writeBytes = 0;
    for (const QString& file : written)
        m_writeBytes += quint64(qMax<qint64>(0, QFileInfo(file).size()));
    if (!m_writeClock.isValid())
        m_writeClock.start();
    if (files < 1)
        endTransfer(Texts::tr("Transfer completed."), false);
}

void WizardTransferPage::transferFinished(bool completed, const QString& failure)
{
    if (completed) {
        fileSaveDone();
    } else if (!failure.isEmpty()) {
        saveFailed(failure);
    } else if (!m_ended) {
        // Cancelled from elsewhere (the unattended run, a signal, a lost drive): the window
        // follows the transfer.
        endUnfinished(Texts::tr("Transfer canceled."), FileInfoModel::Canceled, QString());
    }
}

void WizardTransferPage::fileSaveStarted(int index)
{
    m_model->setStatus(index, FileInfoModel::Writing);
    ++m_writesStarted;
    m_writePercent = 0;
    if (!m_writeClock.isValid())
        m_writeClock.start();
    if (!m_copyClock.isValid())
        m_copyClock.start();
    // The conversions' own count and label stay on view until they end.
    if (m_converting)
        return;
    m_currentCount = m_writesStarted;
    if (m_verifying)
        return;
    ui->transcode_writeLabel->setText(
        Texts::tr("Transferring videos %1 of %2").arg(m_currentCount).arg(m_totalCount));
}

void WizardTransferPage::fileSaveDone()
{
    // The next estimate for this drive starts from what it really did, verify included.
    if (m_writeClock.isValid()) {
        const qint64 writeMs = progressNow().writeMs;
        WriteRateStore::record(m_destinationRoot, m_writeBytes, writeMs);
        if (m_verifyStartMs >= 0)
            WriteRateStore::recordVerifyShare(m_destinationRoot, m_verifyStartMs,
                                              writeMs - m_verifyStartMs);
    }
    endTransfer(Texts::tr("Transfer completed."), false);
    ui->fileTransferProgressBar->setValue(100);
    ui->progressPercentText->setText(QStringLiteral("100"));
    m_overall = 100;
    showOverall(100);
}

void WizardTransferPage::fileSaveFailed(int index, const QString& reason)
{
    m_model->setStatus(index, FileInfoModel::WriteError);
    m_model->setReason(index,
                       destinationGone() ? removedDriveText(method(), m_destinationName) : reason);
}

void WizardTransferPage::saveFailed(const QString& message)
{
    // A drive that went away is named as such; the system's error for the file it took with it
    // ("No such file or directory") would only puzzle.
    const bool gone = destinationGone();
    const QString reason = gone ? removedDriveText(method(), m_destinationName) : message;
    const QString text =
        gone ? Texts::tr("Transfer failed") + QStringLiteral(". ") + reason : message;
    endUnfinished(text, FileInfoModel::NotCopied, reason);
    WizardMessages::warning(text);
}

bool WizardTransferPage::transcodeError(int err, const QString& sourceFileName, bool othersLeft)
{
    m_model->setStatusByName(sourceFileName, FileInfoModel::ConversionError);
    const QString endMessage =
        othersLeft ? Texts::tr("Transfer canceled.") : Texts::tr("Transfer failed");
    const bool continueWithRemaining =
        WizardMessages::continueAfterConversionError(err, sourceFileName, othersLeft);
    if (!continueWithRemaining) {
        endUnfinished(endMessage, FileInfoModel::NotCopied, endMessage);
    }
    return continueWithRemaining;
}

void WizardTransferPage::endTransfer(const QString& message, bool closes)
{
    // The transfer is over: a time still to go would be untrue, whatever the end.
    ui->transferTimeLeftLabel->clear();
    ui->transcode_writeLabel->setText(message);
    m_ended = true;
    emit ended(closes);
}

void WizardTransferPage::cancelTransferNow()
{
    if (m_service)
        m_service->cancelTransfer();
    ui->transcode_writeLabel->setText(Texts::tr("Transfer canceled"));
    endUnfinished(Texts::tr("Transfer canceled."), FileInfoModel::Canceled, QString());
}

void WizardTransferPage::destinationRemoved()
{
    if (m_service)
        m_service->cancelTransfer();
    const QString gone = removedDriveText(method(), m_destinationName);
    endUnfinished(Texts::tr("Transfer canceled.") + QLatin1Char(' ') + gone,
                  FileInfoModel::NotCopied, gone);
}

void WizardTransferPage::prepareRetry()
{
    const QStringList arrived = m_model->prepareRetry();
    if (m_service && !arrived.isEmpty())
        m_service->removeFromTranscodeQueue(arrived);
    m_ended = false;
    m_lastProgressFileName.clear();
    setBarStyle(false);
}

QString WizardTransferPage::removedDriveText(int method, const QString& driveName)
{
    if (driveName.isEmpty())
        return Texts::tr("The destination drive is no longer available.");
    return method == 0 ? Texts::tr("The disc drive %1 is no longer available.").arg(driveName)
                       : Texts::tr("The USB drive %1 is no longer available.").arg(driveName);
}

void WizardTransferPage::endUnfinished(const QString& message, int status, const QString& reason)
{
    m_model->endUnfinished(status, reason);
    endTransfer(message, true);
    // A way back that keeps the list, the device, the destination and the converted files.
    if (m_service && m_model->rowCount() > 0)
        emit retryOffered();
    // What stopped is not done: the figures keep the share that was done.
    const int overall = qMin(overallPercent(), 99);
    ui->progressPercentText->setText(QString::number(overall));
    if (ui->fileTransferProgressBar->value() >= 100)
        ui->fileTransferProgressBar->setValue(overall);
    showOverall(overall);
}

int WizardTransferPage::overallPercent()
{
    const TransferTimeEstimate::Split split =
        TransferTimeEstimate::split(*m_model, m_conversionPercent, m_writePercent);
    const double total = split.done + split.left;
    const int percent = total > 0 ? int(split.done * 100.0 / total) : 0;
    m_overall = qBound(m_overall, percent, 100);
    return m_overall;
}

void WizardTransferPage::showOverall(int percent)
{
    auto* label = findChild<QLabel*>(QStringLiteral("overallPercentText"));
    if (!label) {
        // Beside the figure of the step that runs: the figure of the whole job.
        label = new QLabel(this);
        label->setObjectName(QStringLiteral("overallPercentText"));
        label->setContentsMargins(16, 0, 0, 0);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        ui->percentLayout->insertWidget(2, label);
    }
    label->setText(Texts::tr("Whole transfer: %1 %").arg(percent));
}

bool WizardTransferPage::destinationGone() const
{
    if (m_destinationRoot.isEmpty())
        return false;
    if (!QFileInfo::exists(m_destinationRoot))
        return true;
    if (method() != 1)
        return false;
    // A USB drive that was unmounted may leave its empty mount point behind.
    for (const USBDriveData& drive : m_drives->usbDrives()) {
        if (QString::fromStdU16String(drive.root) == m_destinationRoot)
            return false;
    }
    return true;
}

void WizardTransferPage::setBarStyle(bool writing)
{
    const QString image = writing ? QStringLiteral(":/DeviceTransferWizard/progress-transfer.png")
                                  : QStringLiteral(":/DeviceTransferWizard/progress-encoding.png");
    ui->fileTransferProgressBar->setStyleSheet(
        QStringLiteral("QProgressBar { border: 2px solid grey; border-radius: 5px; "
                       "background-color: rgb(59, 59, 59); }\n"
                       "QProgressBar::chunk { border-image: url(%1) 7 7 6 7 stretch stretch; "
                       "border-width: 7px 7px 6px 7px; }")
            .arg(image));
}
