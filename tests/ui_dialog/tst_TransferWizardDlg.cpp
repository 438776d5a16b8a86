#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <functional>

#include "DriveComboBox.h"
#include "ErrorDialog.h"
#include "FakeWizardService.h"
#include "FileInfoModel.h"
#include "Formatting.h"
#include "PrivateEnvironment.h"
#include "ProfileRadioButton.h"
#include "ProgressDialog.h"
#include "TransferWizardDlg.h"
#include "UnSupportedFileTypeDlg.h"
#include "WindowTitleBar.h"
#include "WriteRateStore.h"

namespace {

// Answers the next modal message box with `answer` as soon as it is shown and remembers its
// texts; the dialog under test runs the box with exec(), so this has to act from a timer.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer) : m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(10);
    }

    int boxes = 0;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    // Other dialogs by class name, their titles, and the files they listed.
    QStringList dialogs;
    QStringList dialogTitles;
    QStringList listed;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || qobject_cast<kvqs::ProgressDialog*>(modal) ||
            qobject_cast<TransferWizardDlg*>(modal))
            return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            // One of the wizard's own dialogs: remember what it listed and close it.
            auto* dialog = qobject_cast<QDialog*>(modal);
            if (!dialog)
                return;
            dialogs << QString::fromLatin1(dialog->metaObject()->className());
            if (auto* errors = qobject_cast<ErrorDialog*>(dialog)) {
                QTreeWidget* tree = errors->treeWidget();
                for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                    QWidget* name = tree->itemWidget(tree->topLevelItem(i), 2);
                    listed << (name ? name->toolTip() : QString());
                }
                dialogTitles << errors->windowTitle();
            }
            if (auto* unsupported = qobject_cast<UnSupportedFileTypeDlg*>(dialog)) {
                for (int i = 0; i < unsupported->fileNameList()->count(); ++i)
                    listed << unsupported->fileNameList()->item(i)->text();
            }
            dialog->reject();
            return;
        }
        ++boxes;
        text = box->text();
        buttons = box->standardButtons();
        defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton())
                                             : QMessageBox::NoButton;
        if (QAbstractButton* button = box->button(m_answer))
            button->click();
        else
            box->close();
    }

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

WizardStartParameters params(bool skipProfile = false, bool burnOnly = false,
                             const QString& drive = QString(), int profile = 3, int driveType = 0)
{
    WizardStartParameters p;
    p.profile = profile;
    p.skipProfilePage = skipProfile;
    p.driveType = driveType;
    p.burnOnly = burnOnly;
    p.driveLetter = drive.toStdU16String();
    return p;
}

} // namespace

class TestTransferWizardDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void alwaysOnTop_followsPlayerSetting_data();
    void alwaysOnTop_followsPlayerSetting();

    void helpLinks_followHelpHost_data();
    void helpLinks_followHelpHost();
    void currentPageName_isFinishAfterCancelOnTransferPage();
    void skipProfilePage_isSkippedBothWays_data();
    void skipProfilePage_isSkippedBothWays();
    void startParameters_openFilePage_data();
    void startParameters_openFilePage();
    void startParameters_chooseProfileAndMethod_data();
    void startParameters_chooseProfileAndMethod();
    void startParameters_ignoredWithoutService();
    void backOnWelcomePage_closesWithResultZero();
    void nextOnFinishPage_acceptsAfterWorkerIdle();
    void waitForWorkerIdle_pollsUntilIdle_data();
    void waitForWorkerIdle_pollsUntilIdle();

    void footer_showsButtonsOfPage_data();
    void footer_showsButtonsOfPage();
    void footer_highlightsCurrentStep_data();
    void footer_highlightsCurrentStep();

    void profileButtons_chooseProfileAndText_data();
    void profileButtons_chooseProfileAndText();
    void profileHover_showsTextUntilExit();
    void methodButtons_chooseMethodAndTexts();

    void filePage_selectsRememberedDrive_data();
    void filePage_selectsRememberedDrive();
    void driveCombo_choiceSetsMethod();
    void filePage_discEstimateCountsReadBackOnce_data();
    void filePage_discEstimateCountsReadBackOnce();
    void appendFileInfos_addsUsableFilesAndListsErrors();
    void appendFileInfos_burnOnlyWritesFilesAsTheyAre();
    void appendFileInfos_listsUnsupportedTypesSeparately();
    void analysis_showsProgressAndCanBeCancelled();
    void analysis_refusedLeavesListUnchanged();
    void drop_addsExistingFilesNotQueued();
    void dragEnter_acceptsKnownTypes_data();
    void dragEnter_acceptsKnownTypes();
    void profileChange_reanalysesFilesOnFilePage();
    void removeFiles_removesSelectedRuns_data();
    void removeFiles_removesSelectedRuns();
    void fileClicked_explainsConversionTime_data();
    void fileClicked_explainsConversionTime();
    void startButton_withoutDrive_warnsAndStays();
    void startButton_withUsableDrive_startsConversion();
    void updateProgress_countsConversionsAndShowsProgress();
    void saveVideoFiles_writesToUSBDriveAndEnds();
    void burn_writeThenVerify_holdsBarAt99UntilDone();
    void usbCopyBesideConversions_keepsTheConversionsOnView();
    void saveVideoFiles_failedStartEndsTransfer();
    void unfinishedTransfer_endState_data();
    void unfinishedTransfer_endState();
    void transcodeError_asksWhetherToContinue_data();
    void transcodeError_asksWhetherToContinue();
    void close_asksOnlyDuringTransfer_data();
    void close_asksOnlyDuringTransfer();

    void setFileTypes_appendsLabelToTitleOnce();
    void resetWizard_restoresConstructionState();
    void resize_roundsTheCorners();
    void titleBar_dragMovesWindow();
    void titleBar_buttonsCloseAndMinimise();

private:
    void goToPage(int target);
    // Writes a file of that size in the test's home; its path.
    QString makeFile(const QString& name, qint64 bytes = 10);
    void addModelFile(const QString& name, qint64 bytes);
    // Drags the files onto the dialog and drops them there, as a file manager would.
    void dropFiles(const QStringList& paths);
    bool dragEnter(QMimeData& mime, const QStringList& paths);
    // Opens the file page for a USB drive (or a burner), adds files and presses Start.
    void startTransfer(const QStringList& files, bool toUSB = true, bool burnOnly = false,
                       const QString& stick = "/media/stick");
    template <class T> T* child(const char* name)
    {
        T* widget = m_dlg->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("missing widget %s", name);
        return widget;
    }

    QTemporaryDir m_home;
    FakeWizardService m_service;
    TransferWizardDlg* m_dlg = nullptr;
};

void TestTransferWizardDlg::initTestCase()
{
    QVERIFY(m_home.isValid());
    // Settings go to hive files of this test only.
    PrivateEnvironment::useHives(m_home.path());
    qputenv("KAVO_HELP_DIR", m_home.filePath("help").toUtf8());
}

void TestTransferWizardDlg::init()
{
    // A style sheet Qt cannot parse is dropped as a whole; the wizard would lose its look.
    QTest::failOnWarning(QRegularExpression("Could not parse"));
    m_service = FakeWizardService();
    m_dlg = new TransferWizardDlg(&m_service);
}

void TestTransferWizardDlg::cleanup()
{
    delete m_dlg;
    m_dlg = nullptr;
    QFile::remove(m_home.filePath("user.reg"));
}

void TestTransferWizardDlg::goToPage(int target)
{
    m_dlg->setWizardStartParameters(params());
    while (m_dlg->currentPage() < target)
        m_dlg->nextPage();
    QCOMPARE(m_dlg->currentPage(), target);
}

bool TestTransferWizardDlg::dragEnter(QMimeData& mime, const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(m_dlg, &enter);
    return enter.isAccepted();
}

