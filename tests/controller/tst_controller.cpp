#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>
#include <thread>

#include "ErrorDialog.h"
#include "HttpRecorder.h"
#include "PingManager.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"
#include "TestClips.h"
#include "TransferDevice.h"
#include "TransferDevices.h"
#include "TransferWizardController.h"
#include "UnattendedTransfer.h"

namespace {
QString readString(const char* key)
{
    std::string value;
    if (!ReadSetting("TransferWizard", key, value))
        return QStringLiteral("<missing>");
    return QString::fromStdString(value);
}

QList<QMessageBox*> visibleBoxes()
{
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

// The "Invalid Files" box that lists files which are not there.
ErrorDialog* visibleErrorDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<ErrorDialog*>(w); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}
} // namespace

class TestController : public QObject
{
    Q_OBJECT

public:
    explicit TestController(const QString& root) : m_rootPath(root) {}

private slots:
    void initTestCase();
    void cleanupTestCase();
    void construction_writesDefaults_andStartPings();
    void startWizard_deviceId_data();
    void startWizard_deviceId();
    void startWizard_storedDevice_usesItsChoices();
    void burnOnly_afterRestart_keepsPreviousType();
    void secondLaunch_fromOtherThread_data();
    void secondLaunch_fromOtherThread();
    void addTransferFiles_logsEveryName();
    void errorBox_oneAtATime();
    void restart_resetsTransferAndDevice();
    void unfinishedOperations_reportFailure();
    void lastBrowsedDir_roundTrip();
    void registerDeviceWithPlayer_startsPlayer();
    void lastPagePing_namesCurrentPage();
    void firstTransfer_storesDevice_nextStartPreselectsMethod();
    void unattendedLine_escapesEveryField_data();
    void unattendedLine_escapesEveryField();

private:
    QString filePath(const QString& relative) const { return m_rootPath + "/" + relative; }

    QString m_rootPath;
    std::unique_ptr<HttpRecorder> m_server;
};

void TestController::initTestCase()
{
    m_server = std::make_unique<HttpRecorder>();
    QVERIFY(WriteInstallSetting("TransferWizard", "UsageHost", m_server->host().toStdString()));
}

void TestController::cleanupTestCase()
{
    pingManager()->clear();
}

void TestController::construction_writesDefaults_andStartPings()
{
    QCOMPARE(readString("TempDir"), QStringLiteral("<missing>"));
    {
        TransferWizardController controller;
        QCOMPARE(controller.transferState(), int(TransferState::Idle));
        QVERIFY(!controller.isTracing());
    }
    uint32_t tracing = 99;
    QVERIFY(ReadSetting("TransferWizard", "WizardTracing", tracing));
    QCOMPARE(tracing, 0u);
    QCOMPARE(readString("FirstPingSent"), QStringLiteral("true"));

    // The temporary directory is private to the user, under the cache folder.
    const QString temp = readString("TempDir");
    QCOMPARE(temp, filePath("cache/Kavo/TransferWizard/tmp"));
    QCOMPARE(int(QFile::permissions(temp) & 0x0777),
             int(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser));
    QVERIFY(!QFile::exists(temp + "/TWDebug.txt"));
    QCOMPARE(readString("LastBrwosedDir"), filePath("home/Desktop"));

    {
        TransferWizardController controller;
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requestLines().size(), 2, 10000);
    QCOMPARE(m_server->requestLines().at(0),
             QByteArray("GET /hint/d9-WindowTransferWizardStartAfterInstall HTTP/1.1"));
    QCOMPARE(m_server->requestLines().at(1),
             QByteArray("GET /hint/d9-WindowTransferWizardStart HTTP/1.1"));
}

