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

#include "DestinationDrives.h"
#include "DialogStyleSheet.h"
#include "ErrorDialog.h"
#include "FileAnalysisRunner.h"
#include "FileInfoModel.h"
#include "ISourceMedia.h"
#include "LabelElider.h"
#include "TranscodeEnums.h"
#include "TranscodeJob.h"
#include "TransferWizardServericeInterface.h"
#include "UnSupportedFileTypeDlg.h"
#include "WizardChoices.h"
#include "WizardMessages.h"
#include "WriteRateStore.h"
#include "ui_TransferWizardDlg.h"

namespace {

// Free-space texts: the page's normal text colour, and the warning colour when the videos do
// not fit. Both stay readable on the dark page.
const char* const NormalTextColor = "white";
const char* const WarningTextColor = "#FF5C5C";

// The page's texts are the wizard dialog's.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(TransferWizardDlg)
};

} // namespace

WizardFilePage::WizardFilePage(QWidget* parent) : QWidget(parent) {}

void WizardFilePage::attach(Ui::TransferWizardDlg* form, TransferWizardServericeInterface* service,
                            FileInfoModel* model, DestinationDrives* drives, WizardChoices* choices,
                            FileAnalysisRunner* analysis)
{
    ui = form;
    m_service = service;
    m_model = model;
    m_drives = drives;
    m_choices = choices;
    m_analysis = analysis;
    m_noDriveText = ui->remainSpaceText->text();
    ui->fileListTableView->showFileList(model);
    ui->remainDiskspaceProgressBar->setRange(0, 100);
    connect(ui->removefilePushButton, &QPushButton::clicked, this, &WizardFilePage::removeFiles);
    connect(ui->addfilePushButton, &QPushButton::clicked, this, &WizardFilePage::addFiles);
    connect(ui->driveComboBox, &SuperComboBox::currentIndexChanged, this,
            &WizardFilePage::destinationDriveChanged);
    connect(ui->fileListTableView, &QAbstractItemView::clicked, this, &WizardFilePage::fileClicked);
}

void WizardFilePage::reset()
{
    m_analysisCanceled = false;
    ui->driveComboBox->clear();
    ui->remainSpaceText->setText(m_noDriveText);
}

void WizardFilePage::setup(const std::u16string& preferredDrive)
{
    m_model->setProgressMode(false);
    ui->remainSpaceText->setText(m_noDriveText);
    refreshDrives(false);
    m_drives->fillCombo(*ui->driveComboBox);
    const USBDriveData* drive = m_drives->current(m_choices->method);
    selectDriveByName(!preferredDrive.empty() ? preferredDrive
                      : drive                 ? drive->root
                                              : std::u16string());
    syncDriveCombo();
}

void WizardFilePage::acceptDrag(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || urls.first().toString().isEmpty())
        return;
    const QStringList patterns = FileAnalysisRunner::patterns(m_fileTypes);
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
    if (m_service)
        m_drives->refresh(*m_service, usbOnly);
    // Free space of the USB drives follows copies made by other programs while the page shows,
    // and the burners' discs follow the user putting one in.
    std::vector<std::u16string> roots;
    for (const USBDriveData& drive : m_drives->usbDrives())
        roots.push_back(drive.root);
    std::vector<std::u16string> burners;
    for (const USBDriveData& drive : m_drives->burners())
        burners.push_back(drive.root);
    emit drivesListed(roots, burners);
}

bool WizardFilePage::selectDriveByName(const std::u16string& name)
{
    const bool usable = m_drives->selectByName(name, m_choices->method);
    emit methodChosen(m_choices->method);
    return usable;
}

void WizardFilePage::syncDriveCombo()
{
    int index = m_drives->comboIndex(m_choices->method);
    if (index >= ui->driveComboBox->count())
        index = 0;
    const bool blocked = ui->driveComboBox->blockSignals(true);
    ui->driveComboBox->setCurrentIndex(index);
    ui->driveComboBox->blockSignals(blocked);
    destinationDriveChanged();
}

void WizardFilePage::destinationDriveChanged()
{
    const int chosen = m_drives->selectComboIndex(ui->driveComboBox->currentIndex());
    if (chosen < 0)
        return;
    m_choices->method = chosen;
    emit methodChosen(chosen);
    recomputeTransferTimes();
    updateDestinationInfo();
}

QString WizardFilePage::driveStatusMessage(const USBDriveData* drive) const
{
    QString largestName;
    const quint64 largest =
        DestinationDrives::largestFile(*m_model, m_choices->start.burnOnly, largestName);
    return DestinationDrives::statusMessage(drive, m_choices->method, m_model->totalOutputBytes(),
                                            m_choices->start.requiredFSType, largest, largestName);
}

