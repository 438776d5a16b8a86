#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QList>
#include <QModelIndex>
#include <QSize>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <string>

#include "DestinationDrives.h"
#include "FileAnalysisRunner.h"
#include "FileInfoModel.h"
#include "USBDriveData.h"
#include "WizardStartParameters.h"

class TransferWizardServericeInterface;
class QMouseEvent;
class QResizeEvent;
class QDragEnterEvent;
class QDropEvent;
namespace Ui {
class TransferWizardDlg;
}

// The wizard's only window: six pages (welcome, device type, method, files, transfer, finish)
// driven by the buttons in the footer. Everything that touches files, drives, the transcoder or
// the burner goes through the controller's service interface; the controller answers through
// the slots below.
class TransferWizardDlg : public QDialog
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

    explicit TransferWizardDlg(TransferWizardServericeInterface* service);
    ~TransferWizardDlg() override;

    // Called by the controller.
    void setFileTypes(const QString& label, const FileTypeMap& fileTypes);
    void setWizardStartParameters(const WizardStartParameters& parameters);
    void resetWizard();
    void appendFileInfos(const QList<QFileInfo>& files, bool addToTop);
    QString currentPageName() const;
    void waitForWorkerIdle();

    // State read by the controller and by tests.
    int currentPage() const { return page; }
    int currentMethod() const { return method; }
    int currentProfile() const { return profile; }
    bool isTransferEnded() const { return transferEnded; }
    const WizardStartParameters& startParameters() const { return start; }
    FileInfoModel* fileModel() { return &model; }

signals:
    void usbDriveSpaceChanged(QString driveLetter, quint64 newFreeSpace);
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
    void saveVideoFiles();
    void updateProgress(quint64 bytePos, quint64 totalBytes, quint32 estimatedTranscodeTime,
                        QString fileName);
    void fileSaveStarted(int index);
    void fileSaveCanceled(int index);
    void fileSaveFinished(int index);
    void analyzeItem(int index, int total);
    void transcodeError(int err, QString sourceFileName);
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

    void reject() override;
    void accept() override;
    void showMinimizedSlot();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
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
    void updateButtonSpacers();
    void updateFooterNav(int step);
    void hideFooterNav();
    void updateMethodTexts();
    void showProfileText(int forProfile);
    void setFooterButtons(bool back, bool start, bool next, bool cancel);
    void applyStyleSheets();
    void setTransferBarStyle(bool writing);
    void readWindowSettings();
    void setHelpLinks();

    // File and transfer pages.
    void refreshDrives(bool usbOnly);
    void fillDriveCombo();
    const USBDriveData* currentDrive() const;
    bool selectDriveByName(const std::u16string& name);
    void syncDriveCombo();
    QString driveStatusMessage(const USBDriveData* drive) const;
    void updateDestinationInfo();
    void recomputeTransferTimes(const QStringList& files = QStringList());
    void addFileNames(const QStringList& names);
    void addFilesToModel(const QList<QFileInfo>& files, QStringList& unsupported, bool addToTop);
    void reanalyzeAllFiles();
    void startConversion(const QStringList& files);
    void endTransfer(const QString& message);
    void cancelTransferNow();

    bool analysisCanceled = false;
    int page = WelcomePage;
    int method = 0;
    int profile = 3;
    FileInfoModel model;
    // Both drive lists and the selected entry of each.
    DestinationDrives drives;
    bool transferEnded = true;
    bool showRegisterNote = false;
    bool profileChanged = false;
    int totalCount = 0;
    int currentCount = 0;
    WizardStartParameters start;
    TransferWizardServericeInterface* service = nullptr;
    std::unique_ptr<Ui::TransferWizardDlg> ui;
    FileTypeMap fileTypes;
    QSize buttonSize;
    bool buttonSizeCaptured = false;
    // Runs the analyses and owns their progress window while one runs.
    FileAnalysisRunner analysis;
    QElapsedTimer transferClock;
    QString baseWindowTitle;
    // The drive named by the start parameters, chosen once its list has been read.
    std::u16string rememberedDrive;
    QString lastProgressFileName;
    // Set while the dialog waits for the worker before closing, so a second close request
    // arriving through the event loop is not handled twice.
    bool closing = false;
};