void TestController::startWizard_deviceId_data()
{
    QTest::addColumn<uint>("deviceId");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("profile");
    QTest::addColumn<bool>("skipProfilePage");
    QTest::addColumn<bool>("burnOnly");
    QTest::addColumn<uint>("mask");

    QTest::newRow("10000 DVD player") << 10000u << "DVD Player" << 0 << false << false << 63u;
    QTest::newRow("10001 Blu-ray") << 10001u << "Blu-ray Player" << 0 << false << false << 63u;
    QTest::newRow("10002 TV") << 10002u << "TV" << 0 << false << false << 63u;
    QTest::newRow("10003 PlayStation 3") << 10003u << "Playstation 3" << 3 << true << false << 3u;
    QTest::newRow("10009 phone") << 10009u << "Mobile Phone" << 0 << false << false << 63u;
    QTest::newRow("1000 burn only") << 1000u << "DVD Player" << 0 << false << true << 63u;
    QTest::newRow("5 unknown small id") << 5u << "DVD Player" << 0 << false << false << 63u;
}

void TestController::startWizard_deviceId()
{
    QFETCH(uint, deviceId);
    QFETCH(QString, label);
    QFETCH(int, profile);
    QFETCH(bool, skipProfilePage);
    QFETCH(bool, burnOnly);
    QFETCH(uint, mask);

    TransferWizardController controller;
    controller.startWizard({}, deviceId, false, false);
    const WizardStartParameters& p = controller.dialog()->startParameters();
    QCOMPARE(p.deviceLabel, label);
    QCOMPARE(p.profile, profile);
    QCOMPARE(p.skipProfilePage, skipProfilePage);
    QCOMPARE(p.driveType, -1);
    QCOMPARE(p.burnOnly, burnOnly);
    QCOMPARE(p.requiredFSType, mask);
    QVERIFY(p.driveLetter.empty());
    QCOMPARE(controller.deviceState().deviceID, int(deviceId));
}

void TestController::startWizard_storedDevice_usesItsChoices()
{
    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    QVERIFY(library->IsOpen());
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> device(
        library->CreateDevice("Living room"));
    QVERIFY(device);
    device->SetType(1);
    device->SetProfile(3); // the brand's HD profile
    device->SetLastUsedMethod(2);
    device->SetLastDriveName("/media/alice/STICK");
    device->SetDataRate(123456);
    const uint id = device->GetDeviceId();

    TransferWizardController controller;
    controller.startWizard({}, id, false, false);
    const WizardStartParameters& p = controller.dialog()->startParameters();
    QCOMPARE(p.deviceLabel, QString("Blu-ray Player"));
    QCOMPARE(p.driveType, 1);
    QCOMPARE(p.driveLetter, std::u16string(u"/media/alice/STICK"));
    QCOMPARE(p.requiredFSType, 63u);
    QCOMPARE(controller.deviceState().profile, 3);
    QCOMPARE(controller.deviceState().dataRate, 123456u);
    QCOMPARE(controller.deviceState().deviceName, std::string("Living room"));
    // Stored profile 3 is transcode profile 4; the dialog takes it as its profile.
    QCOMPARE(p.profile, 4);
}

void TestController::burnOnly_afterRestart_keepsPreviousType()
{
    TransferWizardController controller;
    controller.startWizard({}, 10003, false, false);
    emit controller.restart({}, 1000, false);
    QTRY_COMPARE_WITH_TIMEOUT(controller.deviceState().deviceID, 1000, 5000);
    const WizardStartParameters& p = controller.dialog()->startParameters();
    QVERIFY(p.burnOnly);
    QCOMPARE(p.deviceLabel, QString("Playstation 3"));
}

void TestController::secondLaunch_fromOtherThread_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<uint>("deviceId");
    QTest::addColumn<bool>("activation");
    QTest::addColumn<bool>("withFiles");
    QTest::addColumn<QString>("expected");

    QTest::newRow("idle, same device") << 0 << 10002u << false << true << "append";
    QTest::newRow("idle, same device, no files") << 0 << 10002u << false << false << "none";
    QTest::newRow("idle, other device") << 0 << 10003u << false << true << "error";
    QTest::newRow("idle, other device, activation") << 0 << 10003u << true << true << "append";
    QTest::newRow("stopped") << 1 << 10003u << false << true << "restart";
    QTest::newRow("transcoding") << 2 << 10002u << false << true << "error";
    QTest::newRow("copying") << 3 << 10002u << false << true << "error";
    QTest::newRow("burning") << 4 << 10002u << true << true << "error";
    QTest::newRow("finished") << 128 << 10002u << false << false << "restart";
}

