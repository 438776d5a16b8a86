#include "TransferWizardDlg.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QUrl>

#include "DialogStyleSheet.h"
#include "FinishPageDrive.h"
#include "Formatting.h"
#include "FramelessWindow.h"
#include "HelpChooseDeviceDlg.h"
#include "KavoSettings.h"
#include "ScreenFit.h"
#include "SettingsAccessors.h"
#include "SharpPixmap.h"
#include "TransferWizardServericeInterface.h"
#include "WizardAccessibleNames.h"
#include "WizardFooter.h"
#include "WizardKeyboard.h"
#include "WizardMessages.h"
#include "ui_TransferWizardDlg.h"

// Outside any namespace: the resource initialiser's name is global.
static void registerDialogResources()
{
    Q_INIT_RESOURCE(dialog);
}

namespace {

const char* const WindowIcon = ":/DeviceTransferWizard/portavo.png";
// The form carries this host in its help links; the real target is chosen at run time.
const char* const FormHelpHost = "http://help.portavo.invalid";
const char* const MethodHelpPath = "/kavo/windows/portavo/support/method/en";
const char* const NeedHelpPath = "/kavo/windows/portavo/support/help/en";

QString readResourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

TransferWizardDlg::TransferWizardDlg(TransferWizardServericeInterface* service,
                                     const QString& mountInfoPath)
    : QDialog(nullptr), service(service), ui(new Ui::TransferWizardDlg), analysis(service, this),
      volumeWatcher(mountInfoPath)
{
    initPortavoResources();
    registerDialogResources();

    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint);
    setFixedWidth(570);
    baseWindowTitle = windowTitle();
    footer = std::make_unique<WizardFooter>(ui.get());
    ui->filePage->attach(ui.get(), service, &model, &drives, &choices, &analysis);
    ui->transferPage->attach(ui.get(), service, &model, &drives, &choices);
    setWindowIcon(QIcon(QString::fromLatin1(WindowIcon)));

    ui->titleBar->setButtonPosition(WindowTitleBar::RightButtons);
    ui->titleBar->setImagePath(QStringLiteral(":/TitleBar"));

    applyStyleSheets();
    setHelpLinks();

    finishDrive = new FinishPageDrive(ui->finishFrame, ui->finishFrameLayout);

    connect(ui->cancelButton, &QPushButton::clicked, this,
            &TransferWizardDlg::cancelProcessWarning);
    connect(ui->nextButton, &QPushButton::clicked, this, &TransferWizardDlg::nextPage);
    connect(ui->backButton, &QPushButton::clicked, this, &TransferWizardDlg::prevPage);
    connect(ui->startButton, &QPushButton::clicked, this, &TransferWizardDlg::startButtonClicked);
    for (ProfileRadioButton* button :
         {ui->KavoRadioButton, ui->KavoHDRadioButton, ui->KavoPlusHDRadioButton}) {
        connect(button, &QRadioButton::clicked, this, &TransferWizardDlg::devicetypeButtonClicked);
        connect(button, &ProfileRadioButton::mouseExit, this, &TransferWizardDlg::kavoButtonExit);
    }
    connect(ui->KavoRadioButton, &ProfileRadioButton::mouseOver, this,
            &TransferWizardDlg::kavoButtonHover);
    connect(ui->KavoHDRadioButton, &ProfileRadioButton::mouseOver, this,
            &TransferWizardDlg::kavoHDButtonHover);
    connect(ui->KavoPlusHDRadioButton, &ProfileRadioButton::mouseOver, this,
            &TransferWizardDlg::kavoPlusHDButtonHover);
    connect(ui->burnDiskRadioButton, &QRadioButton::clicked, this,
            &TransferWizardDlg::tranfermethodButtonClicked);
    connect(ui->CopyToUSBRadioButton, &QRadioButton::clicked, this,
            &TransferWizardDlg::tranfermethodButtonClicked);
    // The space monitor reports from its own thread; the queued delivery brings the update
    // to the GUI thread.
    connect(this, &TransferWizardDlg::usbDriveSpaceChanged, this,
            &TransferWizardDlg::fileChangedInUSBDrive);
    connect(this, &TransferWizardDlg::burnerDiscChanged, this,
            &TransferWizardDlg::burnerDiscsChanged);
    connect(this, &TransferWizardDlg::destinationDriveRemoved, this,
            &TransferWizardDlg::cancelTransferProcess);
    connect(ui->titleBar, &WindowTitleBar::closeClicked, this, &QWidget::close);
    connect(ui->titleBar, &WindowTitleBar::closeDirtyClicked, this, &QWidget::close);
    connect(ui->titleBar, &WindowTitleBar::collapseClicked, this,
            &TransferWizardDlg::showMinimizedSlot);
    connect(ui->helpChooseLabel, &QLabel::linkActivated, this,
            &TransferWizardDlg::showChooseDeviceTypeHelp);
    connect(&analysis, &FileAnalysisRunner::canceled, this, &TransferWizardDlg::cancelAnalyzing);
    connect(&volumeWatcher, &VolumeChangeWatcher::volumesChanged, this,
            &TransferWizardDlg::volumesChanged);
    connect(ui->filePage, &WizardFilePage::methodChosen, this, &TransferWizardDlg::showMethod);
    connect(ui->filePage, &WizardFilePage::filesChanged, this,
            [this](int count) { ui->startButton->setEnabled(count > 0); });
    // Free space of the USB drives follows copies made by other programs while the page shows,
    // and the burners' discs follow the user putting one in.
    connect(
        ui->filePage, &WizardFilePage::drivesListed, this,
        [this](const std::vector<std::u16string>& usb, const std::vector<std::u16string>& burners) {
            spaceMonitor.start(usb, burners,
                               this->service ? this->service->discStateProbe()
                                             : VolumeSpaceMonitor::DiscProbe());
        });
    connect(ui->transferPage, &WizardTransferPage::ended, this,
            &TransferWizardDlg::transferPageEnded);
    connect(ui->transferPage, &WizardTransferPage::retryOffered, this,
            [this] { footer->offerBackToList(); });

