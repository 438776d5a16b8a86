#include "WizardTransferPage.h"

#include <QFileInfo>
#include <QList>

#include "FileInfoModel.h"
#include "FinishPageDrive.h"
#include "LabelElider.h"
#include "TransferTimeEstimate.h"
#include "TransferWizardDlg.h"
#include "TransferWizardServericeInterface.h"
#include "WizardMessages.h"
#include "ui_TransferWizardDlg.h"

void WizardTransferPage::setup()
{
    d.setFooterButtons(false, false, false, true);
    d.updateButtonSpacers();
    d.model.setProgressMode(true);
    d.ui->fileTransferProgressBar->setValue(0);
    LabelElider::setText(d.ui->destinationTextLabel, d.ui->driveComboBox->currentText());
    d.ui->progressPercentText->setText(QStringLiteral("0"));
    LabelElider::setText(d.ui->destinationSubTextLabel, d.ui->driveComboBox->currentSubText());
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
            d.model.setStatusByName(fileName, FileInfoModel::InProgress);
            ++d.currentCount;
            d.ui->transcode_writeLabel->setText(
                tr("Converting video %1 of %2").arg(d.currentCount).arg(d.totalCount));
        }
    }
    const quint64 percent = totalBytes ? qMin<quint64>(bytePos * 100 / totalBytes, 100) : 0;
    const double fraction = totalBytes ? double(bytePos) * 100.0 / double(totalBytes) : 1.0;
    const qint64 elapsed = d.transferClock.isValid() ? d.transferClock.elapsed() : 0;
    const qint64 left = TransferTimeEstimate::remainingSeconds(d.model, fraction, elapsed);

    const int bar =
        TransferTimeEstimate::barValue(int(percent), fileName.isEmpty() && d.method == 0);
    if (bar >= 0)
        d.ui->fileTransferProgressBar->setValue(bar);
    d.ui->progressPercentText->setText(QString::number(percent));
    d.ui->transferTimeLeftLabel->setText(FileInfoModel::durationText(left));
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
        d.model.cancelAll();
        d.page = TransferWizardDlg::FinishPage;
        endTransfer(tr("Transfer canceled."));
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
    endTransfer(tr("Transfer completed."));
    d.ui->fileTransferProgressBar->setValue(100);
    d.ui->progressPercentText->setText(QStringLiteral("100"));
}

void WizardTransferPage::fileSaveFailed(int index, const QString& reason)
{
    d.model.setStatus(index, FileInfoModel::WriteError);
    Q_UNUSED(reason); // the end text names the file and the reason
}

void WizardTransferPage::saveFailed(const QString& message)
{
    d.page = TransferWizardDlg::FinishPage;
    endTransfer(message);
    WizardMessages::warning(message);
}

bool WizardTransferPage::transcodeError(int err, const QString& sourceFileName, bool othersLeft)
{
    d.model.setStatusByName(sourceFileName, FileInfoModel::ConversionError);
    const QString endMessage = othersLeft ? tr("Transfer canceled.") : tr("Transfer failed");
    const bool continueWithRemaining =
        WizardMessages::continueAfterConversionError(err, sourceFileName, othersLeft);
    if (!continueWithRemaining) {
        d.page = TransferWizardDlg::FinishPage;
        endTransfer(endMessage);
    }
    return continueWithRemaining;
}

void WizardTransferPage::endTransfer(const QString& message)
{
    d.ui->cancelButton->hide();
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
    d.model.cancelAll();
    d.ui->transcode_writeLabel->setText(tr("Transfer canceled"));
    d.page = TransferWizardDlg::FinishPage;
    endTransfer(tr("Transfer canceled."));
}