void TestTransferWizardDlg::dropFiles(const QStringList& paths)
{
    QMimeData mime;
    QVERIFY(dragEnter(mime, paths));
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_dlg, &drop);
}

QString TestTransferWizardDlg::makeFile(const QString& name, qint64 bytes)
{
    const QString path = m_home.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(bytes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestTransferWizardDlg::addModelFile(const QString& name, qint64 bytes)
{
    const QString path = makeFile(name, bytes);
    FileInfoModel::Estimate estimate;
    estimate.conversionSeconds = 0;
    estimate.outputBytes = quint64(bytes);
    m_dlg->fileModel()->insertFiles({FileInfoModel::SourceFile::fromPath(path)}, {QString()},
                                    {estimate}, {path}, false);
}

void TestTransferWizardDlg::startTransfer(const QStringList& files, bool toUSB, bool burnOnly,
                                          const QString& stick)
{
    if (toUSB)
        m_service.usb << FakeWizardService::drive(stick, "STICK", 8ull << 30);
    else
        m_service.burners << FakeWizardService::drive("/dev/sr0", "DVD RW", 4ull << 30);
    m_dlg->setWizardStartParameters(
        params(true, burnOnly, toUSB ? stick : "/dev/sr0", 3, toUSB ? 1 : 0));
    QCOMPARE(m_dlg->currentPage(), 3);
    for (const QString& file : files)
        addModelFile(file, 1000);
    m_dlg->startButtonClicked();
    QCOMPARE(child<QStackedWidget>("Stack")->currentIndex(), 4);
}

void TestTransferWizardDlg::alwaysOnTop_followsPlayerSetting_data()
{
    QTest::addColumn<QString>("hive");
    QTest::addColumn<bool>("onTop");
    const QString header = "Windows Registry Editor Version 5.00\n\n";
    const QString key = "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\Player\\Playback]\n";
    QTest::newRow("no setting") << QString() << false;
    QTest::newRow("true") << QString(header + key + "\"AlwaysOnTop\"=dword:00000001\n") << true;
    QTest::newRow("false") << QString(header + key + "\"AlwaysOnTop\"=dword:00000000\n") << false;
    QTest::newRow("other key")
        << QString(header + "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\Other\\Playback]\n" +
                   "\"AlwaysOnTop\"=dword:00000001\n")
        << false;
}

void TestTransferWizardDlg::alwaysOnTop_followsPlayerSetting()
{
    QFETCH(QString, hive);
    QFETCH(bool, onTop);
    if (!hive.isEmpty()) {
        QFile file(m_home.filePath("user.reg"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(hive.toUtf8());
    }
    TransferWizardDlg dlg(&m_service);
    QCOMPARE(bool(dlg.windowFlags() & Qt::WindowStaysOnTopHint), onTop);
}

void TestTransferWizardDlg::helpLinks_followHelpHost_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("methodLink");
    QTest::addColumn<QString>("helpLink");
    const QString help = QUrl::fromLocalFile(m_home.filePath("help")).toString();
    QTest::newRow("shipped pages")
        << QString() << "en" << help + "/kavo/windows/portavo/support/method/en.html"
        << help + "/kavo/windows/portavo/support/help/en.html";
    // Only the method page exists in German here: the other one opens in English.
    QTest::newRow("shipped pages, German")
        << QString() << "de" << help + "/kavo/windows/portavo/support/method/de.html"
        << help + "/kavo/windows/portavo/support/help/en.html";
    QTest::newRow("help host") << "help.example.com"
                               << "en"
                               << "http://help.example.com/kavo/windows/portavo/support/method/en"
                               << "http://help.example.com/kavo/windows/portavo/support/help/en";
    QTest::newRow("help host, French")
        << "help.example.com"
        << "fr"
        << "http://help.example.com/kavo/windows/portavo/support/method/fr"
        << "http://help.example.com/kavo/windows/portavo/support/help/fr";
}

void TestTransferWizardDlg::helpLinks_followHelpHost()
{
    QFETCH(QString, host);
    QFETCH(QString, language);
    QFETCH(QString, methodLink);
    QFETCH(QString, helpLink);
    QFile hive(m_home.filePath("machine.reg"));
    QVERIFY(hive.open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (!host.isEmpty())
        hive.write(QString("Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Install\\TransferWizard]\n"
                           "\"HelpHost\"=\"%1\"\n")
                       .arg(host)
                       .toUtf8());
    hive.close();
    const QString germanPage = m_home.filePath("help/kavo/windows/portavo/support/method/de.html");
    QVERIFY(QDir().mkpath(QFileInfo(germanPage).path()));
    QFile page(germanPage);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    setUiLanguage(language);
    TransferWizardDlg dlg(&m_service);
    setUiLanguage(QString());
    QFile::remove(germanPage);
    const auto href = [&dlg](const char* name) {
        const QString text = dlg.findChild<QLabel*>(name)->text();
        const QRegularExpressionMatch match = QRegularExpression("href=\"([^\"]*)\"").match(text);
        return match.captured(1);
    };
    QCOMPARE(href("learnMoreLabelForTransfer"), methodLink);
    QCOMPARE(href("needHelpLabel"), helpLink);
    QFile::remove(m_home.filePath("machine.reg"));
}

void TestTransferWizardDlg::currentPageName_isFinishAfterCancelOnTransferPage()
{
    goToPage(4);
    m_dlg->cancelTransferProcess();
    // The transfer page stays on screen with "Close"; the page value already names the end.
    QCOMPARE(child<QStackedWidget>("Stack")->currentIndex(), 4);
    QCOMPARE(m_dlg->currentPageName(), QString("FINISHPAGE"));
    QCOMPARE(child<QPushButton>("nextButton")->text(), QString("Close"));
    QCOMPARE(child<QLabel>("transcode_writeLabel")->text(),
             QString("Transfer canceled. The destination drive is no longer available."));
    QCOMPARE(m_service.cancelTransferCalls, 1);
    QSignalSpy accepted(m_dlg, &QDialog::accepted);
    child<QPushButton>("nextButton")->click();
    QCOMPARE(accepted.count(), 1);
}

void TestTransferWizardDlg::skipProfilePage_isSkippedBothWays_data()
{
    QTest::addColumn<bool>("skip");
    QTest::addColumn<int>("afterNext");
    QTest::addColumn<int>("backFromMethod");
    QTest::newRow("profile page shown") << false << 1 << 1;
    QTest::newRow("profile page skipped") << true << 2 << 0;
}

void TestTransferWizardDlg::skipProfilePage_isSkippedBothWays()
{
    QFETCH(bool, skip);
    QFETCH(int, afterNext);
    QFETCH(int, backFromMethod);
    m_dlg->setWizardStartParameters(params(skip));
    QCOMPARE(m_dlg->currentPage(), 0);
    m_dlg->nextPage();
    QCOMPARE(m_dlg->currentPage(), afterNext);
    QCOMPARE(child<QStackedWidget>("Stack")->currentIndex(), afterNext);
    while (m_dlg->currentPage() < 2)
        m_dlg->nextPage();
    m_dlg->prevPage();
    QCOMPARE(m_dlg->currentPage(), backFromMethod);
    QCOMPARE(child<QStackedWidget>("Stack")->currentIndex(), backFromMethod);
    QCOMPARE(child<QPushButton>("nextButton")->isHidden(), false);
}

void TestTransferWizardDlg::startParameters_openFilePage_data()
{
    QTest::addColumn<bool>("burnOnly");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("backHidden");
    QTest::newRow("plain start") << false << QString() << 0 << true;
    QTest::newRow("burn only") << true << QString() << 3 << true;
    QTest::newRow("remembered drive") << false << QString("/media/stick") << 3 << false;
    QTest::newRow("burn only with drive") << true << QString("/dev/sr0") << 3 << true;
}

void TestTransferWizardDlg::startParameters_openFilePage()
{
    QFETCH(bool, burnOnly);
    QFETCH(QString, drive);
    QFETCH(int, page);
    QFETCH(bool, backHidden);
    m_dlg->setWizardStartParameters(params(false, burnOnly, drive));
    QCOMPARE(m_dlg->currentPage(), page);
    QCOMPARE(child<QStackedWidget>("Stack")->currentIndex(), page);
    QCOMPARE(child<QPushButton>("backButton")->isHidden(), backHidden);
    // Drops are taken only on the file page.
    QCOMPARE(m_dlg->acceptDrops(), page == 3);
}

void TestTransferWizardDlg::startParameters_chooseProfileAndMethod_data()
{
    QTest::addColumn<int>("profileIn");
    QTest::addColumn<int>("driveType");
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("button");
    QTest::newRow("home theater, disc") << 3 << 0 << 3 << 0 << "KavoRadioButton";
    QTest::newRow("HD, USB") << 1 << 1 << 1 << 1 << "KavoHDRadioButton";
    QTest::newRow("Plus HD, no preference") << 4 << -1 << 4 << 0 << "KavoPlusHDRadioButton";
    QTest::newRow("mobile keeps default") << 0 << 1 << 3 << 1 << "KavoRadioButton";
}

void TestTransferWizardDlg::startParameters_chooseProfileAndMethod()
{
    QFETCH(int, profileIn);
    QFETCH(int, driveType);
    QFETCH(int, profile);
    QFETCH(int, method);
    QFETCH(QString, button);
    m_dlg->setWizardStartParameters(params(false, false, QString(), profileIn, driveType));
    QCOMPARE(m_dlg->currentProfile(), profile);
    QCOMPARE(m_dlg->currentMethod(), method);
    QCOMPARE(child<QRadioButton>("CopyToUSBRadioButton")->isChecked(), method == 1);
    QCOMPARE(child<QRadioButton>("burnDiskRadioButton")->isChecked(), method == 0);
    m_dlg->nextPage();
    QVERIFY(child<ProfileRadioButton>(qPrintable(button))->isChecked());
    QCOMPARE(m_dlg->currentProfile(), profile);
}

void TestTransferWizardDlg::startParameters_ignoredWithoutService()
{
    TransferWizardDlg dlg(nullptr);
    dlg.setWizardStartParameters(params(false, true, QString(), 4, 1));
    QCOMPARE(dlg.currentProfile(), 3);
    QCOMPARE(dlg.currentMethod(), 0);
    QCOMPARE(dlg.startParameters().burnOnly, false);
}

void TestTransferWizardDlg::backOnWelcomePage_closesWithResultZero()
{
    m_dlg->setWizardStartParameters(params());
    m_dlg->show();
    QSignalSpy rejected(m_dlg, &QDialog::rejected);
    m_dlg->prevPage();
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(m_dlg->currentPageName(), QString("WELCOMEPAGE"));
}

void TestTransferWizardDlg::nextOnFinishPage_acceptsAfterWorkerIdle()
{
    goToPage(5);
    m_dlg->show();
    m_service.busyWaits = 3;
    m_service.waitCalls = 0;
    QSignalSpy accepted(m_dlg, &QDialog::accepted);
    child<QPushButton>("nextButton")->click();
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(m_service.waitCalls, 4);
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(m_dlg->currentPageName(), QString("FINISHPAGE"));
}

void TestTransferWizardDlg::waitForWorkerIdle_pollsUntilIdle_data()
{
    QTest::addColumn<int>("busy");
    QTest::addColumn<int>("calls");
    QTest::newRow("idle at once") << 0 << 1;
    QTest::newRow("idle after five waits") << 5 << 6;
    QTest::newRow("never idle gives up after 100 waits") << 1000 << 100;
}

void TestTransferWizardDlg::waitForWorkerIdle_pollsUntilIdle()
{
    QFETCH(int, busy);
    QFETCH(int, calls);
    m_service.busyWaits = busy;
    m_dlg->waitForWorkerIdle();
    QCOMPARE(m_service.waitCalls, calls);
    QVERIFY(!QApplication::overrideCursor());
}

void TestTransferWizardDlg::footer_showsButtonsOfPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("visible");
    QTest::addColumn<QString>("name");
    QTest::newRow("welcome") << 0 << "next" << QString("WELCOMEPAGE");
    QTest::newRow("device type") << 1 << "back next" << QString("DEVICETYPEPAGE");
    QTest::newRow("method") << 2 << "back next" << QString("TRANSFERMETHODPAGE");
    QTest::newRow("files") << 3 << "back start" << QString("FILELISTPAGE");
    QTest::newRow("transfer") << 4 << "cancel" << QString("TRANSERPROGRESSPAGE");
    QTest::newRow("finish") << 5 << "next" << QString("FINISHPAGE");
}

void TestTransferWizardDlg::footer_showsButtonsOfPage()
{
    QFETCH(int, page);
    QFETCH(QString, visible);
    QFETCH(QString, name);
    goToPage(page);
    QCOMPARE(child<QStackedWidget>("Stack")->currentIndex(), page);
    QCOMPARE(m_dlg->currentPageName(), name);
    const QStringList shown = visible.split(' ');
    for (const char* name : {"back", "start", "next", "cancel"}) {
        auto* button = child<QPushButton>(qPrintable(QString(name) + "Button"));
        QVERIFY2(button->isHidden() != shown.contains(name), name);
    }
}

void TestTransferWizardDlg::footer_highlightsCurrentStep_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("current");
    QTest::newRow("welcome") << 0 << QString();
    QTest::newRow("device type") << 1 << "Device";
    QTest::newRow("method") << 2 << "Method";
    QTest::newRow("files") << 3 << "Files";
    QTest::newRow("transfer") << 4 << "Transfer";
    QTest::newRow("finish") << 5 << QString();
}

void TestTransferWizardDlg::footer_highlightsCurrentStep()
{
    QFETCH(int, page);
    QFETCH(QString, current);
    goToPage(page);
    const QStringList steps = {"Device", "Method", "Files", "Transfer"};
    const QStringList arrows = {"deviceArrow", "methodArrow", "filesArrow", "transferArrow"};
    for (int i = 0; i < steps.size(); ++i) {
        auto* label = child<QLabel>(qPrintable(steps[i]));
        auto* arrow = child<QLabel>(qPrintable(arrows[i]));
        QCOMPARE(label->isHidden(), current.isEmpty());
        QCOMPARE(arrow->isHidden(), steps[i] != current);
    }
}

void TestTransferWizardDlg::profileButtons_chooseProfileAndText_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("profile");
    QTest::addColumn<QString>("text");
    QTest::newRow("home theater") << "KavoRadioButton" << 3
                                  << "This choice will work with any Kavo Certified TV";
    QTest::newRow("HD") << "KavoHDRadioButton" << 1
                        << "Only choose this if you have a Kavo HD Certified TV";
    QTest::newRow("Plus HD") << "KavoPlusHDRadioButton" << 4
                             << "Only choose this if you have a Kavo Plus HD Certified TV";
}

void TestTransferWizardDlg::profileButtons_chooseProfileAndText()
{
    QFETCH(QString, button);
    QFETCH(int, profile);
    QFETCH(QString, text);
    WizardStartParameters p = params();
    p.deviceLabel = "TV";
    m_dlg->setWizardStartParameters(p);
    m_dlg->nextPage();
    QCOMPARE(m_dlg->currentPage(), 1);
    child<ProfileRadioButton>(qPrintable(button))->click();
    QCOMPARE(m_dlg->currentProfile(), profile);
    QCOMPARE(child<QLabel>("suggestionLabel")->text(), text);
}

void TestTransferWizardDlg::profileHover_showsTextUntilExit()
{
    goToPage(1);
    child<ProfileRadioButton>("KavoHDRadioButton")->click();
    auto* suggestion = child<QLabel>("suggestionLabel");
    const QString hd = "Only choose this if you have a Kavo HD Certified DVD Player";
    QCOMPARE(suggestion->text(), hd);
    emit child<ProfileRadioButton>("KavoPlusHDRadioButton")->mouseOver();
    QCOMPARE(suggestion->text(),
             QString("Only choose this if you have a Kavo Plus HD Certified DVD Player"));
    emit child<ProfileRadioButton>("KavoRadioButton")->mouseOver();
    QCOMPARE(suggestion->text(),
             QString("This choice will work with any Kavo Certified DVD Player"));
    emit child<ProfileRadioButton>("KavoRadioButton")->mouseExit();
    QCOMPARE(suggestion->text(), hd);
    QCOMPARE(m_dlg->currentProfile(), 1);
}

void TestTransferWizardDlg::methodButtons_chooseMethodAndTexts()
{
    goToPage(2);
    child<QRadioButton>("CopyToUSBRadioButton")->click();
    QCOMPARE(m_dlg->currentMethod(), 1);
    QVERIFY(child<QLabel>("successLabel")->text().contains("USB Drive"));
    child<QRadioButton>("burnDiskRadioButton")->click();
    QCOMPARE(m_dlg->currentMethod(), 0);
    QVERIFY(child<QLabel>("successLabel")->text().contains("CD/DVD"));
}

void TestTransferWizardDlg::filePage_selectsRememberedDrive_data()
{
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<int>("driveType");
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("comboText");
    QTest::newRow("second usb drive") << "/media/b" << 1 << 1 << "B";
    QTest::newRow("unknown drive takes the first of its kind") << "/media/gone" << 1 << 1 << "A";
    QTest::newRow("unknown drive, disc") << "/media/gone" << 0 << 0 << "DVD";
}

void TestTransferWizardDlg::filePage_selectsRememberedDrive()
{
    QFETCH(QString, remembered);
    QFETCH(int, driveType);
    QFETCH(int, method);
    QFETCH(QString, comboText);
    m_service.burners << FakeWizardService::drive("/dev/sr0", "DVD", 1ull << 30);
    m_service.usb << FakeWizardService::drive("/media/a", "A", 1ull << 30)
                  << FakeWizardService::drive("/media/b", "B", 1ull << 30);
    m_dlg->setWizardStartParameters(params(false, false, remembered, 3, driveType));
    QCOMPARE(m_dlg->currentPage(), 3);
    QCOMPARE(m_dlg->currentMethod(), method);
    auto* combo = child<DriveComboBox>("driveComboBox");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), comboText);
    QCOMPARE(child<QRadioButton>("CopyToUSBRadioButton")->isChecked(), method == 1);
}

