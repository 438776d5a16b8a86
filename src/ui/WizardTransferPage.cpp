#include "WizardTransferPage.h"

#include <QFileInfo>
#include <QLabel>
#include <QList>

#include "FileInfoModel.h"
#include "FinishPageDrive.h"
#include "LabelElider.h"
#include "TransferTimeEstimate.h"
#include "TransferWizardDlg.h"
#include "TransferWizardServericeInterface.h"
#include "UiLogging.h"
#include "WizardMessages.h"
#include "WriteRateStore.h"
#include "ui_TransferWizardDlg.h"

void WizardTransferPage::setup()
{
    resetBackButton();
    d.setFooterButtons(false, false, false, true);
    d.updateButtonSpacers();
    d.model.setProgressMode(true);
    d.ui->fileTransferProgressBar->setValue(0);
    LabelElider::setText(d.ui->destinationTextLabel, d.ui->driveComboBox->currentText());
    d.ui->progressPercentText->setText(QStringLiteral("0"));
    LabelElider::setText(d.ui->destinationSubTextLabel, d.ui->driveComboBox->currentSubText());
    const USBDriveData* drive = d.currentDrive();
    m_destinationRoot = drive ? QString::fromStdU16String(drive->root) : QString();
    m_destinationName = drive ? QString::fromStdU16String(drive->displayName) : QString();
    m_overall = 0;
    m_writeEndMs = -1;
    m_writeClock.invalidate();
    // The burner's progress now covers the read-back as well: nothing to add for it.
    m_verifyShare = 0.0;
    showOverall(0);
    startTransfer();
    d.updateFooterNav(0);
}

void WizardTransferPage::startTransfer()
{
    QStringList sources;
    for (int row = 0; row < d.model.rowCount(); ++row)
        sources << d.model.sourcePath(row);
    d.totalCount = 0;
    d.currentCount = 0;
    d.finishDrive->clear();
    if (sources.isEmpty())
        return;
    const USBDriveData* drive = d.currentDrive();
    if (!drive || !d.service) {
        // The drive went away before the transfer could start: nothing can be written.
        d.page = TransferWizardDlg::FinishPage;
        endTransfer(tr("Transfer failed. The destination drive is no longer available."));
        return;
    }
    d.transferEnded = false;
    const int conversions =
        d.service->startTransfer(sources, *drive, d.method == 1, d.start.burnOnly);
    if (conversions < 0) {
        // Nothing is being written: say so instead of waiting for progress that never comes.
        d.page = TransferWizardDlg::FinishPage;
        endTransfer(tr("Transfer failed"));
        return;
    }
    d.totalCount = conversions;
}

void WizardTransferPage::updateProgress(quint64 bytePos, quint64 totalBytes,
                                        quint32 estimatedTranscodeTime, const QString& fileName)
{
    // A report that was on its way when the transfer ended changes nothing: the end state
    // (no time to go, the figures where the work stopped) stays.
    if (d.transferEnded)
        return;
    // A disc is written and then read back sector for sector: the write is the first half.
    if (fileName.isEmpty() && d.method == 0)
        totalBytes *= 2;
    showProgress(bytePos, totalBytes, estimatedTranscodeTime, fileName);
}

void WizardTransferPage::burnPhaseProgress(int phase, quint64 current, quint64 total)
{
    constexpr int kVerifyPhase = 6;
    if (phase != kVerifyPhase || total == 0 || d.transferEnded)
        return;
    if (!verifying) {
        verifying = true;
        d.ui->transcode_writeLabel->setText(tr("Verifying disc"));
    }
    showProgress(total + qMin(current, total), 2 * total, 0, QString());
}

void WizardTransferPage::showProgress(quint64 bytePos, quint64 totalBytes,
                                      quint32 estimatedTranscodeTime, const QString& fileName)
{
    // Conversion reports the source it works on; writing reports no name.
    if (fileName != d.lastProgressFileName) {
        d.lastProgressFileName = fileName;
        if (!fileName.isEmpty()) {
            d.ui->fileTransferProgressBar->setValue(0);
            const int row = d.model.setStatusByName(fileName, FileInfoModel::InProgress);
            ++d.currentCount;
            // Counted as the list shows them: the video's place among all listed videos.
            d.ui->transcode_writeLabel->setText(tr("Converting video %1 of %2")
                                                    .arg(row >= 0 ? row + 1 : d.currentCount)
                                                    .arg(d.model.rowCount()));
        }
    }
    const quint64 percent = totalBytes ? qMin<quint64>(bytePos * 100 / totalBytes, 100) : 0;
    const double fraction = totalBytes ? double(bytePos) * 100.0 / double(totalBytes) : 1.0;
    // Converting runs from Start to the first write; writing from there.
    const qint64 elapsed = d.transferClock.isValid() ? d.transferClock.elapsed() : 0;
    const qint64 writing = m_writeClock.isValid() ? m_writeClock.elapsed() : 0;
    const qint64 left = TransferTimeEstimate::remainingSeconds(d.model, fraction, elapsed - writing,
                                                               writing, m_verifyShare);

    const int bar =
        TransferTimeEstimate::barValue(int(percent), fileName.isEmpty() && d.method == 0);
    if (bar >= 0)
        d.ui->fileTransferProgressBar->setValue(bar);
    d.ui->progressPercentText->setText(QString::number(percent));
    d.ui->transferTimeLeftLabel->setText(FileInfoModel::durationText(left));
    showOverall(overallPercent(fraction));
    // Once a second at most: how the shown time compares with the real one is judged from it.
    if (!m_traceClock.isValid() || m_traceClock.elapsed() >= 1000) {
        m_traceClock.start();
        qCDebug(lcUi).noquote() << "WizardTransferPage  remaining" << left << "s, step" << percent
                                << "%, whole" << m_overall << "%";
    }
    if (!d.lastProgressFileName.isEmpty())
        d.model.setEstimateByName(d.lastProgressFileName, int(estimatedTranscodeTime), false);
}

