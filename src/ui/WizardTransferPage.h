#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "RecentSpeed.h"
#include "RemainingTimeSmoother.h"
#include "TransferTimeEstimate.h"
#include "USBDriveData.h"

class DestinationDrives;
class FileInfoModel;
class TransferWizardServericeInterface;
struct WizardChoices;
namespace Ui {
class TransferWizardDlg;
}

// The transfer page of the wizard: starts the conversion and the writing, shows their
// progress and remaining time, and handles conversion errors and cancelling. It works on its
// own widgets and the shared file list; the window's footer follows its signals.
class WizardTransferPage : public QWidget
{
    Q_OBJECT

public:
    explicit WizardTransferPage(QWidget* parent = nullptr);

    // The form holding the page's widgets and what the page shares with the others.
    void attach(Ui::TransferWizardDlg* form, TransferWizardServericeInterface* service,
                FileInfoModel* model, const DestinationDrives* drives,
                const WizardChoices* choices);
    // Back to the state of a new wizard.
    void reset();

    // Starts the transfer of the listed files to drive (null: it went away), shown under the
    // names the drive box gave it.
    void setup(const USBDriveData* drive, const QString& driveText, const QString& driveSubText);
    void updateProgress(quint64 bytePos, quint64 totalBytes, quint32 estimatedTranscodeTime,
                        const QString& fileName);
    // A step of the disc write: the read-back after the write has its label and the rest of
    // the bar, by the share of the time it takes.
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
    void cancelTransferNow();
    // The drive being written to went away: the transfer is cancelled and the page says so.
    void destinationRemoved();
    bool isEnded() const { return m_ended; }
    // Keeps the list, the device, the destination and the converted files for another Start,
    // which writes only what did not arrive.
    void prepareRetry();

    // "The USB drive STICK is no longer available." (a disc drive for method 0).
    static QString removedDriveText(int method, const QString& driveName);

signals:
    // The transfer is over; with closes the window's next step is closing it, else the finish
    // page.
    void ended(bool closes);
    // The transfer ended unfinished with files to try again.
    void retryOffered();

private:
    void startTransfer(const USBDriveData* drive);
    void showProgress(quint64 bytePos, quint64 totalBytes, quint32 estimatedTranscodeTime,
                      const QString& fileName);
    void endTransfer(const QString& message, bool closes);
    // The end of a transfer that did not finish: the files not written say why (status
    // Canceled or NotCopied, with reason), the figures stay where the work stopped and the
    // remaining time goes.
    void endUnfinished(const QString& message, int status, const QString& reason);
    // The whole job's share done, weighted by the estimated times; it never goes back.
    int overallPercent();
    // Where conversion and writing stand, with the time each has been at work.
    TransferTimeEstimate::Progress progressNow() const;
    void showOverall(int percent);
    void setBarStyle(bool writing);
    // True when the destination of this transfer is no longer there.
    bool destinationGone() const;
    int method() const;
    // The read-back's share of a disc write, in thousandths of the write's time.
    quint64 verifyThousandths() const;

    Ui::TransferWizardDlg* ui = nullptr;
    TransferWizardServericeInterface* m_service = nullptr;
    FileInfoModel* m_model = nullptr;
    const DestinationDrives* m_drives = nullptr;
    const WizardChoices* m_choices = nullptr;
    QString m_designStateText;
    QString m_designTimeLeftText;

    bool m_ended = true;
    bool m_verifying = false;
    // A disc's read-back time over its write time, and the write's working time when the
    // read-back began (-1 before).
    double m_verifyShare = 1.0;
    qint64 m_verifyStartMs = -1;
    // The destination has a rate measured by an earlier transfer.
    bool m_rateKnown = false;
    int m_totalCount = 0;
    int m_currentCount = 0;
    QString m_lastProgressFileName;
    // From Start: the whole transfer's clock.
    QElapsedTimer m_transferClock;
    // The destination as it was when the transfer began: the drive list may lose it.
    QString m_destinationRoot;
    QString m_destinationName;
    int m_overall = 0;
    // The write step's clock and bytes, for the drive's measured rate.
    QElapsedTimer m_writeClock;
    quint64 m_writeBytes = 0;
    // Conversions still run: their figures are the ones on view, while a USB copy may already
    // take the files that are done.
    bool m_converting = false;
    int m_writesStarted = 0;
    // Each part's progress and working time: the conversion from Start to its end, the write
    // while a file is being written (not while it waits for a conversion).
    double m_conversionPercent = 0;
    double m_writePercent = 0;
    qint64 m_conversionEndMs = -1;
    QElapsedTimer m_copyClock;
    qint64 m_writeBusyMs = 0;
    RecentSpeed m_writeSpeed;
    RemainingTimeSmoother m_remaining;
    // When the remaining time was last written to the trace.
    QElapsedTimer m_traceClock;
};