    ui->KavoRadioButton->setChecked(true);
    ui->burnDiskRadioButton->setChecked(true);

    ui->registerLabel->hide();

    readWindowSettings();
    ui->Stack->setCurrentIndex(TransferProgressPage);
    new WizardKeyboard(this);
    WizardAccessibleNames::apply(this);
    new ScreenFit(this);
    new FramelessWindow(this, ui->titleBar);
}

TransferWizardDlg::~TransferWizardDlg() = default;

void TransferWizardDlg::applyStyleSheets()
{
    setStyleSheet(readResourceText(QStringLiteral(":/TransferWizardDlg/TransferWizardDlg.qss")));
}

void TransferWizardDlg::setHelpLinks()
{
    for (auto [label, path] :
         {std::pair<QLabel*, const char*>(ui->learnMoreLabelForTransfer, MethodHelpPath),
          std::pair<QLabel*, const char*>(ui->needHelpLabel, NeedHelpPath)}) {
        QString text = label->text();
        text.replace(QString::fromLatin1(FormHelpHost) + QString::fromLatin1(path),
                     helpPageUrl(QString::fromLatin1(path)).toHtmlEscaped());
        label->setText(text);
    }
}

void TransferWizardDlg::readWindowSettings()
{
    if (!SettingsKeyExists(std::string("Player")))
        return;
    kvtl::RefCountedPtr<kvds::IKavoSettings> player;
    if (!OpenSettings(false, true, std::string("Player"), false, player) || !player)
        return;
    kvtl::RefCountedPtr<kvds::IKavoSettings> playback;
    if (!player->OpenSubKey(std::string("Playback"), playback) || !playback)
        return;
    bool onTop = false;
    if (playback->GetValue(std::string("AlwaysOnTop"), onTop) && onTop)
        setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
}

// ---- Operations called by the controller ------------------------------------------------

void TransferWizardDlg::setFileTypes(const QString& label, const FileTypeMap& types)
{
    setFileTypes(label, [types] { return types; });
}

void TransferWizardDlg::setFileTypes(const QString& label, std::function<FileTypeMap()> source)
{
    if (!label.isEmpty())
        setWindowTitle(baseWindowTitle + QStringLiteral(" (") + label + QStringLiteral(")"));
    ui->filePage->setFileTypes(std::move(source));
}

