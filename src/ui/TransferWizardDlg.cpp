#include "TransferWizardDlg.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMouseEvent>
#include <QRegion>
#include <QResizeEvent>
#include <QUrl>

#include "DialogStyleSheet.h"
#include "FinishPageDrive.h"
#include "Formatting.h"
#include "HelpChooseDeviceDlg.h"
#include "KavoSettings.h"
#include "ScreenFit.h"
#include "SettingsAccessors.h"
#include "SharpPixmap.h"
#include "TransferWizardServericeInterface.h"
#include "UnSupportedFileTypeDlg.h"
#include "WizardAccessibleNames.h"
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

const char* const StepLabelColor = "color: rgb(191, 191, 191);";
const char* const CurrentStepLabelColor = "color: rgb(255, 255, 255);";
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
      volumeWatcher(mountInfoPath), filePage(*this), transferPage(*this)
{
    initPortavoResources();
    registerDialogResources();

    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint);
    setFixedWidth(570);
    baseWindowTitle = windowTitle();
    designNextText = ui->nextButton->text();
    designNoDriveText = ui->remainSpaceText->text();
    designTransferStateText = ui->transcode_writeLabel->text();
    designTimeLeftText = ui->transferTimeLeftLabel->text();
    setWindowIcon(QIcon(QString::fromLatin1(WindowIcon)));

    ui->titleBar->setButtonPosition(WindowTitleBar::RightButtons);
    ui->titleBar->setImagePath(QStringLiteral(":/TitleBar"));

    applyStyleSheets();
    setHelpLinks();

    // The footer spacers give the visible buttons their places; their designer size is the
    // size a button slot takes.
    buttonSize = ui->startSpacer->sizeHint();
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
    connect(ui->removefilePushButton, &QPushButton::clicked, this, &TransferWizardDlg::removeFiles);
    connect(ui->addfilePushButton, &QPushButton::clicked, this, &TransferWizardDlg::addFiles);
    connect(ui->driveComboBox, &SuperComboBox::currentIndexChanged, this,
            &TransferWizardDlg::destinationDriveChanged);
    connect(ui->fileListTableView, &QAbstractItemView::clicked, this,
            &TransferWizardDlg::fileClicked);
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

    ui->KavoRadioButton->setChecked(true);
    ui->burnDiskRadioButton->setChecked(true);

    for (TransferWizardTreeView* view : {ui->fileListTableView, ui->fileProgressTableView}) {
        view->setModel(&model);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setColumnWidth(0, 143);
        view->setColumnWidth(1, 73);
        view->setColumnWidth(2, 83);
    }
    ui->remainDiskspaceProgressBar->setRange(0, 100);
    ui->fileTransferProgressBar->setRange(0, 100);
    QFont subFont = ui->destinationSubTextLabel->font();
    subFont.setPointSizeF(subFont.pointSizeF() - 1);
    ui->destinationSubTextLabel->setFont(subFont);
    setTransferBarStyle(false);
    ui->registerLabel->hide();

    readWindowSettings();
    ui->Stack->setCurrentIndex(TransferProgressPage);
    new WizardKeyboard(this);
    WizardAccessibleNames::apply(this);
    new ScreenFit(this);
}

TransferWizardDlg::~TransferWizardDlg() = default;

void TransferWizardDlg::applyStyleSheets()
{
    setStyleSheet(readResourceText(QStringLiteral(":/TransferWizardDlg/TransferWizardDlg.qss")));
}

void TransferWizardDlg::setTransferBarStyle(bool writing)
{
    const QString image = writing ? QStringLiteral(":/DeviceTransferWizard/progress-transfer.png")
                                  : QStringLiteral(":/DeviceTransferWizard/progress-encoding.png");
    ui->fileTransferProgressBar->setStyleSheet(
        QStringLiteral("QProgressBar { border: 2px solid grey; border-radius: 5px; "
                       "background-color: rgb(59, 59, 59); }\n"
                       "QProgressBar::chunk { border-image: url(%1) 7 7 6 7 stretch stretch; "
                       "border-width: 7px 7px 6px 7px; }")
            .arg(image));
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
    fileTypes.setSource(std::move(source));
}

void TransferWizardDlg::setWizardStartParameters(const WizardStartParameters& parameters)
{
    if (!service)
        return;
    page = WelcomePage;
    start = parameters;
    if (parameters.profile == 3 || parameters.profile == 1 || parameters.profile == 4)
        profile = parameters.profile;
    if (parameters.driveType == 0)
        method = 0;
    else if (parameters.driveType == 1)
        method = 1;
    if (parameters.burnOnly || !parameters.driveLetter.empty())
        page = FileListPage;
    preselectMethod = parameters.driveType != 0 && parameters.driveType != 1 &&
                      parameters.driveLetter.empty() && !parameters.burnOnly;
    filePage.selectDriveByName(parameters.driveLetter);
    // The drive lists are read only when the file page shows; the remembered drive is looked
    // up again then, or the first drive of its kind would be taken instead.
    rememberedDrive = parameters.driveLetter;
    showPage();
}