void TestController::secondLaunch_fromOtherThread()
{
    QFETCH(int, state);
    QFETCH(uint, deviceId);
    QFETCH(bool, activation);
    QFETCH(bool, withFiles);
    QFETCH(QString, expected);

    TransferWizardController controller;
    controller.startWizard({}, 10002, false, false);
    controller.setTransferState(state);

    QSignalSpy append(&controller,
                      qOverload<QStringList, bool>(&TransferWizardController::appendTransferFiles));
    QSignalSpy error(&controller, &TransferWizardController::appendTransferFileError);
    QSignalSpy restart(&controller, &TransferWizardController::restart);
    // The message box of a refusal is closed as soon as it shows.
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, []() {
        for (QMessageBox* box : visibleBoxes())
            box->done(0);
        if (ErrorDialog* missing = visibleErrorDialog())
            missing->done(0);
    });
    closer.start(20);

    const QStringList files = withFiles ? QStringList{"/nowhere/a.avi"} : QStringList{};
    // A plain thread joined here, so ThreadSanitizer sees the join (Qt's own is not instrumented).
    std::thread host([&]() { controller.appendTransferFiles(files, deviceId, activation); });
    host.join();

    QCOMPARE(append.size(), expected == "append" ? 1 : 0);
    QCOMPARE(error.size(), expected == "error" ? 1 : 0);
    QCOMPARE(restart.size(), expected == "restart" ? 1 : 0);
    if (expected == "append") {
        QCOMPARE(append.at(0).at(0).toStringList(), files);
        QCOMPARE(append.at(0).at(1).toBool(), activation);
    }
    if (expected == "error") {
        QCOMPARE(error.at(0).at(0).toString(),
                 QString("You can only perform one transfer at a time with Portavo. Please "
                         "finish or close the current transfer before proceeding."));
    }
    if (expected == "restart") {
        QCOMPARE(restart.at(0).at(1).toInt(), int(deviceId));
        // The restart itself runs on this (the GUI) thread.
        QTRY_COMPARE_WITH_TIMEOUT(controller.transferState(), int(TransferState::Idle), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(controller.deviceState().deviceID, int(deviceId), 5000);
    }
    // Let queued slots run before the controller goes.
    QCoreApplication::processEvents();
}

void TestController::addTransferFiles_logsEveryName()
{
    TransferWizardController controller;
    controller.startWizard({}, 10002, false, false);
    static QStringList lines;
    lines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& m) { lines.append(m); });
    // Neither file exists; the first stands for one that did.
    const QString present = filePath("home/present.avi");
    const QString missing = filePath("home/missing.avi");
    // The missing files are listed in the "Invalid Files" box, with the file-not-found error.
    int rows = -1;
    QString missingText;
    QTimer::singleShot(0, this, [&]() {
        QTRY_VERIFY(visibleErrorDialog());
        ErrorDialog* dialog = visibleErrorDialog();
        rows = dialog->rowCount();
        missingText = dialog->windowTitle() + "|" +
                      dialog->treeWidget()
                          ->itemWidget(dialog->treeWidget()->topLevelItem(0), 1)
                          ->property("text")
                          .toString();
        dialog->done(0);
    });
    emit controller.appendTransferFiles(QStringList{present, missing}, false);
    qInstallMessageHandler(previous);
    QVERIFY(lines.contains("TransferWizardController  File Name: " + present));
    QVERIFY(lines.contains("TransferWizardController  File Name: " + missing));
    QVERIFY(
        lines.contains("TransferWizardController  Files not found: " + present + " " + missing));
    QCOMPARE(rows, 2);
    QVERIFY2(missingText.startsWith("Invalid Files|") && missingText.contains("#5\">") &&
                 missingText.contains(">5</span>"),
             qPrintable(missingText));
}

