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
    // The drive being written to went away: the transfer is cancelled and the page says so.
    void destinationRemoved();
    // True when the page offers "Back to the list" (a transfer that ended unfinished).
    bool offersBackToList() const { return m_backToList; }
    // Back to the file page with what did not arrive; the device, the destination and the
    // converted files stay, so Start writes only what is missing.
    void backToList();
    // Forgets the way back (a new transfer, or the wizard starts over).
    void resetBackButton();

    // "The USB drive STICK is no longer available." (a disc drive for method 0).
    static QString removedDriveText(int method, const QString& driveName);

private:
    void startTransfer();
    void showProgress(quint64 bytePos, quint64 totalBytes, quint32 estimatedTranscodeTime,
                      const QString& fileName);

    bool verifying = false;
    // The end of a transfer that did not finish: the files not written say why (status
    // Canceled or NotCopied, with reason), the figures stay where the work stopped and the
    // remaining time goes.
    void endUnfinished(const QString& message, int status, const QString& reason);
    // The whole job's share done, weighted by the estimated times; it never goes back.
    int overallPercent(double stepPercent);
    void showOverall(int percent);
    // True when the destination of this transfer is no longer there.
    bool destinationGone() const;

    TransferWizardDlg& d;
    // The destination as it was when the transfer began: the drive list may lose it.
    QString m_destinationRoot;
    QString m_destinationName;
    int m_overall = 0;
    bool m_backToList = false;
    QString m_backText;
    // The write step's clock and bytes, for the drive's measured rate.
    QElapsedTimer m_writeClock;
    quint64 m_writeBytes = 0;
    // On a disc: when the write reached its end (the read-back follows), and how long the
    // read-back takes against the write, as this drive did it last time.
    qint64 m_writeEndMs = -1;
    double m_verifyShare = 0;
    // When the remaining time was last written to the trace.
    QElapsedTimer m_traceClock;
};