void TestTransferWizardDlg::driveCombo_choiceSetsMethod()
{
    m_service.burners << FakeWizardService::drive("/dev/sr0", "DVD", 1ull << 30);
    m_service.usb << FakeWizardService::drive("/media/a", "A", 1ull << 30);
    goToPage(3);
    auto* combo = child<DriveComboBox>("driveComboBox");
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(m_dlg->currentMethod(), 0);
    combo->setCurrentIndex(1);
    QCOMPARE(m_dlg->currentMethod(), 1);
    QVERIFY(child<QRadioButton>("CopyToUSBRadioButton")->isChecked());
    combo->setCurrentIndex(0);
    QCOMPARE(m_dlg->currentMethod(), 0);
    QVERIFY(child<QRadioButton>("burnDiskRadioButton")->isChecked());
    // Going back to the method page keeps the choice made in the combo.
    m_dlg->prevPage();
    QVERIFY(child<QRadioButton>("burnDiskRadioButton")->isChecked());
}

void TestTransferWizardDlg::filePage_discEstimateCountsReadBackOnce_data()
{
    QTest::addColumn<bool>("measured");
    QTest::addColumn<int>("seconds");
    // The recorder announces 1 MiB/s for the write; its read-back took a quarter of that.
    QTest::newRow("announced rate: read-back on top") << false << 12;
    // Measured at 2 MiB/s over write and read-back together.
    QTest::newRow("measured rate covers the read-back") << true << 5;
}

