#pragma once

#include <QCoreApplication>
#include <QFileInfo>
#include <QList>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <string>

#include "USBDriveData.h"

class QDragEnterEvent;
class QDropEvent;
class QFileDialog;
class TransferWizardDlg;

// The file page of the wizard: the destination drives (listing, choice, free space and
// compatibility), the estimated transfer time, and adding, analysing and removing videos.
// It works on the dialog's widgets and state; the dialog forwards its slots here.
class WizardFilePage
{
    // Its texts are the wizard dialog's.
    Q_DECLARE_TR_FUNCTIONS(TransferWizardDlg)

public:
    explicit WizardFilePage(TransferWizardDlg& dialog) : d(dialog) {}

    void setup();
    void acceptDrag(QDragEnterEvent* event);
    void drop(QDropEvent* event);

    void refreshDrives(bool usbOnly);
    void fillDriveCombo();
    bool selectDriveByName(const std::u16string& name);
    void syncDriveCombo();
    void destinationDriveChanged();
    QString driveStatusMessage(const USBDriveData* drive) const;
    void updateDestinationInfo();
    void recomputeTransferTimes(const QStringList& files = QStringList());
    // Reads the USB drives (and the burners unless usbOnly) again after a volume or a disc came
    // or went and keeps the chosen drive when it is still there; true when the chosen drive can
    // still take the videos.
    bool refreshAfterVolumeChange(bool usbOnly = true);

    // The Add dialog; it opens in the folder last chosen with it (or dropped from), else in
    // the folder of the videos already listed.
    void addFiles();
    QString addDialogFolder() const;
    void addFileNames(const QStringList& names);
    void addFilesToModel(const QList<QFileInfo>& files, QStringList& unsupported, bool addToTop);
    // Files that were handed over but do not exist, in the "Invalid Files" box.
    void reportMissingFiles(const QStringList& paths);
    void reanalyzeAllFiles();
    void removeFiles();
    void fileClicked(const QModelIndex& index);
    void fileChangedInUSBDrive(const QString& driveLetter, quint64 newFreeSpace);

private:
    static void fitFileDialog(QFileDialog& dialog);

    TransferWizardDlg& d;
    // Files were chosen with the Add dialog or dropped since the wizard opened.
    bool m_browsed = false;
};
