#include "WizardFilePage.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>
#include <algorithm>

#include "DialogStyleSheet.h"
#include "ErrorDialog.h"
#include "ISourceMedia.h"
#include "LabelElider.h"
#include "TranscodeEnums.h"
#include "TranscodeJob.h"
#include "TransferWizardDlg.h"
#include "TransferWizardServericeInterface.h"
#include "UnSupportedFileTypeDlg.h"
#include "WizardMessages.h"
#include "ui_TransferWizardDlg.h"

namespace {

// Free-space texts: the page's normal text colour, and the warning colour when the videos do
// not fit. Both stay readable on the dark page.
const char* const NormalTextColor = "white";
const char* const WarningTextColor = "#FF5C5C";

} // namespace

void WizardFilePage::setup()
{
    d.setFooterButtons(true, true, false, false);
    d.ui->startButton->setEnabled(true);
    d.model.setProgressMode(false);
    d.ui->remainSpaceText->setText(d.designNoDriveText);
    if (d.start.burnOnly)
        d.ui->backButton->hide();
    d.updateButtonSpacers();
    refreshDrives(false);
    fillDriveCombo();
    const USBDriveData* drive = d.currentDrive();
    std::u16string driveName = drive ? drive->root : std::u16string();
    if (!d.rememberedDrive.empty()) {
        driveName = d.rememberedDrive;
        d.rememberedDrive.clear();
    }
    selectDriveByName(driveName);
    syncDriveCombo();
    d.updateFooterNav(2);
    if (d.profileChanged) {
        reanalyzeAllFiles();
        d.profileChanged = false;
    }
    updateDestinationInfo();
    d.ui->startButton->setEnabled(d.model.rowCount() > 0);
}

void WizardFilePage::acceptDrag(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || urls.first().toString().isEmpty())
        return;
    const QStringList patterns = FileAnalysisRunner::patterns(d.fileTypes);
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QFileInfo::exists(path) &&
            FileAnalysisRunner::isSupported(path, patterns)) {
            event->acceptProposedAction();
            return;
        }
    }
}

void WizardFilePage::drop(QDropEvent* event)
{
    QStringList names;
    for (const QUrl& url : event->mimeData()->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QFileInfo::exists(path))
            names << path;
    }
    if (names.isEmpty())
        return;
    event->acceptProposedAction();
    addFileNames(names);
}

void WizardFilePage::refreshDrives(bool usbOnly)
{
    if (d.service)
        d.drives.refresh(*d.service, usbOnly);
    // Free space of the USB drives follows copies made by other programs while the page shows,
    // and the burners' discs follow the user putting one in.
    std::vector<std::u16string> roots;
    for (const USBDriveData& drive : d.drives.usbDrives())
        roots.push_back(drive.root);
    std::vector<std::u16string> burners;
    for (const USBDriveData& drive : d.drives.burners())
        burners.push_back(drive.root);
    d.spaceMonitor.start(roots, burners,
                         d.service ? d.service->discStateProbe() : VolumeSpaceMonitor::DiscProbe());
}

void WizardFilePage::fillDriveCombo()
{
    d.drives.fillCombo(*d.ui->driveComboBox);
}

bool WizardFilePage::selectDriveByName(const std::u16string& name)
{
    const bool usable = d.drives.selectByName(name, d.method);
    if (d.method == 0)
        d.ui->burnDiskRadioButton->setChecked(true);
    else if (d.method == 1)
        d.ui->CopyToUSBRadioButton->setChecked(true);
    return usable;
}

void WizardFilePage::syncDriveCombo()
{
    int index = d.drives.comboIndex(d.method);
    if (index >= d.ui->driveComboBox->count())
        index = 0;
    const bool blocked = d.ui->driveComboBox->blockSignals(true);
    d.ui->driveComboBox->setCurrentIndex(index);
    d.ui->driveComboBox->blockSignals(blocked);
    destinationDriveChanged();
}

void WizardFilePage::destinationDriveChanged()
{
    const int chosen = d.drives.selectComboIndex(d.ui->driveComboBox->currentIndex());
    if (chosen < 0)
        return;
    d.method = chosen;
    if (d.method == 0)
        d.ui->burnDiskRadioButton->setChecked(true);
    else
        d.ui->CopyToUSBRadioButton->setChecked(true);
    d.tranfermethodButtonClicked();
    recomputeTransferTimes();
    updateDestinationInfo();
}