void TestController::errorBox_oneAtATime()
{
    TransferWizardController controller;
    controller.startWizard({}, 10002, false, false);
    controller.setTransferState(TransferState::CopyingToUSB);

    QSet<QMessageBox*> seen;
    int mostAtOnce = 0;
    int ticks = 0;
    QString title;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&]() {
        const QList<QMessageBox*> boxes = visibleBoxes();
        mostAtOnce = qMax(mostAtOnce, int(boxes.size()));
        for (QMessageBox* box : boxes) {
            seen.insert(box);
            title = box->windowTitle();
        }
        // Keep the box open for a few rounds so the second error arrives while it shows.
        if (!boxes.isEmpty() && ++ticks > 10) {
            ticks = 0;
            for (QMessageBox* box : boxes)
                box->done(0);
        }
    });
    watcher.start(10);

    std::thread host([&]() {
        controller.appendTransferFiles({}, 10002, false);
        controller.appendTransferFiles({}, 10002, false);
    });
    host.join();

    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(visibleBoxes().isEmpty(), 10000);
    QCOMPARE(mostAtOnce, 1);
    QCOMPARE(title, QString("Add Video Error"));
    QVERIFY(controller.dialog()->isVisible());

    // Once closed, the next refusal shows a box again.
    seen.clear();
    emit controller.appendTransferFileError("again");
    QCOMPARE(seen.size(), 1);
}

void TestController::restart_resetsTransferAndDevice()
{
    TransferWizardController controller;
    controller.startWizard({}, 10003, false, false);
    controller.setTransferState(TransferState::Finished);
    emit controller.restart({}, 10002, false);
    QCOMPARE(controller.transferState(), int(TransferState::Idle));
    QCOMPARE(controller.deviceState().deviceID, 10002);
    QCOMPARE(controller.deviceState().type, 2);
    QCOMPARE(controller.dialog()->startParameters().deviceLabel, QString("TV"));
    QVERIFY(controller.waitForWorker(0));
}

void TestController::unfinishedOperations_reportFailure()
{
    TransferWizardController controller;
    QList<USBDriveData> drives{USBDriveData()};
    QVERIFY(!controller.GetUSBDrives(drives));
    QVERIFY(drives.isEmpty());
    QVERIFY(!controller.GetBurnerDrives(drives));
    QVERIFY(!controller.startAnalysis({}, 3));
    QCOMPARE(controller.startTransfer({}, USBDriveData(), true, false), -1);
    QVERIFY(!controller.session());
    QVERIFY(!controller.reserved("a", "b"));
    QCOMPARE(controller.transferState(), int(TransferState::Idle));
}

void TestController::lastBrowsedDir_roundTrip()
{
    TransferWizardController controller;
    QVERIFY(controller.setLastBrowsedDir(QDir(m_rootPath)));
    QString dir;
    QVERIFY(controller.getLastBrowsedDir(dir));
    QCOMPARE(dir, m_rootPath);
    QCOMPARE(readString("LastBrwosedDir"), m_rootPath);
}

void TestController::registerDeviceWithPlayer_startsPlayer()
{
    TransferWizardController controller;
    QVERIFY(!controller.registerDeviceWithPlayer());

    const QString playerDir = filePath("player");
    QVERIFY(QDir().mkpath(playerDir));
    QVERIFY(WriteInstallSetting(u"Player", u"InstallDir", playerDir.toStdU16String()));
    QVERIFY(!controller.registerDeviceWithPlayer());

    const QString marker = filePath("player-ran.txt");
    QFile script(playerDir + "/Kavo Plus Player");
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\necho \"$@\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(controller.registerDeviceWithPlayer());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker) && QFileInfo(marker).size() > 0, 10000);
    QFile result(marker);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(result.readAll().trimmed(), QByteArray("-ovsregisterdevice"));
}