void WizardTransferPage::writeStarted(int files)
{
    d.setTransferBarStyle(true);
    d.ui->fileTransferProgressBar->setValue(0);
    d.ui->progressPercentText->setText(QStringLiteral("0"));
    d.model.setBurning(d.method == 0);
    d.ui->transcode_writeLabel->setText(d.method == 0 ? tr("Burning disc")
                                                      : tr("Transferring to USB drive"));
    verifying = false;
    d.totalCount = files;
    d.currentCount = 0;
    d.lastProgressFileName.clear();
    d.spaceMonitor.stop();
    // For the drive's measured rate: the bytes this write puts on it, and its clock.
    QStringList written;
    d.model.filesToWrite(written);
    m_writeBytes = 0;
    for (const QString& file : written)
        m_writeBytes += quint64(qMax<qint64>(0, QFileInfo(file).size()));
    m_writeClock.start();
    if (files < 1)
        endTransfer(tr("Transfer completed."));
}

void WizardTransferPage::transferFinished(bool completed, const QString& failure)
{
    if (completed) {
        fileSaveDone();
    } else if (!failure.isEmpty()) {
        saveFailed(failure);
    } else if (!d.transferEnded) {
        // Cancelled from elsewhere (the unattended run, a signal, a lost drive): the window
        // follows the transfer.
        d.page = TransferWizardDlg::FinishPage;
        endUnfinished(tr("Transfer canceled."), FileInfoModel::Canceled, QString());
    }
}

void WizardTransferPage::fileSaveStarted(int index)
{
    d.model.setStatus(index, FileInfoModel::Writing);
    ++d.currentCount;
    if (verifying)
        return;
    d.ui->transcode_writeLabel->setText(
        tr("Transferring videos %1 of %2").arg(d.currentCount).arg(d.totalCount));
}

void WizardTransferPage::fileSaveDone()
{
    // The next estimate for this drive starts from what it really did, verify included.
    if (m_writeClock.isValid()) {
        const qint64 elapsed = m_writeClock.elapsed();
        WriteRateStore::record(m_destinationRoot, m_writeBytes, elapsed);
        if (d.method == 0 && m_writeEndMs > 0)
            WriteRateStore::recordVerify(m_destinationRoot, m_writeEndMs, elapsed - m_writeEndMs);
    }
    endTransfer(tr("Transfer completed."));
    d.ui->fileTransferProgressBar->setValue(100);
    d.ui->progressPercentText->setText(QStringLiteral("100"));
    m_overall = 100;
    showOverall(100);
}

void WizardTransferPage::fileSaveFailed(int index, const QString& reason)
{
    d.model.setStatus(index, FileInfoModel::WriteError);
    d.model.setReason(index,
                      destinationGone() ? removedDriveText(d.method, m_destinationName) : reason);
}

void WizardTransferPage::saveFailed(const QString& message)
{
    // A drive that went away is named as such; the system's error for the file it took with it
    // ("No such file or directory") would only puzzle.
    const bool gone = destinationGone();
    const QString reason = gone ? removedDriveText(d.method, m_destinationName) : message;
    const QString text = gone ? tr("Transfer failed") + QStringLiteral(". ") + reason : message;
    d.page = TransferWizardDlg::FinishPage;
    endUnfinished(text, FileInfoModel::NotCopied, reason);
    WizardMessages::warning(text);
}