QString WizardFilePage::driveStatusMessage(const USBDriveData* drive) const
{
    QString largestName;
    const quint64 largest = DestinationDrives::largestFile(d.model, d.start.burnOnly, largestName);
    return DestinationDrives::statusMessage(drive, d.method, d.model.totalOutputBytes(),
                                            d.start.requiredFSType, largest, largestName);
}

void WizardFilePage::updateDestinationInfo()
{
    const USBDriveData* drive = d.currentDrive();
    const auto setColor = [](QLabel* label, const char* color) {
        label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(color)));
    };
    d.ui->warningDeviceIsfull->setStyleSheet(QString());
    if (!drive) {
        d.ui->unitsLabel->hide();
        d.ui->USBLink->hide();
        d.ui->remainSpaceText->setText(d.designNoDriveText);
        setColor(d.ui->remainSpaceText, NormalTextColor);
        d.ui->remainDiskspaceProgressBar->setValue(0);
        d.ui->warningDeviceIsfull->setText(driveStatusMessage(nullptr));
        d.ui->warningDeviceIsfull->show();
        d.ui->remainSpaceLabel->hide();
        d.ui->warningIcon->hide();
        d.ui->remainSpaceText->hide();
    } else {
        for (QWidget* widget :
             {static_cast<QWidget*>(d.ui->remainSpaceLabel),
              static_cast<QWidget*>(d.ui->warningIcon),
              static_cast<QWidget*>(d.ui->remainSpaceText), static_cast<QWidget*>(d.ui->unitsLabel),
              static_cast<QWidget*>(d.ui->warningDeviceIsfull)})
            widget->show();
        if (d.method == 1) {
            LabelElider::setText(
                d.ui->USBLink, QString::fromStdU16String(drive->displayName),
                QUrl::fromLocalFile(QString::fromStdU16String(drive->root)).toString(),
                QStringLiteral("#2bb0dc"));
        }
        d.ui->USBLink->setVisible(d.method == 1);

        const DestinationDrives::SpaceUsage usage =
            DestinationDrives::spaceUsage(*drive, d.model.totalOutputBytes());
        d.ui->remainDiskspaceProgressBar->setValue(usage.percent);
        QString number;
        d.ui->unitsLabel->setText(FileInfoModel::sizeText(usage.remaining, false, &number));
        d.ui->remainSpaceText->setText(number);

        const QString message = driveStatusMessage(drive);
        const bool problem = usage.remaining == 0 || !message.isEmpty();
        setColor(d.ui->remainSpaceText, problem ? WarningTextColor : NormalTextColor);
        setColor(d.ui->unitsLabel, problem ? WarningTextColor : NormalTextColor);
        d.ui->warningDeviceIsfull->setText(message);
        d.ui->warningDeviceIsfull->setVisible(problem);
        d.ui->warningIcon->setVisible(problem);
        if (drive->status == DriveNoMediumInfo) {
            d.ui->remainSpaceLabel->hide();
            d.ui->remainSpaceText->hide();
            d.ui->unitsLabel->hide();
            d.ui->warningIcon->hide();
            d.ui->remainDiskspaceProgressBar->setValue(0);
        }
    }
    d.ui->timeEstimateTitle->setText(tr("Estimated remaining time:"));
    d.ui->timeLeftLabel->setText(d.model.totalTimeText());
}

bool WizardFilePage::refreshAfterVolumeChange(bool usbOnly)
{
    // Remember the chosen drive by name before the list is read again: after a removal another
    // drive may sit at its old place.
    const USBDriveData* drive = d.currentDrive();
    const std::u16string name = drive ? drive->root : std::u16string();
    refreshDrives(usbOnly);
    fillDriveCombo();
    const bool usable = selectDriveByName(name);
    recomputeTransferTimes();
    return usable;
}

