#pragma once

#include <QDialog>
#include <QFileInfo>
#include <QList>
#include <QModelIndex>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "DestinationDrives.h"
#include "FileAnalysisRunner.h"
#include "FileInfoModel.h"
#include "TransferPrompts.h"
#include "USBDriveData.h"
#include "VolumeChangeWatcher.h"
#include "VolumeSpaceMonitor.h"
#include "WizardChoices.h"
#include "WizardStartParameters.h"

class TransferWizardServericeInterface;
class QDragEnterEvent;
class QDropEvent;
class FinishPageDrive;
class WizardFooter;
namespace Ui {
class TransferWizardDlg;
}

// The wizard's only window: six pages (welcome, device type, method, files, transfer, finish)
// driven by the buttons in the footer. Everything that touches files, drives, the transcoder or
// the burner goes through the controller's service interface; the controller answers through
// the slots below. The file and transfer pages are widgets of their own (WizardFilePage,
// WizardTransferPage); the dialog keeps the page order and the chrome and follows their signals.
class TransferWizardDlg : public QDialog, public VolumeSpaceMonitorCallBack, public TransferPrompts
{
    Q_OBJECT

public:
    enum WizardPage
    {
        WelcomePage = 0,
        DeviceTypePage = 1,
        TransferMethodPage = 2,
        FileListPage = 3,
        TransferProgressPage = 4,
        FinishPage = 5
    };

    using FileTypeMap = std::map<std::string, std::string>;

    // mountInfoPath: the mount table whose changes make the dialog read the USB drives again
    // (empty: none).
    explicit TransferWizardDlg(
        TransferWizardServericeInterface* service,
        const QString& mountInfoPath = QStringLiteral("/proc/self/mountinfo"));
    ~TransferWizardDlg() override;

    // Called by the controller.
    void setFileTypes(const QString& label, const FileTypeMap& fileTypes);
    // The same, with the types asked of source when a page first needs them.
    void setFileTypes(const QString& label, std::function<FileTypeMap()> source);
    void setWizardStartParameters(const WizardStartParameters& parameters);
    void resetWizard();
    void appendFileInfos(const QList<QFileInfo>& files, bool addToTop);
    // Files handed over that do not exist: listed with the file-not-found error.
    void reportMissingFiles(const QStringList& paths);
    QString currentPageName() const;
    // From the space monitor's thread: only emits usbDriveSpaceChanged.
    void volumeSpaceChanged(const std::u16string& drive, quint64 newFreeSpace) override;
    void discStateChanged(const std::u16string& drive) override;
    void waitForWorkerIdle();

    // State read by the controller and by tests.
    int currentPage() const { return page; }
    int currentMethod() const { return choices.method; }
    int currentProfile() const { return choices.profile; }
    bool isTransferEnded() const;
    const WizardStartParameters& startParameters() const { return choices.start; }
    FileInfoModel* fileModel() { return &model; }
    const DestinationDrives& destinationDrives() const { return drives; }

    // What a run without clicks does in place of the user: takes a profile (the files are
    // analysed for it as they are added), shows the file page, chooses the destination by its
    // root, and starts once destinationRefusal() is empty.
    void useProfile(int transcodeProfile);
    void showFilePage();
    void chooseDestination(const std::u16string& root);
    QString destinationRefusal() const;
    void startTransfer();
    // Nobody reads the window of a run without clicks: its progress windows do not wait to be
    // read.
    void runUnattended() { analysis.setMinimumShowTime(0); }