void WizardFilePage::updateDestinationInfo()
{
    const USBDriveData* drive = m_drives->current(m_choices->method);
    const auto setColor = [](QLabel* label, const char* color) {
        label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(color)));
    };
    ui->warningDeviceIsfull->setStyleSheet(QString());
    if (!drive) {
        ui->unitsLabel->hide();
        ui->USBLink->hide();
        ui->remainSpaceText->setText(m_noDriveText);
        setColor(ui->remainSpaceText, NormalTextColor);
        ui->remainDiskspaceProgressBar->setValue(0);
        ui->warningDeviceIsfull->setText(driveStatusMessage(nullptr));
        ui->warningDeviceIsfull->show();
        ui->remainSpaceLabel->hide();
        ui->warningIcon->hide();
        ui->remainSpaceText->hide();
    } else {
        for (QWidget* widget :
             {static_cast<QWidget*>(ui->remainSpaceLabel), static_cast<QWidget*>(ui->warningIcon),
              static_cast<QWidget*>(ui->remainSpaceText), static_cast<QWidget*>(ui->unitsLabel),
              static_cast<QWidget*>(ui->warningDeviceIsfull)})
            widget->show();
        if (m_choices->method == 1) {
            LabelElider::setText(
                ui->USBLink, QString::fromStdU16String(drive->displayName),
                QUrl::fromLocalFile(QString::fromStdU16String(drive->root)).toString(),
                QStringLiteral("#2bb0dc"));
        }
        ui->USBLink->setVisible(m_choices->method == 1);

        const DestinationDrives::SpaceUsage usage =
            DestinationDrives::spaceUsage(*drive, m_model->totalOutputBytes());
        ui->remainDiskspaceProgressBar->setValue(usage.percent);
        QString number;
        ui->unitsLabel->setText(FileInfoModel::sizeText(usage.remaining, false, &number));
        ui->remainSpaceText->setText(number);

        const QString message = driveStatusMessage(drive);
        const bool problem = usage.remaining == 0 || !message.isEmpty();
        setColor(ui->remainSpaceText, problem ? WarningTextColor : NormalTextColor);
        setColor(ui->unitsLabel, problem ? WarningTextColor : NormalTextColor);
        ui->warningDeviceIsfull->setText(message);
        ui->warningDeviceIsfull->setVisible(problem);
        ui->warningIcon->setVisible(problem);
        if (drive->status == DriveNoMediumInfo) {
            ui->remainSpaceLabel->hide();
            ui->remainSpaceText->hide();
            ui->unitsLabel->hide();
            ui->warningIcon->hide();
            ui->remainDiskspaceProgressBar->setValue(0);
        }
    }
    ui->timeLeftLabel->setText(m_model->totalTimeText());
}

bool WizardFilePage::refreshAfterVolumeChange(bool usbOnly, bool shown)
{
    // Remember the chosen drive by name before the list is read again: after a removal another
    // drive may sit at its old place.
    const USBDriveData* drive = m_drives->current(m_choices->method);
    const std::u16string name = drive ? drive->root : std::u16string();
    refreshDrives(usbOnly);
    m_drives->fillCombo(*ui->driveComboBox);
    const bool usable = selectDriveByName(name);
    recomputeTransferTimes();
    if (shown) {
        syncDriveCombo();
        updateDestinationInfo();
    }
    return usable;
}

void WizardFilePage::recomputeTransferTimes()
{
    QStringList names;
    for (int row = 0; row < m_model->rowCount(); ++row)
        names << m_model->sourcePath(row);
    const USBDriveData* drive = m_drives->current(m_choices->method);
    const quint32 rate = DestinationDrives::writeRate(drive, m_choices->method);
    // A disc is read back after the write (verify). A rate measured on the drive covers both;
    // an announced one is the write's alone, and the read-back takes its share on top.
    const QString root = drive ? QString::fromStdU16String(drive->root) : QString();
    const double passes = m_choices->method == 0 && WriteRateStore::rate(root) == 0
                              ? 1.0 + WriteRateStore::verifyShare(root)
                              : 1.0;
    QList<int> seconds;
    for (int i = int(names.size()) - 1; i >= 0; --i) {
        const QFileInfo info(names[i]);
        if (!info.exists()) {
            names.removeAt(i);
            continue;
        }
        // What is written is the converted file when there is one.
        const int row = m_model->indexOfFile(names[i]);
        const quint64 bytes = row >= 0 ? m_model->outputBytes(row) : quint64(info.size());
        seconds.prepend(rate < 1 ? 0 : int(passes * double(bytes) / rate));
    }
    m_model->updateEstimates(names, seconds, true);
    ui->timeLeftLabel->setText(m_model->totalTimeText());
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
    if (m_service)
        m_service->getLastBrowsedDir(dir);
    if (m_browsed && QFileInfo(dir).isDir())
        return dir;
    // Nothing chosen with the dialog or dropped yet: the videos given on the command line
    // are the best hint where the others are.
    for (int row = m_model->rowCount() - 1; row >= 0; --row) {
        const QFileInfo folder(QFileInfo(m_model->sourcePath(row)).absolutePath());
        if (folder.isDir())
            return folder.absoluteFilePath();
    }
    return dir;
}