void TransferWizardDlg::setWizardStartParameters(const WizardStartParameters& parameters)
{
    if (!service)
        return;
    page = WelcomePage;
    choices.start = parameters;
    if (parameters.profile == 3 || parameters.profile == 1 || parameters.profile == 4)
        choices.profile = parameters.profile;
    if (parameters.driveType == 0)
        choices.method = 0;
    else if (parameters.driveType == 1)
        choices.method = 1;
    if (parameters.burnOnly || !parameters.driveLetter.empty())
        page = FileListPage;
    preselectMethod = parameters.driveType != 0 && parameters.driveType != 1 &&
                      parameters.driveLetter.empty() && !parameters.burnOnly;
    ui->filePage->selectDriveByName(parameters.driveLetter);
    // The drive lists are read only when the file page shows; the remembered drive is looked
    // up again then, or the first drive of its kind would be taken instead.
    rememberedDrive = parameters.driveLetter;
    showPage();
}

void TransferWizardDlg::resetWizard()
{
    spaceMonitor.stop();
    page = WelcomePage;
    choices = WizardChoices();
    model.clear();
    drives.clear();
    showRegisterNote = false;
    profileChanged = false;
    rememberedDrive.clear();
    preselectMethod = false;
    ui->filePage->reset();
    ui->transferPage->reset();
    ui->KavoRadioButton->setChecked(true);
    ui->burnDiskRadioButton->setChecked(true);
    footer->resetBackButton();
    footer->resetNextText();
}

void TransferWizardDlg::appendFileInfos(const QList<QFileInfo>& files, bool addToTop)
{
    if (addToTop)
        showRegisterNote = true;
    ui->filePage->appendFiles(files, addToTop);
}

void TransferWizardDlg::reportMissingFiles(const QStringList& paths)
{
    ui->filePage->reportMissingFiles(paths);
}

void TransferWizardDlg::volumeSpaceChanged(const std::u16string& drive, quint64 newFreeSpace)
{
    emit usbDriveSpaceChanged(QString::fromStdU16String(drive), newFreeSpace);
}

QString TransferWizardDlg::currentPageName() const
{
    switch (page) {
    case WelcomePage:
        return QStringLiteral("WELCOMEPAGE");
    case DeviceTypePage:
        return QStringLiteral("DEVICETYPEPAGE");
    case TransferMethodPage:
        return QStringLiteral("TRANSFERMETHODPAGE");
    case FileListPage:
        return QStringLiteral("FILELISTPAGE");
    case TransferProgressPage:
        return QStringLiteral("TRANSERPROGRESSPAGE");
    default:
        return QStringLiteral("FINISHPAGE");
    }
}

void TransferWizardDlg::waitForWorkerIdle()
{
    if (!service)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // At most 30 s; the event loop keeps turning between the timed waits.
    for (int i = 0; i < 100; ++i) {
        if (service->waitForWorker(300))
            break;
        QCoreApplication::processEvents();
    }
    QApplication::restoreOverrideCursor();
}

// ---- Page machine -------------------------------------------------------------------------

void TransferWizardDlg::showPage()
{
    // A setup may already move the page value on (a transfer that ends at once); the page
    // being set up is the one shown.
    const int shown = page;
    switch (shown) {
    case WelcomePage:
        setupWelcomePage();
        break;
    case DeviceTypePage:
        setupDeviceTypePage();
        break;
    case TransferMethodPage:
        setupMethodPage();
        break;
    case FileListPage:
        setupFilePage();
        break;
    case TransferProgressPage:
        setupTransferPage();
        break;
    case FinishPage:
        setupFinishPage();
        break;
    default:
        break;
    }
    setAcceptDrops(shown == FileListPage);
    if (shown >= WelcomePage && shown <= FinishPage)
        ui->Stack->setCurrentIndex(shown);
}

void TransferWizardDlg::setupWelcomePage()
{
    footer->setButtons(false, false, true, false);
    footer->hideFooterNav();
}

void TransferWizardDlg::setupDeviceTypePage()
{
    footer->setButtons(true, false, true, false);
    if (choices.profile == 1)
        ui->KavoHDRadioButton->setChecked(true);
    else if (choices.profile == 4)
        ui->KavoPlusHDRadioButton->setChecked(true);
    else
        ui->KavoRadioButton->setChecked(true);
    devicetypeButtonClicked();
    footer->updateFooterNav(3);
}