void TestTransferWizardDlg::filePage_discEstimateCountsReadBackOnce()
{
    QFETCH(bool, measured);
    QFETCH(int, seconds);
    QVERIFY(WriteRateStore::recordVerifyShare("/dev/sr0", 4000, 1000));
    if (measured)
        QVERIFY(WriteRateStore::record("/dev/sr0", 20ull << 20, 10000));
    m_service.burners << FakeWizardService::drive("/dev/sr0", "DVD", 1ull << 30);
    m_service.usb << FakeWizardService::drive("/media/a", "A", 1ull << 30);
    goToPage(3);
    addModelFile("a.mp4", 10 << 20);
    auto* combo = child<DriveComboBox>("driveComboBox");
    combo->setCurrentIndex(1);
    combo->setCurrentIndex(0);
    QString name;
    int conversion = 0;
    int write = 0;
    int status = 0;
    QVERIFY(m_dlg->fileModel()->rowValues(0, name, conversion, write, status));
    QCOMPARE(write, seconds);
}

void TestTransferWizardDlg::appendFileInfos_burnOnlyWritesFilesAsTheyAre()
{
    // The analysis would convert the file to 7 MB; burning as it is, it goes on the disc
    // unchanged: no conversion planned, its own size.
    m_service.burners << FakeWizardService::drive("/dev/sr0", "DVD", 1ull << 30);
    m_dlg->setWizardStartParameters(params(true, true, "/dev/sr0", 3, 0));
    const QFileInfo file(makeFile("b.avi", 3000));
    m_service.results[file.absoluteFilePath()] = {0, 90, 7000000, m_home.filePath("b.kavo")};
    m_dlg->appendFileInfos({file}, true);
    FileInfoModel* model = m_dlg->fileModel();
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->outputPath(0), QString());
    QCOMPARE(model->status(0), int(FileInfoModel::Ready));
    QCOMPARE(model->totalOutputBytes(), quint64(3000));
}

void TestTransferWizardDlg::appendFileInfos_addsUsableFilesAndListsErrors()
{
    m_service.usb << FakeWizardService::drive("/media/stick", "STICK", 8ull << 30);
    m_dlg->setWizardStartParameters(params(true, false, "/media/stick", 3, 1));
    QVERIFY(!child<QPushButton>("startButton")->isEnabled());
    QList<QFileInfo> files;
    for (const char* name : {"a.mp4", "b.avi", "c.mp4", "odd.mp4"})
        files << QFileInfo(makeFile(name));
    m_service.results[files[0].absoluteFilePath()] = {0, 0, 5000000, QString()};
    m_service.results[files[1].absoluteFilePath()] = {0, 90, 7000000, m_home.filePath("b.kavo")};
    m_service.results[files[2].absoluteFilePath()] = {23, 0, 0, QString()};
    m_service.results[files[3].absoluteFilePath()] = {154, 0, 100, QString()};

    BoxAnswerer answerer(QMessageBox::Ok);
    m_dlg->appendFileInfos(files, true);
    QCOMPARE(m_service.analysedProfile, 3);
    QCOMPARE(m_service.analysedFiles.size(), 4);
    FileInfoModel* model = m_dlg->fileModel();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->sourcePath(0), files[0].absoluteFilePath());
    QCOMPARE(model->sourcePath(1), files[1].absoluteFilePath());
    QCOMPARE(model->sourcePath(2), files[3].absoluteFilePath());
    QCOMPARE(model->outputPath(1), m_home.filePath("b.kavo"));
    QCOMPARE(model->status(0), int(FileInfoModel::Ready));
    QCOMPARE(model->status(1), int(FileInfoModel::Waiting));
    QCOMPARE(model->totalOutputBytes(), quint64(12000100));
    QCOMPARE(answerer.dialogs, QStringList{"ErrorDialog"});
    QCOMPARE(answerer.dialogTitles, QStringList{"Invalid Files"});
    QCOMPARE(answerer.listed, QStringList{QDir::toNativeSeparators(files[2].absoluteFilePath())});
    QVERIFY(child<QPushButton>("startButton")->isEnabled());
    // Write times follow the drive's rate (1 MiB/s here): about 7 s for the converted file.
    int conversion = 0, write = 0, status = 0;
    QString name;
    QVERIFY(model->rowValues(1, name, conversion, write, status));
    QCOMPARE(conversion, 90);
    QCOMPARE(write, 6);
    // Files that came with addToTop bring the registration note on the finish page.
    m_dlg->startButtonClicked();
    m_dlg->fileSaveDone();
    m_dlg->nextPage();
    QVERIFY(!child<QLabel>("registerLabel")->isHidden());
}