void WizardFilePage::recomputeTransferTimes(const QStringList& files)
{
    QStringList names = files;
    if (names.isEmpty()) {
        for (int row = 0; row < d.model.rowCount(); ++row)
            names << d.model.sourcePath(row);
    }
    const quint32 rate = DestinationDrives::writeRate(d.currentDrive(), d.method);
    QList<int> seconds;
    for (int i = int(names.size()) - 1; i >= 0; --i) {
        const QFileInfo info(names[i]);
        if (!info.exists()) {
            names.removeAt(i);
            continue;
        }
        // What is written is the converted file when there is one.
        const int row = d.model.indexOfFile(names[i]);
        const quint64 bytes = row >= 0 ? d.model.outputBytes(row) : quint64(info.size());
        // A disc is read back after the write (verify), at about the speed it was written.
        const quint64 passes = d.method == 0 ? 2 : 1;
        seconds.prepend(rate < 1 ? 0 : int(passes * bytes / rate));
    }
    d.model.updateEstimates(names, seconds, true);
    d.ui->timeLeftLabel->setText(d.model.totalTimeText());
}

void WizardFilePage::fitFileDialog(QFileDialog& dialog)
{
    // The list of every type is long: the type box shows what fits instead of stretching the
    // window past the screen.
    if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        types->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        types->setMinimumContentsLength(40);
    }
    // Words only on Open and Cancel, as on every button of the wizard.
    for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        for (QAbstractButton* button : box->buttons())
            button->setIcon(QIcon());
    // Room for the folder's columns (size, type, date) without cutting them.
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        const int widths[] = {0, 90, 130, 150};
        for (int column = 1; column < 4; ++column)
            header->resizeSection(column, widths[column]);
    }
    dialog.resize(760, 480);
}

QString WizardFilePage::addDialogFolder() const
{
    QString dir;
    if (d.service)
        d.service->getLastBrowsedDir(dir);
    if (m_browsed && QFileInfo(dir).isDir())
        return dir;
    // Nothing chosen with the dialog or dropped yet: the videos given on the command line
    // are the best hint where the others are.
    for (int row = d.model.rowCount() - 1; row >= 0; --row) {
        const QFileInfo folder(QFileInfo(d.model.sourcePath(row)).absolutePath());
        if (folder.isDir())
            return folder.absoluteFilePath();
    }
    return dir;
}