void TransferWizardDlg::setupMethodPage()
{
    footer->setButtons(true, false, true, false);
    footer->resetNextText();
    if (preselectMethod)
        preselectUsableMethod();
    updateMethodTexts();
    footer->updateFooterNav(1);
}

void TransferWizardDlg::preselectUsableMethod()
{
    // Once: a choice the user made on this page stays when they come back to it.
    preselectMethod = false;
    QList<USBDriveData> burners;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    service->GetBurnerDrives(burners);
    QApplication::restoreOverrideCursor();
    choices.method = burners.isEmpty() ? 1 : 0;
    (choices.method == 0 ? ui->burnDiskRadioButton : ui->CopyToUSBRadioButton)->setChecked(true);
}

void TransferWizardDlg::setupFilePage()
{
    footer->setButtons(true, true, false, false);
    ui->startButton->setEnabled(true);
    if (choices.start.burnOnly)
        ui->backButton->hide();
    ui->filePage->setup(rememberedDrive);
    rememberedDrive.clear();
    footer->updateFooterNav(2);
    if (profileChanged) {
        ui->filePage->reanalyzeAllFiles();
        profileChanged = false;
    }
    ui->filePage->updateDestinationInfo();
    ui->startButton->setEnabled(model.rowCount() > 0);
}

void TransferWizardDlg::setupTransferPage()
{
    footer->resetBackButton();
    footer->setButtons(false, false, false, true);
    finishDrive->clear();
    ui->transferPage->setup(currentDrive(), ui->driveComboBox->currentText(),
                            ui->driveComboBox->currentSubText());
    footer->updateFooterNav(0);
}

void TransferWizardDlg::transferPageEnded(bool closes)
{
    if (closes)
        page = FinishPage;
    footer->showTransferEnd(page == FinishPage);
}

bool TransferWizardDlg::isTransferEnded() const
{
    return ui->transferPage->isEnded();
}

void TransferWizardDlg::setupFinishPage()
{
    footer->setButtons(false, false, true, false);
    footer->showFinish();
    ui->registerLabel->setVisible(showRegisterNote);
    footer->hideFooterNav();
    const USBDriveData* drive = currentDrive();
    finishDrive->show(choices.method == 1 && drive,
                      drive ? QString::fromStdU16String(drive->root) : QString());
}

void TransferWizardDlg::nextPage()
{
    if (page < FinishPage) {
        ++page;
        if (page == DeviceTypePage && choices.start.skipProfilePage)
            ++page;
        showPage();
    } else {
        accept();
    }
}

void TransferWizardDlg::prevPage()
{
    if (footer->offersBackToList() && isTransferEnded()) {
        footer->resetBackButton();
        footer->resetNextText();
        ui->transferPage->prepareRetry();
        page = FileListPage;
        showPage();
        return;
    }
    if (page >= DeviceTypePage) {
        --page;
        if (page == DeviceTypePage && choices.start.skipProfilePage)
            --page;
        showPage();
    } else {
        done(0);
    }
}

void TransferWizardDlg::startButtonClicked()
{
    const QString message = destinationRefusal();
    if (message.isEmpty()) {
        startTransfer();
        return;
    }
    WizardMessages::warning(message);
}

void TransferWizardDlg::startTransfer()
{
    nextPage();
}

QString TransferWizardDlg::destinationRefusal() const
{
    return ui->filePage->driveStatusMessage(currentDrive());
}

void TransferWizardDlg::useProfile(int transcodeProfile)
{
    if (transcodeProfile >= 0)
        choices.profile = transcodeProfile;
    profileChanged = false;
}

void TransferWizardDlg::showFilePage()
{
    page = FileListPage;
    showPage();
}

void TransferWizardDlg::chooseDestination(const std::u16string& root)
{
    ui->filePage->selectDriveByName(root);
    tranfermethodButtonClicked();
    ui->filePage->syncDriveCombo();
    ui->filePage->updateDestinationInfo();
}

// ---- Profile page -------------------------------------------------------------------------