void TestTransferWizardDlg::appendFileInfos_listsUnsupportedTypesSeparately()
{
    goToPage(3);
    m_dlg->setFileTypes("Engine", {{"All videos", "*.mp4 *.avi"}, {"MPEG-4", "*.mp4"}});
    const QString clip = makeFile("clip.MP4");
    m_service.results[clip] = {0, 0, 100, QString()};
    BoxAnswerer answerer(QMessageBox::Ok);
    m_dlg->appendFileInfos({QFileInfo(makeFile("notes.txt")), QFileInfo(clip)}, false);
    // The text file fails analysis but is reported as an unsupported type, not as an error.
    QCOMPARE(answerer.dialogs, QStringList{"UnSupportedFileTypeDlg"});
    QCOMPARE(answerer.listed, QStringList{"notes.txt"});
    QCOMPARE(m_dlg->fileModel()->rowCount(), 1);
}

void TestTransferWizardDlg::analysis_showsProgressAndCanBeCancelled()
{
    goToPage(3);
    QList<QFileInfo> files;
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) {
        files << QFileInfo(makeFile(name));
        m_service.results[files.last().absoluteFilePath()] = {0, 0, 100, QString()};
    }
    m_service.busyPolls = 3;
    QString shownText;
    bool shown = false;
    m_service.whilePolling = [&] {
        auto* progress = m_dlg->findChild<kvqs::ProgressDialog*>();
        if (!progress || shown)
            return;
        shown = progress->isVisible();
        m_dlg->analyzeItem(1, 3);
        shownText = progress->text();
        m_dlg->cancelAnalyzing();
    };
    m_dlg->appendFileInfos(files, false);
    QVERIFY(shown);
    QCOMPARE(shownText, QString("Analyzing... 2/3"));
    QVERIFY(m_service.cancelAnalysisCalls >= 1);
    // Only the file analysed before the cancel is listed.
    QCOMPARE(m_dlg->fileModel()->rowCount(), 1);
    QVERIFY(!m_dlg->findChild<kvqs::ProgressDialog*>());
}

void TestTransferWizardDlg::analysis_refusedLeavesListUnchanged()
{
    goToPage(3);
    addModelFile("a.mp4", 10);
    m_service.analysisStarts = false;
    BoxAnswerer answerer(QMessageBox::Ok);
    m_dlg->appendFileInfos({QFileInfo(m_home.filePath("a.mp4"))}, false);
    QCOMPARE(m_service.analysisCalls, 1);
    QCOMPARE(m_dlg->fileModel()->rowCount(), 1);
    QVERIFY(answerer.dialogs.isEmpty());
    QVERIFY(!m_dlg->findChild<kvqs::ProgressDialog*>());
}

void TestTransferWizardDlg::drop_addsExistingFilesNotQueued()
{
    goToPage(3);
    const QString a = makeFile("a.mp4");
    const QString b = makeFile("b.mp4");
    m_service.queuedFiles << a;
    m_service.results[b] = {0, 0, 100, QString()};
    BoxAnswerer answerer(QMessageBox::Ok);
    dropFiles({a, b, m_home.filePath("gone.mp4")});
    QCOMPARE(answerer.boxes, 1);
    QVERIFY(answerer.text.contains(a));
    QCOMPARE(m_service.analysedFiles, QStringList{b});
    QCOMPARE(m_service.lastBrowsedDir, m_home.path());
    QCOMPARE(m_dlg->fileModel()->rowCount(), 1);
}

void TestTransferWizardDlg::dragEnter_acceptsKnownTypes_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("video") << QStringList{"a.mp4"} << true << true;
    QTest::newRow("upper-case suffix") << QStringList{"A.AVI"} << true << true;
    QTest::newRow("text file") << QStringList{"notes.txt"} << true << false;
    QTest::newRow("one video among others") << QStringList{"notes.txt", "a.mp4"} << true << true;
    QTest::newRow("missing file") << QStringList{"gone.mp4"} << true << false;
    QTest::newRow("any type without a list") << QStringList{"notes.txt"} << false << true;
    QTest::newRow("no urls") << QStringList{} << true << false;
}

void TestTransferWizardDlg::dragEnter_acceptsKnownTypes()
{
    QFETCH(QStringList, files);
    QFETCH(bool, typed);
    QFETCH(bool, accepted);
    goToPage(3);
    if (typed)
        m_dlg->setFileTypes("Engine", {{"All videos", "*.mp4 *.avi"}, {"MPEG-4", "*.mp4"}});
    QStringList paths;
    for (const QString& file : files)
        paths << (file == "gone.mp4" ? m_home.filePath(file) : makeFile(file));
    QMimeData mime;
    QCOMPARE(dragEnter(mime, paths), accepted);
}

void TestTransferWizardDlg::profileChange_reanalysesFilesOnFilePage()
{
    goToPage(3);
    addModelFile("a.mp4", 10);
    const QString a = m_home.filePath("a.mp4");
    m_dlg->prevPage();
    m_dlg->prevPage();
    QCOMPARE(m_dlg->currentPage(), 1);
    child<ProfileRadioButton>("KavoPlusHDRadioButton")->click();
    m_dlg->nextPage();
    QCOMPARE(m_service.analysisCalls, 0);
    m_service.results[a] = {0, 120, 9000, m_home.filePath("a.mkv")};
    m_dlg->nextPage();
    QCOMPARE(m_dlg->currentPage(), 3);
    QCOMPARE(m_service.analysisCalls, 1);
    QCOMPARE(m_service.analysedProfile, 4);
    QCOMPARE(m_dlg->fileModel()->outputPath(0), m_home.filePath("a.mkv"));
    QCOMPARE(m_dlg->fileModel()->outputBytes(0), quint64(9000));
    // Only a changed profile brings a new analysis.
    m_dlg->prevPage();
    m_dlg->nextPage();
    QCOMPARE(m_service.analysisCalls, 1);
}

void TestTransferWizardDlg::removeFiles_removesSelectedRuns_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("left");
    QTest::newRow("nothing selected") << QList<int>{} << "a b c d e";
    QTest::newRow("one") << QList<int>{2} << "a b d e";
    QTest::newRow("two runs") << QList<int>{0, 1, 3, 4} << "c";
    QTest::newRow("scattered") << QList<int>{4, 0, 2} << "b d";
    QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4} << "";
}