void WizardFilePage::addFiles()
{
    QString filter;
    for (const auto& [name, patterns] : d.fileTypes)
        //: a file type of the Add dialog's filter; %1 is its name ("MPEG-4", "All Video")
        filter += tr("%1 files").arg(QCoreApplication::translate("FileTypes", name.c_str())) +
                  QStringLiteral(" (") + QString::fromUtf8(patterns.c_str()) +
                  QStringLiteral(");;");
    //: title of the file dialog that adds videos
    QFileDialog dialog(&d, tr("Open Video") + QStringLiteral(" -- ") + d.windowTitle(),
                       addDialogFolder(), filter);
    dialog.setObjectName(QStringLiteral("addFileDialog"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // It would inherit the wizard's sheet (white labels on its light fields): it gets the look
    // of the wizard's other dialogs instead.
    dialog.setStyleSheet(fileDialogStyleSheet());
    fitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QStringList names = dialog.selectedFiles();
    if (!names.isEmpty())
        addFileNames(names);
}

void WizardFilePage::addFileNames(const QStringList& names)
{
    QStringList kept;
    QString folder;
    for (const QString& name : names) {
        TranscodeJob entry;
        if (d.service && d.service->findQueuedFile(name, entry)) {
            QStringList queued;
            for (const auto& source : entry.sources) {
                std::u16string sourceName;
                if (source && source->GetFileName(sourceName) == 0 && !sourceName.empty())
                    queued << QString::fromStdU16String(sourceName);
            }
            WizardMessages::alreadyQueued(queued.isEmpty() ? QStringList{name} : queued);
            continue;
        }
        kept << name;
        folder = QFileInfo(name).absolutePath();
    }
    if (kept.isEmpty())
        return;
    m_browsed = true;
    if (d.service)
        d.service->setLastBrowsedDir(QDir(folder));
    QList<QFileInfo> files;
    for (const QString& name : kept)
        files << QFileInfo(name);
    QStringList unsupported;
    addFilesToModel(files, unsupported, false);
    updateDestinationInfo();
    if (!unsupported.isEmpty()) {
        UnSupportedFileTypeDlg dialog;
        dialog.setFileNames(unsupported);
        dialog.exec();
    }
}

void WizardFilePage::addFilesToModel(const QList<QFileInfo>& files, QStringList& unsupported,
                                     bool addToTop)
{
    QStringList paths;
    QStringList unknownTypes;
    const QStringList patterns = FileAnalysisRunner::patterns(d.fileTypes);
    for (const QFileInfo& file : files) {
        paths << file.absoluteFilePath();
        if (!FileAnalysisRunner::isSupported(file.fileName(), patterns))
            unknownTypes << file.fileName();
    }
    AnalysisResults results;
    if (paths.isEmpty() || !d.analysis.run(paths, d.profile, true, results))
        return;
    const int count = d.analysisCanceled ? int(results.resultCodes.size()) : int(paths.size());
    d.analysisCanceled = false;
    if (count == 0)
        return;
    const FileAnalysisRunner::ModelLists lists =
        FileAnalysisRunner::modelLists(paths, results, count, unknownTypes, d.profile);
    // Only the files of an unknown type that were not added are "not supported": the engine
    // may read a video whatever its extension.
    unsupported << lists.unsupported;
    d.model.insertFiles(lists.sources, lists.outputPaths, lists.estimates, lists.directFiles,
                        addToTop);
    d.ui->startButton->setEnabled(d.model.rowCount() > 0);
    recomputeTransferTimes();
    if (!lists.errors.isEmpty()) {
        ErrorDialog errors;
        for (const auto& [path, code] : lists.errors)
            errors.addRow(path, code);
        errors.run(tr("Invalid Files"),
                   tr("Kavo Transfer Wizard is unable to recognize the following files:"), false);
    }
}

void WizardFilePage::reportMissingFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    ErrorDialog errors;
    for (const QString& path : paths)
        errors.addRow(path, kvt::CRTL_FILE_DOES_NOT_EXIST);
    errors.run(tr("Invalid Files"),
               tr("Kavo Transfer Wizard is unable to recognize the following files:"), false);
}

void WizardFilePage::reanalyzeAllFiles()
{
    QStringList paths;
    for (int row = 0; row < d.model.rowCount(); ++row)
        paths << d.model.sourcePath(row);
    AnalysisResults results;
    if (paths.isEmpty() || !d.analysis.run(paths, d.profile, true, results))
        return;
    const int count = d.analysisCanceled ? int(results.resultCodes.size()) : int(paths.size());
    d.analysisCanceled = false;
    const FileAnalysisRunner::ModelLists lists =
        FileAnalysisRunner::modelLists(paths, results, count, QStringList(), d.profile);
    d.model.updateEstimates(lists.sources, lists.estimates, false, lists.outputPaths);
    d.ui->timeLeftLabel->setText(d.model.totalTimeText());
}

void WizardFilePage::removeFiles()
{
    QList<int> rows;
    for (const QModelIndex& index : d.ui->fileListTableView->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    // Remove runs of adjacent rows from the last run back, so earlier rows keep their numbers.
    QStringList removed;
    int end = int(rows.size());
    while (end > 0) {
        int first = end - 1;
        while (first > 0 && rows[first - 1] == rows[first] - 1)
            --first;
        removed = d.model.removeRows(rows[first], end - first) + removed;
        end = first;
    }
    if (d.service)
        d.service->removeFromTranscodeQueue(removed);
    if (d.model.rowCount() == 0)
        d.ui->startButton->setEnabled(false);
    updateDestinationInfo();
}

void WizardFilePage::fileClicked(const QModelIndex& index)
{
    if (!index.isValid() || index.column() != 2)
        return;
    QString name;
    int conversionSeconds = 0;
    int writeSeconds = 0;
    int status = 0;
    if (d.model.rowValues(index.row(), name, conversionSeconds, writeSeconds, status) &&
        conversionSeconds >= 1)
        WizardMessages::fileInformation();
}

void WizardFilePage::fileChangedInUSBDrive(const QString& driveLetter, quint64 newFreeSpace)
{
    d.drives.updateFreeSpace(driveLetter.toStdU16String(), newFreeSpace);
    updateDestinationInfo();
}