void TransferWizardDlg::resetWizard()
{
    spaceMonitor.stop();
    page = WelcomePage;
    method = 0;
    profile = 3;
    model.clear();
    drives.clear();
    ui->driveComboBox->clear();
    transferEnded = true;
    showRegisterNote = false;
    profileChanged = false;
    analysisCanceled = false;
    totalCount = 0;
    currentCount = 0;
    start = WizardStartParameters();
    rememberedDrive.clear();
    preselectMethod = false;
    lastProgressFileName.clear();
    ui->KavoRadioButton->setChecked(true);
    ui->burnDiskRadioButton->setChecked(true);
    transferPage.resetBackButton();
    ui->nextButton->setText(designNextText);
    ui->remainSpaceText->setText(designNoDriveText);
    ui->fileTransferProgressBar->setValue(0);
    // A second transfer must not start under the last one's final state and times.
    ui->transcode_writeLabel->setText(designTransferStateText);
    ui->transferTimeLeftLabel->setText(designTimeLeftText);
    ui->progressPercentText->setText(QStringLiteral("0"));
    setTransferBarStyle(false);
}

void TransferWizardDlg::appendFileInfos(const QList<QFileInfo>& files, bool addToTop)
{
    QStringList unsupported;
    filePage.addFilesToModel(files, unsupported, addToTop);
    if (addToTop)
        showRegisterNote = true;
    filePage.updateDestinationInfo();
    if (!unsupported.isEmpty()) {
        UnSupportedFileTypeDlg dialog;
        dialog.setFileNames(unsupported);
        dialog.exec();
    }
}