void TestController::lastPagePing_namesCurrentPage()
{
    const int before = int(m_server->requestLines().size());
    {
        TransferWizardController controller;
        controller.launchWizard({}, 10002, false);
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestLines().size() > before, 10000); // start ping
        const QByteArray page = controller.dialog()->currentPageName().toUtf8();
        controller.dialog()->reject();
        // The ping waits for its answer before reject() returns.
        QCOMPARE(m_server->requestLines().last(),
                 "GET /hint/d9-WindowTransferWizardLastPage-" + page + " HTTP/1.1");
    }
}

void TestController::firstTransfer_storesDevice_nextStartPreselectsMethod()
{
    // A TV chosen by its type: the device library has no row for it yet.
    const uint id = 10002;
    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    QVERIFY(!std::unique_ptr<TransferDevicesLibrary::TransferDevice>(library->GetDevice(id)));
    const QString stick = filePath("stick");
    QVERIFY(QDir().mkpath(stick));
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", stick.toStdString()));
    const QString clip = TestClips(m_rootPath).fitting("fits.avi", 1);
    QVERIFY(!clip.isEmpty());

    {
        TransferWizardController controller;
        controller.launchWizard({}, id, false);
        TransferWizardDlg* dlg = controller.dialog();
        QCOMPARE(dlg->startParameters().driveType, -1);
        // What the user's clicks do: a profile, the file, the drive, Start.
        dlg->useProfile(1);
        dlg->appendFileInfos({QFileInfo(clip)}, false);
        QTRY_COMPARE_WITH_TIMEOUT(dlg->fileModel()->rowCount(), 1, 60000);
        dlg->showFilePage();
        dlg->chooseDestination(stick.toStdU16String());
        QCOMPARE(dlg->currentMethod(), 1);
        QCOMPARE(dlg->destinationRefusal(), QString());
        QSignalSpy finished(&controller, &TransferWizardController::transferFinished);
        dlg->startTransfer();
        QVERIFY(finished.wait(60000));
        QCOMPARE(controller.session()->result().end, TransferResult::Completed);
        QCOMPARE(dlg->isTransferEnded(), true);
        QVERIFY(QFile::exists(stick + "/fits.avi"));
        dlg->reject();
    }
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> stored(library->GetDevice(id));
    QVERIFY(stored && stored->HasBeenConfigured());
    QCOMPARE(stored->GetLastUsedMethod(), 2);
    QCOMPARE(QString::fromStdString(stored->GetLastDriveName()), stick);
    QCOMPARE(stored->GetProfile(), 2u); // HD 1080

    TransferWizardController next;
    next.startWizard({}, id, false, false);
    QCOMPARE(next.dialog()->startParameters().driveType, 1);
    QCOMPARE(next.dialog()->currentMethod(), 1);
    QCOMPARE(next.dialog()->currentProfile(), 1);
}

void TestController::unattendedLine_escapesEveryField_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << QStringList{"/v/a.avi", "arrived", "/m/a.avi"}
                           << "/v/a.avi\tarrived\t/m/a.avi";
    QTest::newRow("tab and newline in source and destination")
        << QStringList{"/v/a\tb\n.avi", "arrived", "/m/a\tb\n.avi"}
        << "/v/a\\tb\\n.avi\tarrived\t/m/a\\tb\\n.avi";
    QTest::newRow("backslash and carriage return in the reason")
        << QStringList{"/v/c\\d.avi", "failed", "no room on E:\\ \r"}
        << "/v/c\\\\d.avi\tfailed\tno room on E:\\\\ \\r";
}

void TestController::unattendedLine_escapesEveryField()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    const QString written = UnattendedTransfer::outputLine(fields);
    QCOMPARE(written, line);
    // One line, three fields, whatever the names hold.
    QVERIFY(!written.contains('\n') && !written.contains('\r'));
    QCOMPARE(written.count('\t'), 2);
}

int main(int argc, char** argv)
{
    return PrivateEnvironment::exec<QApplication, TestController>(argc, argv);
}

#include "tst_controller.moc"