void TestTransferWizardDlg::removeFiles_removesSelectedRuns()
{
    QFETCH(QList<int>, selected);
    QFETCH(QString, left);
    m_service.usb << FakeWizardService::drive("/media/stick", "STICK", 8ull << 30);
    m_dlg->setWizardStartParameters(params(true, false, "/media/stick", 3, 1));
    for (const char* name : {"a", "b", "c", "d", "e"})
        addModelFile(QString(name) + ".mp4", 1000);
    auto* start = child<QPushButton>("startButton");
    start->setEnabled(true);
    auto* view = child<QTreeView>("fileListTableView");
    for (int row : selected)
        view->selectionModel()->select(m_dlg->fileModel()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_dlg->findChild<QPushButton*>("removefilePushButton")->click();
    QStringList names;
    for (int row = 0; row < m_dlg->fileModel()->rowCount(); ++row)
        names << QFileInfo(m_dlg->fileModel()->sourcePath(row)).completeBaseName();
    QCOMPARE(names.join(' '), left);
    QCOMPARE(start->isEnabled(), !left.isEmpty());
    QCOMPARE(m_service.removedFromQueue.size(), selected.size());
}

void TestTransferWizardDlg::fileClicked_explainsConversionTime_data()
{
    QTest::addColumn<int>("conversionSeconds");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("boxes");
    QTest::newRow("converted file, time column") << 90 << 2 << 1;
    QTest::newRow("converted file, name column") << 90 << 0 << 0;
    QTest::newRow("file written as it is") << 0 << 2 << 0;
    QTest::newRow("no estimate") << -1 << 2 << 0;
}

void TestTransferWizardDlg::fileClicked_explainsConversionTime()
{
    QFETCH(int, conversionSeconds);
    QFETCH(int, column);
    QFETCH(int, boxes);
    goToPage(3);
    addModelFile("a.mp4", 1000);
    m_dlg->fileModel()->setEstimateByName(m_home.filePath("a.mp4"), conversionSeconds, false);
    BoxAnswerer answerer(QMessageBox::Ok);
    m_dlg->fileClicked(m_dlg->fileModel()->index(0, column));
    QCOMPARE(answerer.boxes, boxes);
}

void TestTransferWizardDlg::startButton_withoutDrive_warnsAndStays()
{
    goToPage(3);
    // Start waits for the first file.
    QVERIFY(!child<QPushButton>("startButton")->isEnabled());
    BoxAnswerer answerer(QMessageBox::Ok);
    m_dlg->startButtonClicked();
    QCOMPARE(answerer.boxes, 1);
    QCOMPARE(m_dlg->currentPage(), 3);
    QCOMPARE(m_service.transferCalls, 0);
}

void TestTransferWizardDlg::startButton_withUsableDrive_startsConversion()
{
    m_service.usb << FakeWizardService::drive("/media/stick", "STICK", 8ull << 30);
    m_service.transcodeCount = 1;
    m_dlg->setWizardStartParameters(params(false, false, QString(), 3, 1));
    m_dlg->nextPage();
    m_dlg->nextPage();
    m_dlg->nextPage();
    QCOMPARE(m_dlg->currentPage(), 3);
    addModelFile("clip.mp4", 4096);
    BoxAnswerer answerer(QMessageBox::Ok);
    m_dlg->startButtonClicked();
    QCOMPARE(answerer.boxes, 0);
    QCOMPARE(m_dlg->currentPage(), 4);
    QCOMPARE(m_service.transferSources, QStringList{m_home.filePath("clip.mp4")});
    QVERIFY(!m_dlg->isTransferEnded());
    QVERIFY(m_dlg->fileModel()->progressMode());
    QCOMPARE(child<QLabel>("destinationTextLabel")->text(), QString("STICK"));
}

void TestTransferWizardDlg::updateProgress_countsConversionsAndShowsProgress()
{
    m_service.transcodeCount = 2;
    startTransfer({"a.mp4", "b.mp4"});
    const QString a = m_home.filePath("a.mp4");
    const QString b = m_home.filePath("b.mp4");
    auto* bar = child<QProgressBar>("fileTransferProgressBar");
    auto* label = child<QLabel>("transcode_writeLabel");
    auto* percent = child<QLabel>("progressPercentText");

    m_dlg->updateProgress(5, 100, 30, a);
    QCOMPARE(label->text(), QString("Converting video 1 of 2"));
    QCOMPARE(m_dlg->fileModel()->status(0), int(FileInfoModel::InProgress));
    QCOMPARE(bar->value(), 12);
    QCOMPARE(percent->text(), QString("5"));
    QVERIFY(child<QLabel>("transferTimeLeftLabel")->text().contains(':'));

    m_dlg->updateProgress(60, 100, 30, a);
    QCOMPARE(bar->value(), 60);
    QCOMPARE(label->text(), QString("Converting video 1 of 2"));
    m_dlg->progressFinised(a);
    QCOMPARE(m_dlg->fileModel()->status(0), int(FileInfoModel::Ready));

    m_dlg->updateProgress(0, 0, 12, b);
    QCOMPARE(label->text(), QString("Converting video 2 of 2"));
    QCOMPARE(bar->value(), 0);
    QCOMPARE(percent->text(), QString("0"));
    QCOMPARE(m_dlg->fileModel()->status(1), int(FileInfoModel::InProgress));
}

void TestTransferWizardDlg::saveVideoFiles_writesToUSBDriveAndEnds()
{
    startTransfer({"a.mp4", "b.mp4"});
    QCOMPARE(m_service.transferCalls, 1);
    QCOMPARE(m_service.transferSources.size(), 2);
    QCOMPARE(m_service.transferSources[1], m_home.filePath("b.mp4"));
    QCOMPARE(m_service.savedDrive, std::u16string(u"/media/stick"));
    QVERIFY(m_service.savedToUSB);
    QVERIFY(!m_service.savedAsIs);
    // Nothing to convert: the transfer goes on to writing.
    m_dlg->writeStarted(2);
    QVERIFY(!m_dlg->isTransferEnded());
    QVERIFY(!m_dlg->fileModel()->burning());
    auto* label = child<QLabel>("transcode_writeLabel");
    QCOMPARE(label->text(), QString("Transferring to USB drive"));

    m_dlg->fileSaveStarted(0);
    QCOMPARE(label->text(), QString("Transferring videos 1 of 2"));
    QCOMPARE(m_dlg->fileModel()->status(0), int(FileInfoModel::Writing));
    m_dlg->updateProgress(100, 100, 0, QString());
    QCOMPARE(child<QProgressBar>("fileTransferProgressBar")->value(), 100);
    m_dlg->fileSaveFinished(0);
    QCOMPARE(m_dlg->fileModel()->status(0), int(FileInfoModel::Finished));
    m_dlg->fileSaveStarted(1);
    QCOMPARE(label->text(), QString("Transferring videos 2 of 2"));
    m_dlg->fileSaveFinished(1);
    m_dlg->transferFinished(true, QString());

    QCOMPARE(label->text(), QString("Transfer completed."));
    QVERIFY(m_dlg->isTransferEnded());
    QVERIFY(child<QPushButton>("cancelButton")->isHidden());
    QCOMPARE(child<QPushButton>("nextButton")->text(), QString("Done"));
    QVERIFY(!child<QPushButton>("nextButton")->isHidden());
    m_dlg->nextPage();
    QCOMPARE(m_dlg->currentPageName(), QString("FINISHPAGE"));
    QCOMPARE(child<QStackedWidget>("Stack")->currentIndex(), 5);
}

void TestTransferWizardDlg::unfinishedTransfer_endState_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("unwritten");
    QTest::addColumn<QString>("reason");
    const QString gone = "The USB drive STICK is no longer available.";
    QTest::newRow("write failed") << "fail"
                                  << "b.mp4: could not write: No space left on device"
                                  << int(FileInfoModel::NotCopied)
                                  << "b.mp4: could not write: No space left on device";
    QTest::newRow("drive removed, write failed")
        << "remove and fail"
        << "Transfer failed. " + gone << int(FileInfoModel::NotCopied) << gone;
    QTest::newRow("drive removed, noticed by the window")
        << "remove"
        << "Transfer canceled. " + gone << int(FileInfoModel::NotCopied) << gone;
    QTest::newRow("cancelled") << "cancel"
                               << "Transfer canceled." << int(FileInfoModel::Canceled) << QString();
}