void TransferWizardDlg::reportMissingFiles(const QStringList& paths)
{
    filePage.reportMissingFiles(paths);
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
        filePage.setup();
        break;
    case TransferProgressPage:
        transferPage.setup();
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

void TransferWizardDlg::setFooterButtons(bool back, bool startVisible, bool next, bool cancel)
{
    ui->backButton->setVisible(back);
    ui->startButton->setVisible(startVisible);
    ui->nextButton->setVisible(next);
    ui->cancelButton->setVisible(cancel);
}

void TransferWizardDlg::setupWelcomePage()
{
    setFooterButtons(false, false, true, false);
    updateButtonSpacers();
    hideFooterNav();
}

void TransferWizardDlg::setupDeviceTypePage()
{
    setFooterButtons(true, false, true, false);
    if (profile == 1)
        ui->KavoHDRadioButton->setChecked(true);
    else if (profile == 4)
        ui->KavoPlusHDRadioButton->setChecked(true);
    else
        ui->KavoRadioButton->setChecked(true);
    devicetypeButtonClicked();
    updateButtonSpacers();
    updateFooterNav(3);
}

void TransferWizardDlg::setupMethodPage()
{
    setFooterButtons(true, false, true, false);
    ui->nextButton->setText(designNextText);
    updateButtonSpacers();
    if (preselectMethod)
        preselectUsableMethod();
    updateMethodTexts();
    updateFooterNav(1);
}

void TransferWizardDlg::preselectUsableMethod()
{
    // Once: a choice the user made on this page stays when they come back to it.
    preselectMethod = false;
    QList<USBDriveData> burners;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    service->GetBurnerDrives(burners);
    QApplication::restoreOverrideCursor();
    method = burners.isEmpty() ? 1 : 0;
    (method == 0 ? ui->burnDiskRadioButton : ui->CopyToUSBRadioButton)->setChecked(true);
}

void TransferWizardDlg::setupFinishPage()
{
    setFooterButtons(false, false, true, false);
    //: wizard button on the last page: closes the wizard
    ui->nextButton->setText(tr("Finish"));
    updateButtonSpacers();
    ui->registerLabel->setVisible(showRegisterNote);
    hideFooterNav();
    const USBDriveData* drive = currentDrive();
    finishDrive->show(method == 1 && drive,
                      drive ? QString::fromStdU16String(drive->root) : QString());
}

void TransferWizardDlg::updateButtonSpacers()
{
    const auto apply = [this](QSpacerItem* spacer, QPushButton* button) {
        const QSize size = button->isHidden() ? QSize(0, 0) : buttonSize;
        spacer->changeSize(size.width(), size.height(), QSizePolicy::Fixed, QSizePolicy::Minimum);
    };
    apply(ui->startSpacer, ui->startButton);
    apply(ui->nextSpacer, ui->nextButton);
    apply(ui->cancelSpacer, ui->cancelButton);
    ui->footerLayout->invalidate();
}

void TransferWizardDlg::updateFooterNav(int step)
{
    // Indexed by step: 0 transfer, 1 method, 2 files, 3 device.
    QLabel* const labels[] = {ui->Transfer, ui->Method, ui->Files, ui->Device};
    QLabel* const arrows[] = {ui->transferArrow, ui->methodArrow, ui->filesArrow, ui->deviceArrow};
    for (int i = 0; i < 4; ++i) {
        labels[i]->show();
        labels[i]->setStyleSheet(QString::fromLatin1(StepLabelColor));
        // Hidden arrows keep their room so the step labels do not jump between pages.
        arrows[i]->setVisible(false);
    }
    if (step < 0 || step > 3)
        return;
    arrows[step]->setVisible(true);
    labels[step]->setStyleSheet(QString::fromLatin1(CurrentStepLabelColor));
}

void TransferWizardDlg::hideFooterNav()
{
    for (QLabel* label : {ui->Device, ui->Method, ui->Files, ui->Transfer, ui->deviceArrow,
                          ui->methodArrow, ui->filesArrow, ui->transferArrow})
        label->hide();
}

void TransferWizardDlg::nextPage()
{
    if (page < FinishPage) {
        ++page;
        if (page == DeviceTypePage && start.skipProfilePage)
            ++page;
        showPage();
    } else {
        accept();
    }
}

void TransferWizardDlg::prevPage()
{
    if (transferPage.offersBackToList() && transferEnded) {
        transferPage.backToList();
        return;
    }
    if (page >= DeviceTypePage) {
        --page;
        if (page == DeviceTypePage && start.skipProfilePage)
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
    transferClock.start();
    nextPage();
}

QString TransferWizardDlg::destinationRefusal() const
{
    return filePage.driveStatusMessage(currentDrive());
}

void TransferWizardDlg::useProfile(int transcodeProfile)
{
    if (transcodeProfile >= 0)
        profile = transcodeProfile;
    profileChanged = false;
}

void TransferWizardDlg::showFilePage()
{
    page = FileListPage;
    showPage();
}

void TransferWizardDlg::chooseDestination(const std::u16string& root)
{
    filePage.selectDriveByName(root);
    tranfermethodButtonClicked();
    filePage.syncDriveCombo();
    filePage.updateDestinationInfo();
}

// ---- Profile page -------------------------------------------------------------------------

void TransferWizardDlg::devicetypeButtonClicked()
{
    const int before = profile;
    if (ui->KavoRadioButton->isChecked())
        profile = 3;
    else if (ui->KavoHDRadioButton->isChecked())
        profile = 1;
    else if (ui->KavoPlusHDRadioButton->isChecked())
        profile = 4;
    showProfileText(profile);
    if (profile != before)
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
        tr("This choice will work with any Kavo Certified %1").arg(start.deviceLabel));
}

void TransferWizardDlg::kavoHDButtonHover()
{
    ui->suggestionLabel->setText(
        tr("Only choose this if you have a Kavo HD Certified %1").arg(start.deviceLabel));
}

void TransferWizardDlg::kavoPlusHDButtonHover()
{
    ui->suggestionLabel->setText(
        tr("Only choose this if you have a Kavo Plus HD Certified %1").arg(start.deviceLabel));
}

void TransferWizardDlg::kavoButtonExit()
{
    showProfileText(profile);
}

void TransferWizardDlg::showChooseDeviceTypeHelp(QString link)
{
    Q_UNUSED(link); // any link of the label opens the help
    HelpChooseDeviceDlg dialog(this);
    dialog.exec();
}

// ---- Method page --------------------------------------------------------------------------

void TransferWizardDlg::tranfermethodButtonClicked()
{
    if (ui->burnDiskRadioButton->isChecked())
        method = 0;
    else if (ui->CopyToUSBRadioButton->isChecked())
        method = 1;
    updateMethodTexts();
}

void TransferWizardDlg::updateMethodTexts()
{
    if (method == 0) {
        ui->destinationIcon->setPixmap(
            sharpPixmap(QStringLiteral(":/DeviceTransferWizard/DVD.png"), devicePixelRatioF()));
        ui->successLabel->setText(
            tr("Portavo has successfully transferred your videos to your CD/DVD. Your choices "
               "will be stored to make transferring videos to this device quicker next time."));
        ui->watchLabel->setText(
            tr("To watch your video, insert the disc into your Kavo Certified device and enjoy!"));
    } else if (method == 1) {
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
    if (page == TransferProgressPage && !transferEnded) {
        if (!WizardMessages::confirmCloseDuringTransfer())
            return;
        transferPage.cancelTransferNow();
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

void TransferWizardDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (ui->titleBar->isDragging() && ui->titleBar->lastPressedButton() == Qt::LeftButton) {
        move(event->globalPosition().toPoint() - ui->titleBar->dragOffset());
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void TransferWizardDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // Rounded corners of radius 5: cut from each corner the part of its 5 x 5 square that lies
    // outside a 10 x 10 ellipse.
    const QRect r = rect();
    QRegion mask(r);
    const QPoint corners[] = {r.topLeft(), QPoint(r.right() - 9, r.top()),
                              QPoint(r.left(), r.bottom() - 9),
                              QPoint(r.right() - 9, r.bottom() - 9)};
    const QPoint squares[] = {r.topLeft(), QPoint(r.right() - 4, r.top()),
                              QPoint(r.left(), r.bottom() - 4),
                              QPoint(r.right() - 4, r.bottom() - 4)};
    for (int i = 0; i < 4; ++i) {
        const QRegion square(QRect(squares[i], QSize(5, 5)));
        const QRegion ellipse(QRect(corners[i], QSize(10, 10)), QRegion::Ellipse);
        mask -= square.subtracted(ellipse);
    }
    setMask(mask);
}

// ---- File and transfer pages --------------------------------------------------------------
// The pages' files, drives and progress live in WizardFilePage and WizardTransferPage; the
// slots hand over to them.

void TransferWizardDlg::dragEnterEvent(QDragEnterEvent* event)
{
    filePage.acceptDrag(event);
}

void TransferWizardDlg::dropEvent(QDropEvent* event)
{
    filePage.drop(event);
}

void TransferWizardDlg::addFiles()
{
    filePage.addFiles();
}

void TransferWizardDlg::removeFiles()
{
    filePage.removeFiles();
}

void TransferWizardDlg::fileClicked(QModelIndex index)
{
    filePage.fileClicked(index);
}

void TransferWizardDlg::destinationDriveChanged()
{
    filePage.destinationDriveChanged();
}

void TransferWizardDlg::fileChangedInUSBDrive(QString driveLetter, quint64 newFreeSpace)
{
    filePage.fileChangedInUSBDrive(driveLetter, newFreeSpace);
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
    filePage.refreshAfterVolumeChange(false);
    if (page == TransferMethodPage) {
        updateMethodTexts();
    } else {
        filePage.syncDriveCombo();
        filePage.updateDestinationInfo();
    }
}

void TransferWizardDlg::volumesChanged()
{
    const bool usable = filePage.refreshAfterVolumeChange();
    if (page == TransferMethodPage) {
        updateMethodTexts();
    } else if (page == FileListPage) {
        filePage.syncDriveCombo();
        filePage.updateDestinationInfo();
    } else if (page == TransferProgressPage && !usable && !transferEnded) {
        // The drive being written to is gone: the transfer cannot finish.
        emit destinationDriveRemoved();
    }
}

void TransferWizardDlg::writeStarted(int files)
{
    transferPage.writeStarted(files);
}

void TransferWizardDlg::transferFinished(bool completed, QString failure)
{
    transferPage.transferFinished(completed, failure);
}

void TransferWizardDlg::showRecorderAccessHint(QString hint)
{
    WizardMessages::warning(hint);
}

void TransferWizardDlg::burnPhaseProgress(int phase, quint64 current, quint64 total)
{
    transferPage.burnPhaseProgress(phase, current, total);
}

void TransferWizardDlg::updateProgress(quint64 bytePos, quint64 totalBytes,
                                       quint32 estimatedTranscodeTime, QString fileName)
{
    transferPage.updateProgress(bytePos, totalBytes, estimatedTranscodeTime, fileName);
}

void TransferWizardDlg::fileSaveStarted(int index)
{
    transferPage.fileSaveStarted(index);
}

void TransferWizardDlg::fileSaveDone()
{
    transferPage.fileSaveDone();
}

bool TransferWizardDlg::continueAfterConversionError(int error, const QString& file,
                                                     bool othersLeft)
{
    return transferPage.transcodeError(error, file, othersLeft);
}

const USBDriveData* TransferWizardDlg::currentDrive() const
{
    return drives.current(method);
}

void TransferWizardDlg::analyzeItem(int index, int total)
{
    analysis.showItem(index, total);
}

void TransferWizardDlg::cancelAnalyzing()
{
    analysisCanceled = true;
    analysis.cancel();
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
    transferPage.fileSaveFailed(index, reason);
}

void TransferWizardDlg::fileSaveArrived(int index, QString source, QString destination)
{
    Q_UNUSED(index);
    finishDrive->addSaved(source, destination);
}

void TransferWizardDlg::saveFailed(QString message)
{
    transferPage.saveFailed(message);
}

void TransferWizardDlg::cancelProcessWarning()
{
    if (WizardMessages::confirmCancelTransfer())
        transferPage.cancelTransferNow();
}

void TransferWizardDlg::cancelTransferProcess()
{
    transferPage.destinationRemoved();
}