void WizardFilePage::addFiles()
{
    QString filter;
    for (const auto& [name, patterns] : m_fileTypes)
        //: a file type of the Add dialog's filter; %1 is its name ("MPEG-4", "All Video")
        filter +=
            Texts::tr("%1 files").arg(QCoreApplication::translate("FileTypes", name.c_str())) +
            QStringLiteral(" (") + QString::fromUtf8(patterns.c_str()) + QStringLiteral(");;");
    //: title of the file dialog that adds videos
    QFileDialog dialog(window(),
                       Texts::tr("Open Video") + QStringLiteral(" -- ") + window()->windowTitle(),
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
        if (m_service && m_service->findQueuedFile(name, entry)) {
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
    if (m_service)
        m_service->setLastBrowsedDir(QDir(folder));
    QList<QFileInfo> files;
    for (const QString& name : kept)
        files << QFileInfo(name);
    appendFiles(files, false);
}

void WizardFilePage::appendFiles(const QList<QFileInfo>& files, bool addToTop)
{
    QStringList unsupported;
    addFilesToModel(files, unsupported, addToTop);
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
    const QStringList patterns = FileAnalysisRunner::patterns(m_fileTypes);
    for (const QFileInfo& file : files) {
        paths << file.absoluteFilePath();
        if (!FileAnalysisRunner::isSupported(file.fileName(), patterns))
            unknownTypes << file.fileName();
    }
    AnalysisResults results;
    if (paths.isEmpty() || !m_analysis->run(paths, m_choices->profile, true, results))
        return;
    const int count = analysedCount(int(paths.size()), int(results.resultCodes.size()));
    if (count == 0)
        return;
    const FileAnalysisRunner::ModelLists lists =
        FileAnalysisRunner::modelLists(paths, results, count, unknownTypes, m_choices->profile);
    // Only the files of an unknown type that were not added are "not supported": the engine
    // may read a video whatever its extension.
    unsupported << lists.unsupported;
    // Burning as they are, every file is written unchanged, whatever the analysis planned:
    // what goes on the disc is the file itself.
    QList<FileInfoModel::Estimate> estimates = lists.estimates;
    if (m_choices->start.burnOnly)
        for (int i = 0; i < estimates.size() && i < lists.sources.size(); ++i) {
            const FileInfoModel::SourceFile& source = lists.sources[i];
            estimates[i].outputBytes =
                source.partBytes ? source.partBytes : quint64(QFileInfo(source.path).size());
        }
    m_model->insertFiles(lists.sources, lists.outputPaths, estimates,
                         m_choices->start.burnOnly ? paths : lists.directFiles, addToTop);
    emit filesChanged(m_model->rowCount());
    recomputeTransferTimes();
    showInvalidFiles(lists.errors);
}

void WizardFilePage::showInvalidFiles(const QList<QPair<QString, int>>& files)
{
    if (files.isEmpty())
        return;
    ErrorDialog errors;
    for (const auto& [path, code] : files)
        errors.addRow(path, code);
    errors.run(Texts::tr("Invalid Files"),
               Texts::tr("Kavo Transfer Wizard is unable to recognize the following files:"),
               false);
}

void WizardFilePage::reportMissingFiles(const QStringList& paths)
{
    QList<QPair<QString, int>> files;
    for (const QString& path : paths)
        files.append({path, kvt::CRTL_FILE_DOES_NOT_EXIST});
    showInvalidFiles(files);
}

void WizardFilePage::reanalyzeAllFiles()
{
    QStringList paths;
    for (int row = 0; row < m_model->rowCount(); ++row)
        paths << m_model->sourcePath(row);
    AnalysisResults results;
    if (paths.isEmpty() || !m_analysis->run(paths, m_choices->profile, true, results))
        return;
    const int count = analysedCount(int(paths.size()), int(results.resultCodes.size()));
    const FileAnalysisRunner::ModelLists lists =
        FileAnalysisRunner::modelLists(paths, results, count, QStringList(), m_choices->profile);
    m_model->updateEstimates(lists.sources, lists.estimates, false, lists.outputPaths);
    ui->timeLeftLabel->setText(m_model->totalTimeText());
}

void WizardFilePage::removeFiles()
{
    QList<int> rows;
    for (const QModelIndex& index : ui->fileListTableView->selectionModel()->selectedRows())
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
        removed = m_model->removeRows(rows[first], end - first) + removed;
        end = first;
    }
    if (m_service)
        m_service->removeFromTranscodeQueue(removed);
    emit filesChanged(m_model->rowCount());
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
    if (m_model->rowValues(index.row(), name, conversionSeconds, writeSeconds, status) &&
        conversionSeconds >= 1)
        WizardMessages::fileInformation();
}

void WizardFilePage::fileChangedInUSBDrive(const QString& driveLetter, quint64 newFreeSpace)
{
    m_drives->updateFreeSpace(driveLetter.toStdU16String(), newFreeSpace);
    updateDestinationInfo();
}

void WizardFilePage::cancelAnalysis()
{
    m_analysisCanceled = true;
    m_analysis->cancel();
}

int WizardFilePage::analysedCount(int paths, int results)
{
    const int count = m_analysisCanceled ? results : paths;
    m_analysisCanceled = false;
    return count;
}
