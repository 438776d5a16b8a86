#pragma once

#include <QFileInfo>
#include <QList>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "EngineFileTypes.h"
#include "USBDriveData.h"

class QDragEnterEvent;
class QDropEvent;
class QFileDialog;
class DestinationDrives;
class FileAnalysisRunner;
class FileInfoModel;
class TransferWizardServericeInterface;
struct WizardChoices;
namespace Ui {
class TransferWizardDlg;
}

// The file page of the wizard: the destination drives (listing, choice, free space and
// compatibility), the estimated transfer time, and adding, analysing and removing videos.
// It works on its own widgets and on the shared file list, drive lists and choices; what the
// window around it shows (footer, method page) follows its signals.
class WizardFilePage : public QWidget
{
    Q_OBJECT

public:
    using FileTypeMap = std::map<std::string, std::string>;

    explicit WizardFilePage(QWidget* parent = nullptr);

    // The form holding the page's widgets and what the page shares with the others.
    void attach(Ui::TransferWizardDlg* form, TransferWizardServericeInterface* service,
                FileInfoModel* model, DestinationDrives* drives, WizardChoices* choices,
                FileAnalysisRunner* analysis);
    // The engine's file types, asked of source when the page first needs them.
    void setFileTypes(std::function<FileTypeMap()> source)
    {
        m_fileTypes.setSource(std::move(source));
    }
    // Back to the state of a new wizard.
    void reset();

    // Reads the drives and chooses preferredDrive, else the drive chosen before.
    void setup(const std::u16string& preferredDrive);
    void acceptDrag(QDragEnterEvent* event);
    void drop(QDropEvent* event);

    bool selectDriveByName(const std::u16string& name);
    void syncDriveCombo();
    void destinationDriveChanged();
    QString driveStatusMessage(const USBDriveData* drive) const;
    void updateDestinationInfo();
    // Reads the USB drives (and the burners unless usbOnly) again after a volume or a disc came
    // or went and keeps the chosen drive when it is still there (and, shown, brings the page up
    // to date); true when the chosen drive can still take the videos.
    bool refreshAfterVolumeChange(bool usbOnly, bool shown);

    // The Add dialog; it opens in the folder last chosen with it (or dropped from), else in
    // the folder of the videos already listed.
    void addFiles();
    // Analyses files and lists the usable ones (first with addToTop); names the others.
    void appendFiles(const QList<QFileInfo>& files, bool addToTop);
    // Files that were handed over but do not exist, in the "Invalid Files" box.
    void reportMissingFiles(const QStringList& paths);
    void reanalyzeAllFiles();
    void removeFiles();
    void fileClicked(const QModelIndex& index);
    void fileChangedInUSBDrive(const QString& driveLetter, quint64 newFreeSpace);
    // The user cancelled the analysis: the files analysed so far are kept.
    void cancelAnalysis();

signals:
    // The chosen drive decided the method (0 disc, 1 USB drive).
    void methodChosen(int method);
    // The list changed; it now holds this many files.
    void filesChanged(int count);
    // The drives were read again; their free space and discs are worth watching.
    void drivesListed(const std::vector<std::u16string>& usbRoots,
                      const std::vector<std::u16string>& burnerRoots);

private:
    void refreshDrives(bool usbOnly);
    QString addDialogFolder() const;
    void addFileNames(const QStringList& names);
    void addFilesToModel(const QList<QFileInfo>& files, QStringList& unsupported, bool addToTop);
    void recomputeTransferTimes();
    // How many of paths the last analysis got to (all unless it was cancelled).
    int analysedCount(int paths, int results);
    static void fitFileDialog(QFileDialog& dialog);
    // The "Invalid Files" box: each file with its error code.
    static void showInvalidFiles(const QList<QPair<QString, int>>& files);

    Ui::TransferWizardDlg* ui = nullptr;
    TransferWizardServericeInterface* m_service = nullptr;
    FileInfoModel* m_model = nullptr;
    DestinationDrives* m_drives = nullptr;
    WizardChoices* m_choices = nullptr;
    FileAnalysisRunner* m_analysis = nullptr;
    EngineFileTypes m_fileTypes;
    // The designer's text of the free-space number, shown while no drive is chosen.
    QString m_noDriveText;
    bool m_analysisCanceled = false;
    // Files were chosen with the Add dialog or dropped since the wizard opened.
    bool m_browsed = false;
};