// A transfer that did not finish never shows 100 % or a time still to go; the file that
// arrived stays "Finished", the others say why they are not on the drive.
void TestTransferWizardDlg::unfinishedTransfer_endState()
{
    QFETCH(QString, end);
    QFETCH(QString, text);
    QFETCH(int, unwritten);
    QFETCH(QString, reason);
    const QString stick = m_home.filePath("STICK");
    QVERIFY(QDir().mkpath(stick));
    startTransfer({"a.mp4", "b.mp4", "c.mp4"}, true, false, stick);
    m_dlg->fileSaveStarted(0);
    m_dlg->updateProgress(100, 100, 0, QString());
    m_dlg->fileSaveFinished(0);
    m_dlg->fileSaveStarted(1);
    m_dlg->updateProgress(100, 100, 0, QString()); // the last chunk, then the failure
    if (end.startsWith("remove"))
        QVERIFY(QDir(stick).removeRecursively());
    if (end.endsWith("fail")) {
        m_dlg->fileSaveFailed(1, "could not name the file on the drive: No such file or directory");
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->accept();
        });
        m_dlg->saveFailed(end == "fail" ? reason
                                        : "b.mp4: could not name the file on the drive: No such "
                                          "file or directory");
    } else if (end == "remove") {
        m_dlg->cancelTransferProcess();
    } else {
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(QMessageBox::Yes)->click();
        });
        m_dlg->cancelProcessWarning();
    }
    QCOMPARE(child<QLabel>("transcode_writeLabel")->text(), text);
    QVERIFY(m_dlg->isTransferEnded());
    QVERIFY(child<QLabel>("transferTimeLeftLabel")->text().isEmpty());
    QVERIFY(child<QLabel>("progressPercentText")->text().toInt() < 100);
    QVERIFY(child<QProgressBar>("fileTransferProgressBar")->value() < 100);
    QVERIFY(!child<QLabel>("overallPercentText")->text().contains("100"));
    const FileInfoModel& model = *m_dlg->fileModel();
    QCOMPARE(model.status(0), int(FileInfoModel::Finished));
    QCOMPARE(model.status(2), unwritten);
    QCOMPARE(model.reason(2), reason);
    QCOMPARE(model.data(model.index(2, 2)).toString(),
             unwritten == FileInfoModel::Canceled ? QString("Canceled") : QString("Not copied"));
    if (end.endsWith("fail"))
        QCOMPARE(model.status(1), int(FileInfoModel::WriteError));
}

void TestTransferWizardDlg::usbCopyBesideConversions_keepsTheConversionsOnView()
{
    // Two videos convert while the copy takes the file that plays as it is, then the first
    // converted one; the page shows the conversions until they end, the rows show the copy.
    m_service.transcodeCount = 2;
    startTransfer({"a.mp4", "b.mp4", "c.avi"});
    const FileInfoModel& model = *m_dlg->fileModel();
    auto* label = child<QLabel>("transcode_writeLabel");
    auto* percent = child<QLabel>("progressPercentText");
    auto* bar = child<QProgressBar>("fileTransferProgressBar");
    m_dlg->updateProgress(30, 100, 60, model.sourcePath(0));
    m_dlg->fileSaveStarted(2);
    m_dlg->updateProgress(50, 100, 0, QString());
    QCOMPARE(label->text(), QString("Converting video 1 of 3"));
    QCOMPARE(percent->text(), QString("30"));
    QCOMPARE(bar->value(), 30);
    QCOMPARE(model.status(2), int(FileInfoModel::Writing));
    QVERIFY(!child<QLabel>("transferTimeLeftLabel")->text().isEmpty());

    m_dlg->progressFinised(model.sourcePath(0));
    m_dlg->updateProgress(100, 100, 0, QString());
    m_dlg->fileSaveFinished(2);
    m_dlg->fileSaveStarted(0);
    m_dlg->updateProgress(10, 100, 60, model.sourcePath(1));
    m_dlg->updateProgress(60, 100, 0, QString());
    QCOMPARE(label->text(), QString("Converting video 2 of 3"));
    QCOMPARE(percent->text(), QString("10"));
    QCOMPARE(model.status(0), int(FileInfoModel::Writing));
    QCOMPARE(model.status(2), int(FileInfoModel::Finished));

    // The conversions end; the write goes on with its own figures and counts what it did.
    m_dlg->progressFinised(model.sourcePath(1));
    m_dlg->writeStarted(3);
    QCOMPARE(label->text(), QString("Transferring to USB drive"));
    m_dlg->updateProgress(80, 100, 0, QString());
    QCOMPARE(percent->text(), QString("80"));
    m_dlg->fileSaveFinished(0);
    m_dlg->fileSaveStarted(1);
    QCOMPARE(label->text(), QString("Transferring videos 3 of 3"));
}

void TestTransferWizardDlg::burn_writeThenVerify_holdsBarAt99UntilDone()
{
    // This recorder's read-back took a quarter of its write last time.
    QVERIFY(WriteRateStore::recordVerifyShare("/dev/sr0", 4000, 1000));
    startTransfer({"a.mp4"}, false, true);
    QCOMPARE(m_service.transferCalls, 1);
    QVERIFY(!m_service.savedToUSB);
    QCOMPARE(m_service.savedDrive, std::u16string(u"/dev/sr0"));
    QVERIFY(m_service.savedAsIs);
    m_dlg->writeStarted(1);
    QVERIFY(m_dlg->fileModel()->burning());
    QCOMPARE(child<QLabel>("transcode_writeLabel")->text(), QString("Burning disc"));
    // A burn in progress counts as unfinished: closing asks first.
    QVERIFY(!m_dlg->isTransferEnded());
    // The write and the read-back (verify) fill the bar by their shares of the time.
    auto* bar = child<QProgressBar>("fileTransferProgressBar");
    m_dlg->updateProgress(100, 100, 0, QString());
    QCOMPARE(bar->value(), 80);
    // No rate measured on this recorder yet: no time until its own write has gone a second.
    QVERIFY(child<QLabel>("transferTimeLeftLabel")->text().isEmpty());
    QCOMPARE(child<QLabel>("transcode_writeLabel")->text(), QString("Burning disc"));
    m_dlg->burnPhaseProgress(6, 40, 100);
    QCOMPARE(bar->value(), 88);
    QCOMPARE(child<QLabel>("transcode_writeLabel")->text(), QString("Verifying disc"));
    m_dlg->burnPhaseProgress(6, 100, 100);
    QCOMPARE(bar->value(), 99);
    QCOMPARE(child<QLabel>("progressPercentText")->text(), QString("100"));
    m_dlg->fileSaveDone();
    QCOMPARE(bar->value(), 100);
}

void TestTransferWizardDlg::saveVideoFiles_failedStartEndsTransfer()
{
    m_service.transferStarts = false;
    startTransfer({"a.mp4"});
    QCOMPARE(m_service.transferCalls, 1);
    QVERIFY(m_dlg->isTransferEnded());
    QCOMPARE(child<QLabel>("transcode_writeLabel")->text(), QString("Transfer failed"));
    QCOMPARE(child<QPushButton>("nextButton")->text(), QString("Close"));
    QCOMPARE(m_dlg->currentPageName(), QString("FINISHPAGE"));
}

void TestTransferWizardDlg::transcodeError_asksWhetherToContinue_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("twoButtons");
    QTest::addColumn<bool>("continued");
    QTest::addColumn<QString>("endText");
    QTest::newRow("others left, continue")
        << 2 << int(QMessageBox::Yes) << true << true << QString("Converting video 1 of 2");
    QTest::newRow("others left, stop")
        << 2 << int(QMessageBox::No) << true << false << QString("Transfer canceled.");
    QTest::newRow("nothing left") << 1 << int(QMessageBox::Ok) << false << false
                                  << QString("Transfer failed");
}

