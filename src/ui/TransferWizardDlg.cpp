#include "TransferWizardDlg.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegion>
#include <QResizeEvent>
#include <QUrl>
#include <algorithm>

#include "DialogStyleSheet.h"
#include "ErrorDialog.h"
#include "Formatting.h"
#include "HelpChooseDeviceDlg.h"
#include "ISourceMedia.h"
#include "KavoSettings.h"
#include "SettingsAccessors.h"
#include "TranscodeJob.h"
#include "TransferTimeEstimate.h"
#include "TransferWizardServericeInterface.h"
#include "UnSupportedFileTypeDlg.h"
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
// Free-space texts: the page's normal text colour, and the warning colour when the videos do
// not fit. Both stay readable on the dark page.
const char* const NormalTextColor = "white";
const char* const WarningTextColor = "#FF5C5C";

// The designer texts of the Next button and of the free-space number; pages that change them
// put these back.
QString& nextButtonText()
{
    static QString text;
    return text;
}

QString& noDriveText()
{
    static QString text;
    return text;
}

QString readResourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Where a help page lives: on the help host when the installation names one, otherwise the
// page shipped with the program under the same path.
QString helpLinkUrl(const QString& path)
{
    std::string host;
    if (ReadInstallSetting(std::string("TransferWizard"), std::string("HelpHost"), host)) {
        const QString h = QString::fromUtf8(host.data(), qsizetype(host.size())).trimmed();
        if (!h.isEmpty())
            return QStringLiteral("http://") + h + path;
    }
    return QUrl::fromLocalFile(localHelpDir() + path + QStringLiteral(".html")).toString();
}

} // namespace

TransferWizardDlg::TransferWizardDlg(TransferWizardServericeInterface* service)
    : QDialog(nullptr), service(service), ui(new Ui::TransferWizardDlg), analysis(service, this)
{
    initPortavoResources();
    registerDialogResources();

    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint);
    setFixedWidth(570);
    baseWindowTitle = windowTitle();
    nextButtonText() = ui->nextButton->text();
    noDriveText() = ui->remainSpaceText->text();
    setWindowIcon(QIcon(QString::fromLatin1(WindowIcon)));

    ui->titleBar->setButtonPosition(WindowTitleBar::RightButtons);
    ui->titleBar->setImagePath(QStringLiteral(":/TitleBar"));

    applyStyleSheets();
    setHelpLinks();

    // The footer spacers give the visible buttons their places; their designer size is the
    // size a button slot takes.
    buttonSize = ui->startSpacer->sizeHint();

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
    connect(this, &TransferWizardDlg::destinationDriveRemoved, this,
            &TransferWizardDlg::cancelTransferProcess);
    connect(ui->titleBar, &WindowTitleBar::closeClicked, this, &QWidget::close);
    connect(ui->titleBar, &WindowTitleBar::closeDirtyClicked, this, &QWidget::close);
    connect(ui->titleBar, &WindowTitleBar::collapseClicked, this,
            &TransferWizardDlg::showMinimizedSlot);
    connect(ui->helpChooseLabel, &QLabel::linkActivated, this,
            &TransferWizardDlg::showChooseDeviceTypeHelp);
    connect(&analysis, &FileAnalysisRunner::canceled, this, &TransferWizardDlg::cancelAnalyzing);

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
                     helpLinkUrl(QString::fromLatin1(path)).toHtmlEscaped());
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
    if (!label.isEmpty())
        setWindowTitle(baseWindowTitle + QStringLiteral(" (") + label + QStringLiteral(")"));
    fileTypes = types;
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
    selectDriveByName(parameters.driveLetter);
    // The drive lists are read only when the file page shows; the remembered drive is looked
    // up again then, or the first drive of its kind would be taken instead.
    rememberedDrive = parameters.driveLetter;
    showPage();
}

void TransferWizardDlg::resetWizard()
{
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
    lastProgressFileName.clear();
    ui->KavoRadioButton->setChecked(true);
    ui->burnDiskRadioButton->setChecked(true);
    ui->nextButton->setText(nextButtonText());
    ui->remainSpaceText->setText(noDriveText());
    ui->fileTransferProgressBar->setValue(0);
    setTransferBarStyle(false);
}