void TransferWizardDlg::devicetypeButtonClicked()
{
    const int before = choices.profile;
    if (ui->KavoRadioButton->isChecked())
        choices.profile = 3;
    else if (ui->KavoHDRadioButton->isChecked())
        choices.profile = 1;
    else if (ui->KavoPlusHDRadioButton->isChecked())
        choices.profile = 4;
    showProfileText(choices.profile);
    if (choices.profile != before)
        profileChanged = true;
}

void TransferWizardDlg::showProfileText(int forProfile)
{
    if (forProfile == 4)
        kavoPlusHDButtonHover();
    else if (forProfile == 1)
        kavoHDButtonHover();
    else
        kavoButtonHover();
}

void TransferWizardDlg::kavoButtonHover()
{
    ui->suggestionLabel->setText(
        tr("This choice will work with any Kavo Certified %1").arg(choices.start.deviceLabel));
}

void TransferWizardDlg::kavoHDButtonHover()
{
    ui->suggestionLabel->setText(
        tr("Only choose this if you have a Kavo HD Certified %1").arg(choices.start.deviceLabel));
}

void TransferWizardDlg::kavoPlusHDButtonHover()
{
    ui->suggestionLabel->setText(tr("Only choose this if you have a Kavo Plus HD Certified %1")
                                     .arg(choices.start.deviceLabel));
}

void TransferWizardDlg::kavoButtonExit()
{
    showProfileText(choices.profile);
}

void TransferWizardDlg::showChooseDeviceTypeHelp(QString link)
{
    Q_UNUSED(link); // any link of the label opens the help
    HelpChooseDeviceDlg dialog(this);
    dialog.exec();
}

// ---- Method page --------------------------------------------------------------------------

void TransferWizardDlg::showMethod(int chosen)
{
    if (chosen == 0)
        ui->burnDiskRadioButton->setChecked(true);
    else if (chosen == 1)
        ui->CopyToUSBRadioButton->setChecked(true);
    updateMethodTexts();
}

void TransferWizardDlg::tranfermethodButtonClicked()
{
    if (ui->burnDiskRadioButton->isChecked())
        choices.method = 0;
    else if (ui->CopyToUSBRadioButton->isChecked())
        choices.method = 1;
    updateMethodTexts();
}

void TransferWizardDlg::updateMethodTexts()
{
    if (choices.method == 0) {
        ui->destinationIcon->setPixmap(
            sharpPixmap(QStringLiteral(":/DeviceTransferWizard/DVD.png"), devicePixelRatioF()));
        ui->successLabel->setText(
            tr("Portavo has successfully transferred your videos to your CD/DVD. Your choices "
               "will be stored to make transferring videos to this device quicker next time."));
        ui->watchLabel->setText(
            tr("To watch your video, insert the disc into your Kavo Certified device and enjoy!"));
    } else if (choices.method == 1) {
        ui->destinationIcon->setPixmap(
            sharpPixmap(QStringLiteral(":/DeviceTransferWizard/USB.png"), devicePixelRatioF()));
        ui->successLabel->setText(
            tr("Portavo has successfully transferred your videos to your USB Drive. Your "
               "choices will be stored to make transferring videos to this device quicker next "
               "time."));
        ui->watchLabel->setText(tr("To watch your video, insert the USB drive into your Kavo "
                                   "Certified device and enjoy!"));
    }
}

// ---- Closing and window chrome ------------------------------------------------------------

void TransferWizardDlg::reject()
{
    if (closing)
        return;
    if (page == TransferProgressPage && !isTransferEnded()) {
        if (!WizardMessages::confirmCloseDuringTransfer())
            return;
        ui->transferPage->cancelTransferNow();
    }
    closing = true;
    waitForWorkerIdle();
    closing = false;
    QDialog::reject();
}

void TransferWizardDlg::accept()
{
    if (closing)
        return;
    closing = true;
    waitForWorkerIdle();
    closing = false;
    QDialog::accept();
}

void TransferWizardDlg::showMinimizedSlot()
{
    showMinimized();
}

// ---- File and transfer pages --------------------------------------------------------------
// The pages' files, drives and progress live in WizardFilePage and WizardTransferPage; the
// slots hand over to them.

void TransferWizardDlg::dragEnterEvent(QDragEnterEvent* event)
{
    ui->filePage->acceptDrag(event);
}

void TransferWizardDlg::dropEvent(QDropEvent* event)
{
    ui->filePage->drop(event);
}