bool WizardTransferPage::transcodeError(int err, const QString& sourceFileName, bool othersLeft)
{
    d.model.setStatusByName(sourceFileName, FileInfoModel::ConversionError);
    const QString endMessage = othersLeft ? tr("Transfer canceled.") : tr("Transfer failed");
    const bool continueWithRemaining =
        WizardMessages::continueAfterConversionError(err, sourceFileName, othersLeft);
    if (!continueWithRemaining) {
        d.page = TransferWizardDlg::FinishPage;
        endUnfinished(endMessage, FileInfoModel::NotCopied, endMessage);
    }
    return continueWithRemaining;
}

void WizardTransferPage::endTransfer(const QString& message)
{
    // The transfer is over: a time still to go would be untrue, whatever the end.
    d.ui->transferTimeLeftLabel->clear();
    d.ui->cancelButton->hide();
    //: wizard button at the end of a transfer: close the wizard / go to the finish page
    d.ui->nextButton->setText(d.page == TransferWizardDlg::FinishPage ? tr("Close") : tr("Done"));
    d.ui->transcode_writeLabel->setText(message);
    d.ui->nextButton->show();
    d.transferEnded = true;
    d.updateButtonSpacers();
}

void WizardTransferPage::cancelTransferNow()
{
    if (d.service)
        d.service->cancelTransfer();
    d.ui->transcode_writeLabel->setText(tr("Transfer canceled"));
    d.page = TransferWizardDlg::FinishPage;
    endUnfinished(tr("Transfer canceled."), FileInfoModel::Canceled, QString());
}

void WizardTransferPage::destinationRemoved()
{
    if (d.service)
        d.service->cancelTransfer();
    const QString gone = removedDriveText(d.method, m_destinationName);
    d.page = TransferWizardDlg::FinishPage;
    endUnfinished(tr("Transfer canceled.") + QLatin1Char(' ') + gone, FileInfoModel::NotCopied,
                  gone);
}

void WizardTransferPage::resetBackButton()
{
    if (m_backToList)
        d.ui->backButton->setText(m_backText);
    m_backToList = false;
}

void WizardTransferPage::backToList()
{
    resetBackButton();
    d.ui->nextButton->setText(d.designNextText);
    const QStringList arrived = d.model.prepareRetry();
    if (d.service && !arrived.isEmpty())
        d.service->removeFromTranscodeQueue(arrived);
    d.transferEnded = false;
    d.lastProgressFileName.clear();
    d.setTransferBarStyle(false);
    d.page = TransferWizardDlg::FileListPage;
    d.showPage();
}

QString WizardTransferPage::removedDriveText(int method, const QString& driveName)
{
    if (driveName.isEmpty())
        return tr("The destination drive is no longer available.");
    return method == 0 ? tr("The disc drive %1 is no longer available.").arg(driveName)
                       : tr("The USB drive %1 is no longer available.").arg(driveName);
}

void WizardTransferPage::endUnfinished(const QString& message, int status, const QString& reason)
{
    d.model.endUnfinished(status, reason);
    endTransfer(message);
    // A way back that keeps the list, the device, the destination and the converted files.
    if (d.service && d.model.rowCount() > 0) {
        if (m_backText.isEmpty())
            m_backText = d.ui->backButton->text();
        m_backToList = true;
        d.ui->backButton->setText(tr("Back to the list"));
        d.ui->backButton->show();
        d.updateButtonSpacers();
    }
    // What stopped is not done: the figures keep the share that was done.
    const int overall = qMin(overallPercent(0), 99);
    d.ui->progressPercentText->setText(QString::number(overall));
    if (d.ui->fileTransferProgressBar->value() >= 100)
        d.ui->fileTransferProgressBar->setValue(overall);
    showOverall(overall);
}

int WizardTransferPage::overallPercent(double stepPercent)
{
    const TransferTimeEstimate::Split split =
        TransferTimeEstimate::split(d.model, stepPercent, m_verifyShare);
    const double total = split.done + split.left;
    const int percent = total > 0 ? int(split.done * 100.0 / total) : 0;
    m_overall = qBound(m_overall, percent, 100);
    return m_overall;
}

void WizardTransferPage::showOverall(int percent)
{
    auto* label = d.findChild<QLabel*>(QStringLiteral("overallPercentText"));
    if (!label) {
        // Beside the figure of the step that runs: the figure of the whole job.
        label = new QLabel(&d);
        label->setObjectName(QStringLiteral("overallPercentText"));
        label->setContentsMargins(16, 0, 0, 0);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        d.ui->percentLayout->insertWidget(2, label);
    }
    label->setText(tr("Whole transfer: %1 %").arg(percent));
}

bool WizardTransferPage::destinationGone() const
{
    if (m_destinationRoot.isEmpty())
        return false;
    if (!QFileInfo::exists(m_destinationRoot))
        return true;
    if (d.method != 1)
        return false;
    // A USB drive that was unmounted may leave its empty mount point behind.
    for (const USBDriveData& drive : d.drives.usbDrives()) {
        if (QString::fromStdU16String(drive.root) == m_destinationRoot)
            return false;
    }
    return true;
}
