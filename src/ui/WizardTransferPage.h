#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
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
    void startConversion(const QStringList& files);
    void updateProgress(quint64 bytePos, quint64 totalBytes, quint32 estimatedTranscodeTime,
                        const QString& fileName);
    void saveVideoFiles();
    void fileSaveStarted(int index);
    void fileSaveDone();
    void fileSaveFailed(int index, const QString& reason);
    // The write step ended because a file could not be written; message names it.
    void saveFailed(const QString& message);
    void transcodeError(int err, const QString& sourceFileName);
    void endTransfer(const QString& message);
    void cancelTransferNow();

private:
    TransferWizardDlg& d;
    // The write step's clock and bytes, for the drive's measured rate.
    QElapsedTimer m_writeClock;
    quint64 m_writeBytes = 0;
    // When the remaining time was last written to the trace.
    QElapsedTimer m_traceClock;
};