void TestTransferWizardDlg::transcodeError_asksWhetherToContinue()
{
    QFETCH(int, files);
    QFETCH(int, answer);
    QFETCH(bool, twoButtons);
    QFETCH(bool, continued);
    QFETCH(QString, endText);
    m_service.transcodeCount = files;
    startTransfer(files == 2 ? QStringList{"a.mp4", "b.mp4"} : QStringList{"a.mp4"});
    const QString a = m_home.filePath("a.mp4");
    m_dlg->updateProgress(10, 100, 30, a);
    BoxAnswerer answerer{QMessageBox::StandardButton(answer)};
    QCOMPARE(m_dlg->continueAfterConversionError(21, a, files == 2), continued);
    QCOMPARE(answerer.boxes, 1);
    QVERIFY(answerer.text.contains(a));
    QVERIFY(answerer.text.contains("21"));
    if (twoButtons) {
        QCOMPARE(answerer.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(answerer.defaultButton, QMessageBox::No);
    } else {
        QCOMPARE(answerer.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(m_dlg->fileModel()->status(0), int(FileInfoModel::ConversionError));
    QCOMPARE(child<QLabel>("transcode_writeLabel")->text(), endText);
    QCOMPARE(m_dlg->isTransferEnded(), !continued);
    QCOMPARE(m_dlg->currentPageName(), QString(continued ? "TRANSERPROGRESSPAGE" : "FINISHPAGE"));
}

void TestTransferWizardDlg::close_asksOnlyDuringTransfer_data()
{
    QTest::addColumn<bool>("transferring");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<bool>("byWindowClose"); // else Escape
    QTest::newRow("during transfer, no keeps it open")
        << true << int(QMessageBox::No) << false << "TRANSERPROGRESSPAGE" << false;
    QTest::newRow("during transfer, yes to the window's close cancels and closes")
        << true << int(QMessageBox::Yes) << true << "FINISHPAGE" << true;
    QTest::newRow("outside a transfer, Escape closes without asking")
        << false << int(QMessageBox::No) << true << "TRANSFERMETHODPAGE" << false;
}

void TestTransferWizardDlg::close_asksOnlyDuringTransfer()
{
    QFETCH(bool, transferring);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(QString, pageName);
    QFETCH(bool, byWindowClose);
    if (transferring) {
        m_service.transcodeCount = 1;
        startTransfer({"a.mp4"});
    } else {
        goToPage(2);
    }
    m_dlg->show();
    QSignalSpy rejected(m_dlg, &QDialog::rejected);
    BoxAnswerer answerer{QMessageBox::StandardButton(answer)};
    if (byWindowClose)
        m_dlg->close();
    else
        QTest::keyClick(m_dlg, Qt::Key_Escape);
    QCOMPARE(answerer.boxes, transferring ? 1 : 0);
    if (transferring) {
        QCOMPARE(answerer.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(answerer.defaultButton, QMessageBox::No);
    }
    QCOMPARE(rejected.count(), closed ? 1 : 0);
    QCOMPARE(m_dlg->isVisible(), !closed);
    QCOMPARE(m_service.cancelTransferCalls, transferring && closed ? 1 : 0);
    QCOMPARE(m_dlg->currentPageName(), pageName);
    if (transferring && closed) {
        QVERIFY(m_service.waitCalls >= 1);
        QCOMPARE(m_dlg->fileModel()->status(0), int(FileInfoModel::Canceled));
    }
}

void TestTransferWizardDlg::setFileTypes_appendsLabelToTitleOnce()
{
    TransferWizardDlg::FileTypeMap types{{"Video", "*.mp4 *.avi"}};
    m_dlg->setFileTypes(QString(), types);
    QCOMPARE(m_dlg->windowTitle(), QString("Portavo"));
    m_dlg->setFileTypes("Engine 1.0", types);
    QCOMPARE(m_dlg->windowTitle(), QString("Portavo (Engine 1.0)"));
    m_dlg->setFileTypes("Engine 2.0", types);
    QCOMPARE(m_dlg->windowTitle(), QString("Portavo (Engine 2.0)"));
}

void TestTransferWizardDlg::resetWizard_restoresConstructionState()
{
    m_service.usb << FakeWizardService::drive("/media/stick", "STICK", 8ull << 30);
    WizardStartParameters p = params(true, true, "/media/stick", 4, 1);
    p.deviceLabel = "TV";
    p.requiredFSType = 3;
    m_dlg->setWizardStartParameters(p);
    addModelFile("a.mp4", 1000);
    m_dlg->cancelTransferProcess();
    QCOMPARE(child<QPushButton>("nextButton")->text(), QString("Close"));

    m_dlg->resetWizard();
    QCOMPARE(m_dlg->currentPageName(), QString("WELCOMEPAGE"));
    QCOMPARE(m_dlg->currentProfile(), 3);
    QCOMPARE(m_dlg->currentMethod(), 0);
    QVERIFY(m_dlg->isTransferEnded());
    QCOMPARE(m_dlg->fileModel()->rowCount(), 0);
    // The last start's parameters are gone with it.
    QCOMPARE(m_dlg->startParameters().burnOnly, false);
    QVERIFY(m_dlg->startParameters().driveLetter.empty());
    QCOMPARE(child<QPushButton>("nextButton")->text(), QString("Next"));
    QCOMPARE(child<QLabel>("remainSpaceText")->text(), QString("No Drive"));
    // The next transfer does not open with the canceled one's state.
    QCOMPARE(child<QLabel>("transcode_writeLabel")->text(), QString("Converting video"));
    QCOMPARE(child<QLabel>("transferTimeLeftLabel")->text(), QString("Counting..."));

    // The controller starts again with fresh parameters.
    m_dlg->setWizardStartParameters(params());
    QCOMPARE(m_dlg->currentPage(), 0);
    m_dlg->nextPage();
    QVERIFY(child<ProfileRadioButton>("KavoRadioButton")->isChecked());
}

void TestTransferWizardDlg::resize_roundsTheCorners()
{
    m_dlg->resize(570, 442);
    m_dlg->show();
    QTRY_VERIFY_WITH_TIMEOUT(!m_dlg->mask().isEmpty(), 5000);
    const QRegion mask = m_dlg->mask();
    const int w = m_dlg->width();
    const int h = m_dlg->height();
    for (const QPoint& corner :
         {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        QVERIFY2(!mask.contains(corner),
                 qPrintable(QString("%1,%2").arg(corner.x()).arg(corner.y())));
    QVERIFY(mask.contains(QPoint(w / 2, h / 2)) && mask.contains(QPoint(w - 1, h / 2)));
}

void TestTransferWizardDlg::titleBar_dragMovesWindow()
{
    goToPage(1);
    m_dlg->show();
    m_dlg->move(100, 100);
    QTRY_COMPARE_WITH_TIMEOUT(m_dlg->pos(), QPoint(100, 100), 5000);
    auto* bar = child<WindowTitleBar>("titleBar");
    const QPoint press(bar->width() / 2, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, press);
    QVERIFY(bar->isDragging());
    // The window follows the cursor, keeping the point that was grabbed under it.
    QPoint target;
    for (const QPoint& step : {QPoint(40, 3), QPoint(60, 5), QPoint(80, 6)}) {
        target = m_dlg->pos() + step;
        QTest::mouseMove(bar, press + step);
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_dlg->pos(), target, 5000);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, press);
    QVERIFY(!bar->isDragging());
    const QPoint stopped = m_dlg->pos();
    QTest::mouseMove(bar, press + QPoint(30, 0));
    QCOMPARE(m_dlg->pos(), stopped);
}

void TestTransferWizardDlg::titleBar_buttonsCloseAndMinimise()
{
    goToPage(2);
    m_dlg->show();
    auto* bar = child<WindowTitleBar>("titleBar");
    QSignalSpy rejected(m_dlg, &QDialog::rejected);
    emit bar->collapseClicked();
    QTRY_VERIFY_WITH_TIMEOUT(m_dlg->isMinimized(), 5000);
    QCOMPARE(rejected.count(), 0);
    m_dlg->showNormal();
    emit bar->closeClicked();
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!m_dlg->isVisible());
}

QTEST_MAIN(TestTransferWizardDlg)
#include "tst_TransferWizardDlg.moc"
