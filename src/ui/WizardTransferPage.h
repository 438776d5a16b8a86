#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class TransferWizardDlg;

// The transfer page of the wizard: starts the conversion and the writing, shows their
// progress and remaining time, and handles conversion errors and cancelling. It works on the
// dialog's widgets and state; the dialog forwards the controller's reports here.
class WizardTransferPage
{
    // Its texts are the wizard dialog's.
    Q_DECLARE_TR_FUNCTIONS(TransferWizardDlg)

public:
    explicit WizardTransferPage(TransferWizardDlg& dialog) : d(dialog) {}

    void setup();
    void updateProgress(quint64 bytePos, quint64 totalBytes, quint32 estimatedTranscodeTime,
                        const QString& fileName);
    // A step of the disc write: the read-back after the write has its label and the second
    // half of the bar.
    void burnPhaseProgress(int phase, quint64 current, quint64 total);
    // The conversions are done; this many files are written now.
    void writeStarted(int files);
    // The transfer has ended: completed, failed (failure names the file and why) or, with
    // neither, cancelled or stopped.
    void transferFinished(bool completed, const QString& failure);
    void fileSaveStarted(int index);
    void fileSaveDone();
    void fileSaveFailed(int index, const QString& reason);
    // The write step ended because a file could not be written; message names it.
    void saveFailed(const QString& message);
    // Asks whether to go on after a conversion error; stopping ends the page.
    bool transcodeError(int err, const QString& sourceFileName, bool othersLeft);
    void endTransfer(const QString& message);
    void cancelTransferNow();

private:
    void startTransfer();
    void showProgress(quint64 bytePos, quint64 totalBytes, quint32 estimatedTranscodeTime,
                      const QString& fileName);

    TransferWizardDlg& d;
    bool verifying = false;
};