void TransferWizardDlg::appendFileInfos(const QList<QFileInfo>& files, bool addToTop)
{
    QStringList unsupported;
    addFilesToModel(files, unsupported, addToTop);
    if (addToTop)
        showRegisterNote = true;
    updateDestinationInfo();
    if (!unsupported.isEmpty()) {
        UnSupportedFileTypeDlg dialog;
        dialog.setFileNames(unsupported);
        dialog.exec();
    }
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
    ui->nextButton->setText(nextButtonText());
    updateButtonSpacers();
    updateMethodTexts();
    updateFooterNav(1);
}

void TransferWizardDlg::setupFilePage()
{
    setFooterButtons(true, true, false, false);
    ui->startButton->setEnabled(true);
    model.setProgressMode(false);
    ui->remainSpaceText->setText(noDriveText());
    if (start.burnOnly)
        ui->backButton->hide();
    updateButtonSpacers();
    refreshDrives(false);
    fillDriveCombo();
    const USBDriveData* drive = currentDrive();
    std::u16string driveName = drive ? drive->root : std::u16string();
    if (!rememberedDrive.empty()) {
        driveName = rememberedDrive;
        rememberedDrive.clear();
    }
    selectDriveByName(driveName);
    syncDriveCombo();
    updateFooterNav(2);
    if (profileChanged) {
        reanalyzeAllFiles();
        profileChanged = false;
    }
    updateDestinationInfo();
    ui->startButton->setEnabled(model.rowCount() > 0);
}

void TransferWizardDlg::setupTransferPage()
{
    setFooterButtons(false, false, false, true);
    updateButtonSpacers();
    model.setProgressMode(true);
    ui->fileTransferProgressBar->setValue(0);
    ui->destinationTextLabel->setText(ui->driveComboBox->currentText());
    ui->progressPercentText->setText(QStringLiteral("0"));
    const QFontMetrics metrics(ui->destinationSubTextLabel->font());
    ui->destinationSubTextLabel->setText(metrics.elidedText(
        ui->driveComboBox->currentSubText(), Qt::ElideRight, ui->destinationSubTextLabel->width()));
    if (start.burnOnly) {
        saveVideoFiles();
    } else {
        QStringList files;
        model.filesToWrite(files);
        if (!files.isEmpty())
            startConversion(files);
    }
    updateFooterNav(0);
}

void TransferWizardDlg::setupFinishPage()
{
    setFooterButtons(false, false, true, false);
    ui->nextButton->setText(tr("Finish"));
    updateButtonSpacers();
    ui->registerLabel->setVisible(showRegisterNote);
    hideFooterNav();
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
    transferClock.start();
    const QString message = driveStatusMessage(currentDrive());
    if (message.isEmpty()) {
        nextPage();
        return;
    }
    WizardMessages::warning(message);
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
        ui->destinationIcon->setPixmap(QPixmap(QStringLiteral(":/DeviceTransferWizard/DVD.png")));
        ui->successLabel->setText(
            tr("Portavo has successfully transferred your videos to your CD/DVD. Your choices "
               "will be stored to make transferring videos to this device quicker next time."));
        ui->watchLabel->setText(
            tr("To watch your video, insert the disc into your Kavo Certified device and enjoy!"));
    } else if (method == 1) {
        ui->destinationIcon->setPixmap(QPixmap(QStringLiteral(":/DeviceTransferWizard/USB.png")));
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
        cancelTransferNow();
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
// The pages' files, drives and progress. The controller does the work; these keep the widgets
// and the file list in step with it.

void TransferWizardDlg::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || urls.first().toString().isEmpty())
        return;
    const QStringList patterns = FileAnalysisRunner::patterns(fileTypes);
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QFileInfo::exists(path) &&
            FileAnalysisRunner::isSupported(path, patterns)) {
            event->acceptProposedAction();
            return;
        }
    }
}

void TransferWizardDlg::dropEvent(QDropEvent* event)
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

void TransferWizardDlg::refreshDrives(bool usbOnly)
{
    if (service)
        drives.refresh(*service, usbOnly);
}

void TransferWizardDlg::fillDriveCombo()
{
    drives.fillCombo(*ui->driveComboBox);
}