    // TransferPrompts: the question box.
    bool continueAfterConversionError(int error, const QString& file, bool othersLeft) override;

signals:
    void usbDriveSpaceChanged(QString driveLetter, quint64 newFreeSpace);
    // A disc went into or out of a burner (from the monitor's thread).
    void burnerDiscChanged();
    void destinationDriveRemoved();

public slots:
    void prevPage();
    void nextPage();
    void devicetypeButtonClicked();
    void tranfermethodButtonClicked();
    void addFiles();
    void removeFiles();
    void startButtonClicked();
    void cancelProcessWarning();
    void progressFinised(QString sourceFileName);
    // The conversions are done; this many files are written now.
    void writeStarted(int files);
    // The transfer has ended: completed, failed (failure names the file and the reason), or
    // cancelled or stopped (neither).
    void transferFinished(bool completed, QString failure);
    void updateProgress(quint64 bytePos, quint64 totalBytes, quint32 estimatedTranscodeTime,
                        QString fileName);
    void burnPhaseProgress(int phase, quint64 current, quint64 total);
    void showRecorderAccessHint(QString hint);
    void fileSaveStarted(int index);
    void fileSaveCanceled(int index);
    void fileSaveFinished(int index);
    // A file could not be written, and the write step that failed because of it.
    void fileSaveFailed(int index, QString reason);
    // A file arrived on the drive, under the name the drive accepted.
    void fileSaveArrived(int index, QString source, QString destination);
    void saveFailed(QString message);
    void analyzeItem(int index, int total);
    void destinationDriveChanged();
    void fileSaveDone();
    void fileClicked(QModelIndex index);
    void kavoButtonHover();
    void kavoHDButtonHover();
    void kavoPlusHDButtonHover();
    void kavoButtonExit();
    void fileChangedInUSBDrive(QString driveLetter, quint64 newFreeSpace);
    void showChooseDeviceTypeHelp(QString link);
    void cancelTransferProcess();
    void cancelAnalyzing();
    // A volume was mounted or unmounted: reads the USB drives again, keeps the chosen drive
    // when it is still there and brings the current page up to date. On the transfer page a
    // vanished destination ends the transfer (destinationDriveRemoved).
    void volumesChanged();
    void burnerDiscsChanged();

    void reject() override;
    void accept() override;
    void showMinimizedSlot();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Page machine.
    void showPage();
    void setupWelcomePage();
    void setupDeviceTypePage();
    void setupMethodPage();
    void setupFilePage();
    void setupTransferPage();
    void setupFinishPage();
    void updateMethodTexts();
    void showProfileText(int forProfile);
    void applyStyleSheets();
    void readWindowSettings();
    void setHelpLinks();
    // Nothing is remembered for the device: chooses the disc when there is a burner, else the
    // USB drive.
    void preselectUsableMethod();
    // The method changed (a drive of the other kind was chosen): the method page follows.
    void showMethod(int chosen);
    // The transfer page's end: Next closes the window or goes to the finish page.
    void transferPageEnded(bool closes);
    // The drive chosen for the current method, or null.
    const USBDriveData* currentDrive() const;

    int page = WelcomePage;
    // Method, profile and start parameters, shared with the pages.
    WizardChoices choices;
    FileInfoModel model;
    // Both drive lists and the selected entry of each.
    DestinationDrives drives;
    bool showRegisterNote = false;
    bool profileChanged = false;
    TransferWizardServericeInterface* service = nullptr;
    std::unique_ptr<Ui::TransferWizardDlg> ui;
    // Runs the analyses and owns their progress window while one runs.
    FileAnalysisRunner analysis;
    QString baseWindowTitle;
    // The method page has not been shown since start parameters that remember no method.
    bool preselectMethod = false;
    // The drive named by the start parameters, chosen once its list has been read.
    std::u16string rememberedDrive;
    // Set while the dialog waits for the worker before closing, so a second close request
    // arriving through the event loop is not handled twice.
    bool closing = false;
    // Footer buttons and step labels.
    std::unique_ptr<WizardFooter> footer;
    VolumeChangeWatcher volumeWatcher;
    // The names on the drive and the Eject button of the finish page.
    FinishPageDrive* finishDrive = nullptr;
    // Last, so it stops before anything it reports to goes away.
    VolumeSpaceMonitor spaceMonitor{this};
};