void TransferWizardDlg::addFiles()
{
    ui->filePage->addFiles();
}

void TransferWizardDlg::removeFiles()
{
    ui->filePage->removeFiles();
}

void TransferWizardDlg::fileClicked(QModelIndex index)
{
    ui->filePage->fileClicked(index);
}

void TransferWizardDlg::destinationDriveChanged()
{
    ui->filePage->destinationDriveChanged();
}

void TransferWizardDlg::fileChangedInUSBDrive(QString driveLetter, quint64 newFreeSpace)
{
    ui->filePage->fileChangedInUSBDrive(driveLetter, newFreeSpace);
}

void TransferWizardDlg::discStateChanged(const std::u16string&)
{
    emit burnerDiscChanged();
}

void TransferWizardDlg::burnerDiscsChanged()
{
    // The monitor runs only while the drives are chosen, never during the write.
    if (page != TransferMethodPage && page != FileListPage)
        return;
    ui->filePage->refreshAfterVolumeChange(false, page == FileListPage);
    if (page == TransferMethodPage)
        updateMethodTexts();
}

void TransferWizardDlg::volumesChanged()
{
    const bool usable = ui->filePage->refreshAfterVolumeChange(true, page == FileListPage);
    if (page == TransferMethodPage) {
        updateMethodTexts();
    } else if (page == TransferProgressPage && !usable && !isTransferEnded()) {
        // The drive being written to is gone: the transfer cannot finish.
        emit destinationDriveRemoved();
    }
}

void TransferWizardDlg::writeStarted(int files)
{
    spaceMonitor.stop();
    ui->transferPage->writeStarted(files);
}

void TransferWizardDlg::transferFinished(bool completed, QString failure)
{
    ui->transferPage->transferFinished(completed, failure);
}

void TransferWizardDlg::showRecorderAccessHint(QString hint)
{
    WizardMessages::warning(hint);
}

void TransferWizardDlg::burnPhaseProgress(int phase, quint64 current, quint64 total)
{
    ui->transferPage->burnPhaseProgress(phase, current, total);
}

void TransferWizardDlg::updateProgress(quint64 bytePos, quint64 totalBytes,
                                       quint32 estimatedTranscodeTime, QString fileName)
{
    ui->transferPage->updateProgress(bytePos, totalBytes, estimatedTranscodeTime, fileName);
}

void TransferWizardDlg::fileSaveStarted(int index)
{
    ui->transferPage->fileSaveStarted(index);
}

void TransferWizardDlg::fileSaveDone()
{
    ui->transferPage->fileSaveDone();
}

bool TransferWizardDlg::continueAfterConversionError(int error, const QString& file,
                                                     bool othersLeft)
{
    return ui->transferPage->transcodeError(error, file, othersLeft);
}

const USBDriveData* TransferWizardDlg::currentDrive() const
{
    return drives.current(choices.method);
}

void TransferWizardDlg::analyzeItem(int index, int total)
{
    analysis.showItem(index, total);
}

void TransferWizardDlg::cancelAnalyzing()
{
    ui->filePage->cancelAnalysis();
}

void TransferWizardDlg::progressFinised(QString sourceFileName)
{
    model.setStatusByName(sourceFileName, FileInfoModel::Ready);
}

void TransferWizardDlg::fileSaveCanceled(int index)
{
    // The row keeps its state: cancelling the transfer marks every row at once.
    Q_UNUSED(index);
}

void TransferWizardDlg::fileSaveFinished(int index)
{
    model.setStatus(index, FileInfoModel::Finished);
}

void TransferWizardDlg::fileSaveFailed(int index, QString reason)
{
    ui->transferPage->fileSaveFailed(index, reason);
}

void TransferWizardDlg::fileSaveArrived(int index, QString source, QString destination)
{
    Q_UNUSED(index);
    finishDrive->addSaved(source, destination);
}

void TransferWizardDlg::saveFailed(QString message)
{
    ui->transferPage->saveFailed(message);
}

void TransferWizardDlg::cancelProcessWarning()
{
    if (WizardMessages::confirmCancelTransfer())
        ui->transferPage->cancelTransferNow();
}

void TransferWizardDlg::cancelTransferProcess()
{
    ui->transferPage->destinationRemoved();
}