const USBDriveData* TransferWizardDlg::currentDrive() const
{
    return drives.current(method);
}

bool TransferWizardDlg::selectDriveByName(const std::u16string& name)
{
    const bool usable = drives.selectByName(name, method);
    if (method == 0)
        ui->burnDiskRadioButton->setChecked(true);
    else if (method == 1)
        ui->CopyToUSBRadioButton->setChecked(true);
    return usable;
}

void TransferWizardDlg::syncDriveCombo()
{
    int index = drives.comboIndex(method);
    if (index >= ui->driveComboBox->count())
        index = 0;
    const bool blocked = ui->driveComboBox->blockSignals(true);
    ui->driveComboBox->setCurrentIndex(index);
    ui->driveComboBox->blockSignals(blocked);
    destinationDriveChanged();
}

void TransferWizardDlg::destinationDriveChanged()
{
    const int chosen = drives.selectComboIndex(ui->driveComboBox->currentIndex());
    if (chosen < 0)
        return;
    method = chosen;
    if (method == 0)
        ui->burnDiskRadioButton->setChecked(true);
    else
        ui->CopyToUSBRadioButton->setChecked(true);
    tranfermethodButtonClicked();
    recomputeTransferTimes();
    updateDestinationInfo();
}

QString TransferWizardDlg::driveStatusMessage(const USBDriveData* drive) const
{
    return DestinationDrives::statusMessage(drive, method, model.totalOutputBytes(),
                                            start.requiredFSType);
}

void TransferWizardDlg::updateDestinationInfo()
{
    const USBDriveData* drive = currentDrive();
    const auto setColor = [](QLabel* label, const char* color) {
        label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(color)));
    };
    ui->warningDeviceIsfull->setStyleSheet(QString());
    if (!drive) {
        ui->unitsLabel->hide();
        ui->USBLink->hide();
        ui->remainSpaceText->setText(noDriveText());
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
        if (method == 1) {
            ui->USBLink->setText(
                QStringLiteral("<a href=\"%1\"><span style=\"color:#2bb0dc;\">%2</span></a>")
                    .arg(QUrl::fromLocalFile(QString::fromStdU16String(drive->root)).toString(),
                         QString::fromStdU16String(drive->displayName).toHtmlEscaped()));
        }
        ui->USBLink->setVisible(method == 1);

        const DestinationDrives::SpaceUsage usage =
            DestinationDrives::spaceUsage(*drive, model.totalOutputBytes());
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
    ui->timeEstimateTitle->setText(tr("Estimated remaining time:"));
    ui->timeLeftLabel->setText(model.totalTimeText());
}

void TransferWizardDlg::recomputeTransferTimes(const QStringList& files)
{
    QStringList names = files;
    if (names.isEmpty()) {
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.sourcePath(row);
    }
    const quint32 rate = DestinationDrives::writeRate(currentDrive(), method);
    QList<int> seconds;
    for (int i = int(names.size()) - 1; i >= 0; --i) {
        const QFileInfo info(names[i]);
        if (!info.exists()) {
            names.removeAt(i);
            continue;
        }
        // What is written is the converted file when there is one.
        const int row = model.indexOfFile(names[i]);
        const quint64 bytes = row >= 0 ? model.outputBytes(row) : quint64(info.size());
        seconds.prepend(rate < 1 ? 0 : int(bytes / rate));
    }
    model.updateEstimates(names, seconds, true);
    ui->timeLeftLabel->setText(model.totalTimeText());
}

void TransferWizardDlg::addFiles()
{
    QString filter;
    for (const auto& [name, patterns] : fileTypes)
        filter += QString::fromUtf8(name.c_str()) + tr(" files") + QStringLiteral(" (") +
                  QString::fromUtf8(patterns.c_str()) + QStringLiteral(");;");
    QString dir;
    if (service)
        service->getLastBrowsedDir(dir);
    const QStringList names = QFileDialog::getOpenFileNames(
        this, tr("Open Video") + QStringLiteral(" -- ") + windowTitle(), dir, filter);
    if (!names.isEmpty())
        addFileNames(names);
}

void TransferWizardDlg::addFileNames(const QStringList& names)
{
    QStringList kept;
    QString folder;
    for (const QString& name : names) {
        TranscodeJob entry;
        if (service && service->findQueuedFile(name, entry)) {
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
    if (service)
        service->setLastBrowsedDir(QDir(folder));
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

void TransferWizardDlg::addFilesToModel(const QList<QFileInfo>& files, QStringList& unsupported,
                                        bool addToTop)
{
    QStringList paths;
    const QStringList patterns = FileAnalysisRunner::patterns(fileTypes);
    for (const QFileInfo& file : files) {
        paths << file.absoluteFilePath();
        if (!FileAnalysisRunner::isSupported(file.fileName(), patterns))
            unsupported << file.fileName();
    }
    AnalysisResults results;
    if (paths.isEmpty() || !analysis.run(paths, profile, true, results))
        return;
    const int count = analysisCanceled ? int(results.resultCodes.size()) : int(paths.size());
    analysisCanceled = false;
    if (count == 0)
        return;
    const FileAnalysisRunner::ModelLists lists =
        FileAnalysisRunner::modelLists(paths, results, count, unsupported);
    model.insertFiles(lists.sources, lists.outputPaths, lists.estimates, lists.directFiles,
                      addToTop);
    ui->startButton->setEnabled(model.rowCount() > 0);
    recomputeTransferTimes();
    if (!lists.errors.isEmpty()) {
        ErrorDialog errors;
        for (const auto& [path, code] : lists.errors)
            errors.addRow(path, code);
        errors.run(tr("Invalid Files"),
                   tr("Kavo Transfer Wizard is unable to recognize the following files:"), false);
    }
}

void TransferWizardDlg::reanalyzeAllFiles()
{
    QStringList paths;
    for (int row = 0; row < model.rowCount(); ++row)
        paths << model.sourcePath(row);
    AnalysisResults results;
    if (paths.isEmpty() || !analysis.run(paths, profile, true, results))
        return;
    const int count = analysisCanceled ? int(results.resultCodes.size()) : int(paths.size());
    analysisCanceled = false;
    const FileAnalysisRunner::ModelLists lists =
        FileAnalysisRunner::modelLists(paths, results, count, QStringList());
    model.updateEstimates(lists.sources, lists.estimates, false, lists.outputPaths);
    ui->timeLeftLabel->setText(model.totalTimeText());
}

void TransferWizardDlg::removeFiles()
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
        removed = model.removeRows(rows[first], end - first) + removed;
        end = first;
    }
    if (service)
        service->removeFromTranscodeQueue(removed);
    if (model.rowCount() == 0)
        ui->startButton->setEnabled(false);
    updateDestinationInfo();
}

void TransferWizardDlg::fileClicked(QModelIndex index)
{
    if (!index.isValid() || index.column() != 2)
        return;
    QString name;
    int conversionSeconds = 0;
    int writeSeconds = 0;
    int status = 0;
    if (model.rowValues(index.row(), name, conversionSeconds, writeSeconds, status) &&
        conversionSeconds >= 1)
        WizardMessages::fileInformation();
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

void TransferWizardDlg::startConversion(const QStringList& files)
{
    totalCount = service ? service->startTranscode(files, profile) : 0;
    currentCount = 0;
    transferEnded = false;
    if (totalCount == 0)
        saveVideoFiles();
}

void TransferWizardDlg::updateProgress(quint64 bytePos, quint64 totalBytes,
                                       quint32 estimatedTranscodeTime, QString fileName)
{
    // Conversion reports the source it works on; writing reports no name.
    if (fileName != lastProgressFileName) {
        lastProgressFileName = fileName;
        if (!fileName.isEmpty()) {
            ui->fileTransferProgressBar->setValue(0);
            model.setStatusByName(fileName, FileInfoModel::InProgress);
            ++currentCount;
            ui->transcode_writeLabel->setText(
                tr("Converting video %1 of %2").arg(currentCount).arg(totalCount));
        }
    }
    const quint64 percent = totalBytes ? qMin<quint64>(bytePos * 100 / totalBytes, 100) : 0;
    const double fraction = totalBytes ? double(bytePos) * 100.0 / double(totalBytes) : 1.0;
    const qint64 elapsed = transferClock.isValid() ? transferClock.elapsed() : 0;
    const qint64 left = TransferTimeEstimate::remainingSeconds(model, fraction, elapsed);

    const int bar = TransferTimeEstimate::barValue(int(percent), fileName.isEmpty() && method == 0);
    if (bar >= 0)
        ui->fileTransferProgressBar->setValue(bar);
    ui->progressPercentText->setText(QString::number(percent));
    ui->transferTimeLeftLabel->setText(FileInfoModel::durationText(left));
    if (!lastProgressFileName.isEmpty())
        model.setEstimateByName(lastProgressFileName, int(estimatedTranscodeTime), false);
}

void TransferWizardDlg::progressFinised(QString sourceFileName)
{
    model.setStatusByName(sourceFileName, FileInfoModel::Ready);
}

void TransferWizardDlg::saveVideoFiles()
{
    QCoreApplication::processEvents();
    setTransferBarStyle(true);
    ui->fileTransferProgressBar->setValue(0);
    ui->progressPercentText->setText(QStringLiteral("0"));
    model.setBurning(method == 0);
    ui->transcode_writeLabel->setText(method == 0 ? tr("Burning disc")
                                                  : tr("Transferring to USB drive"));
    QStringList files;
    totalCount = model.filesToWrite(files);
    currentCount = 0;
    lastProgressFileName.clear();
    if (totalCount < 1) {
        endTransfer(tr("Transfer completed."));
        return;
    }
    const USBDriveData* drive = currentDrive();
    if (!drive || !service)
        return;
    QList<QFileInfo> infos;
    for (const QString& file : files)
        infos << QFileInfo(file);
    transferEnded = false;
    if (!service->startSave(infos, drive->root, method == 1)) {
        // Nothing is being written: say so instead of waiting for progress that never comes.
        page = FinishPage;
        endTransfer(tr("Transfer failed"));
    }
}

void TransferWizardDlg::fileSaveStarted(int index)
{
    model.setStatus(index, FileInfoModel::Writing);
    ++currentCount;
    ui->transcode_writeLabel->setText(
        tr("Transferring videos %1 of %2").arg(currentCount).arg(totalCount));
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

void TransferWizardDlg::fileSaveDone()
{
    endTransfer(tr("Transfer completed."));
    ui->fileTransferProgressBar->setValue(100);
    ui->progressPercentText->setText(QStringLiteral("100"));
}

void TransferWizardDlg::transcodeError(int err, QString sourceFileName)
{
    model.setStatusByName(sourceFileName, FileInfoModel::ConversionError);
    const bool othersLeft = model.remainingCount() > 0;
    const QString endMessage = othersLeft ? tr("Transfer canceled.") : tr("Transfer failed");
    const bool continueWithRemaining =
        WizardMessages::continueAfterConversionError(err, sourceFileName, othersLeft);
    if (service)
        service->handleTranscodeError(continueWithRemaining);
    if (!continueWithRemaining) {
        page = FinishPage;
        endTransfer(endMessage);
    }
}

void TransferWizardDlg::endTransfer(const QString& message)
{
    ui->cancelButton->hide();
    ui->nextButton->setText(page == FinishPage ? tr("Close") : tr("Done"));
    ui->transcode_writeLabel->setText(message);
    ui->nextButton->show();
    transferEnded = true;
    updateButtonSpacers();
}

void TransferWizardDlg::cancelProcessWarning()
{
    if (WizardMessages::confirmCancelTransfer())
        cancelTransferNow();
}

void TransferWizardDlg::cancelTransferProcess()
{
    cancelTransferNow();
}

void TransferWizardDlg::cancelTransferNow()
{
    if (service)
        service->cancelTransfer();
    model.cancelAll();
    ui->transcode_writeLabel->setText(tr("Transfer canceled"));
    page = FinishPage;
    endTransfer(tr("Transfer canceled."));
}

void TransferWizardDlg::fileChangedInUSBDrive(QString driveLetter, quint64 newFreeSpace)
{
    drives.updateFreeSpace(driveLetter.toStdU16String(), newFreeSpace);
    updateDestinationInfo();
}
