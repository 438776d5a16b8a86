#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "../ping/HttpRecorder.h"
#include "../queue/QueueTestSupport.h"
#include "PingManager.h"
#include "SettingsAccessors.h"
#include "TransferDevice.h"
#include "TransferDevices.h"
#include "TransferWizardController.h"

// The controller's write step: a write that fails ends as a failed transfer (the file and the
// reason named, nothing recorded, no end pings), and a cancel is taken in every state.
class TestSaveStep : public QObject
{
    Q_OBJECT

public:
    explicit TestSaveStep(const QString& root) : m_root(root) {}

private slots:
    void initTestCase();
    void failedWrite_endsAsFailedTransfer_data();
    void failedWrite_endsAsFailedTransfer();
    void cancelDuringCopy_reportsCancelledNotArrived();
    void discNames_reportTheNamesUsed_data();
    void discNames_reportTheNamesUsed();
    void imagePathProblem_reachesTheUserWithItsReason();
    void cancelTransfer_inEveryState_data();
    void cancelTransfer_inEveryState();

private:
    QString m_root;
    std::unique_ptr<HttpRecorder> m_pings;
};

void TestSaveStep::initTestCase()
{
    m_pings = std::make_unique<HttpRecorder>();
    QVERIFY(WriteInstallSetting("TransferWizard", "UsageHost", m_pings->host().toStdString()));
}

void TestSaveStep::failedWrite_endsAsFailedTransfer_data()
{
    QTest::addColumn<bool>("toUSB");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disc: recorder gone") << false << "the recorder /dev/sr9 is not available";
    QTest::newRow("usb: a video vanished") << true << "the file was not found";
}

void TestSaveStep::failedWrite_endsAsFailedTransfer()
{
    QFETCH(bool, toUSB);
    QFETCH(QString, reason);
    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> device(library->CreateDevice("Den"));
    QVERIFY(device);
    const uint id = device->GetDeviceId();

    const QString stick = m_root + "/stick-" + QTest::currentDataTag();
    QDir().mkpath(stick);
    const QString present = m_root + "/clip.avi";
    QFile clip(present);
    QVERIFY(clip.open(QIODevice::WriteOnly));
    clip.write("video");
    clip.close();
    // The partial output of a failed conversion is listed too, and is not a new failure.
    const QList<QFileInfo> files{QFileInfo(present), QFileInfo(m_root + "/gone.avi"),
                                 QFileInfo(m_root + "/failed.kavo.temp")};

    TransferWizardController controller;
    controller.startWizard({}, id, false, false);
    controller.startTranscode({present}, 3);
    QTRY_COMPARE_WITH_TIMEOUT(pingManager()->pendingCount(), 0, 10000); // the start ping
    const int pingsBefore = int(m_pings->requestLines().size());
    // The save signals come from the worker's thread: collect them on this one. The sink goes
    // first, and with it any signal still queued for the lists.
    QList<int> failedFiles;
    QStringList failed;
    int done = 0;
    QObject sink;
    connect(
        &controller, &TransferWizardController::fileSaveFailed, &sink,
        [&](int index, QString) { failedFiles << index; }, Qt::QueuedConnection);
    connect(
        &controller, &TransferWizardController::saveFailed, &sink,
        [&](QString message) { failed << message; }, Qt::QueuedConnection);
    connect(
        &controller, &TransferWizardController::fileSaveDone, &sink, [&]() { ++done; },
        Qt::QueuedConnection);

    // The dialog tells the user in a message box; close it as it shows.
    QTimer closer;
    connect(&closer, &QTimer::timeout, []() {
        if (QWidget* box = QApplication::activeModalWidget(); box && box->inherits("QMessageBox"))
            box->close();
    });
    closer.start(50);
    QVERIFY(
        controller.startSave(files, (toUSB ? stick : QString("/dev/sr9")).toStdU16String(), toUSB));
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 20000);
    QVERIFY(controller.waitForWorker(10000));
    const QString message = failed.first();
    QVERIFY2(message.contains(toUSB ? "gone.avi" : "clip.avi") && message.contains(reason),
             qPrintable(message));
    QCOMPARE(controller.transferState(), int(TransferState::Stopped));
    QCOMPARE(done, 0);

    const QList<TransferSaveStep::FileOutcome> outcomes = controller.saveOutcomes();
    QCOMPARE(outcomes.size(), 3);
    QCOMPARE(outcomes[2].state, TransferSaveStep::FileOutcome::NotWritten);
    if (toUSB) {
        QCOMPARE(outcomes[0].state, TransferSaveStep::FileOutcome::Arrived);
        QCOMPARE(outcomes[1].state, TransferSaveStep::FileOutcome::Failed);
        QCOMPARE(failedFiles.size(), 1);
        QCOMPARE(failedFiles.first(), 1);
    } else {
        QCOMPARE(outcomes[0].state, TransferSaveStep::FileOutcome::Failed);
        QCOMPARE(failedFiles.size(), 1);
        QCOMPARE(failedFiles.first(), 0);
    }
    // Nothing recorded, nothing announced as done.
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> stored(library->GetDevice(id));
    QVERIFY(stored && !stored->HasBeenConfigured());
    QCOMPARE(stored->GetLastUsedMethod(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(pingManager()->pendingCount(), 0);
    QCOMPARE(int(m_pings->requestLines().size()), pingsBefore);
}

void TestSaveStep::cancelDuringCopy_reportsCancelledNotArrived()
{
    const QString stick = m_root + "/stick-cancel";
    QDir().mkpath(stick);
    QList<QFileInfo> files;
    for (const char* name : {"one.avi", "two.avi"}) {
        QFile clip(m_root + "/" + name);
        QVERIFY(clip.open(QIODevice::WriteOnly));
        clip.write(QByteArray(100000, 'v'));
        files << QFileInfo(clip.fileName());
    }
    TransferWizardController controller;
    QSignalSpy cancelled(&controller, &TransferWizardController::fileSaveCanceled);
    QSignalSpy finished(&controller, &TransferWizardController::fileSaveFinished);
    // The user cancels as the first copy reports progress.
    connect(&controller, &TransferWizardController::writeFileProgress, &controller,
            [&]() { controller.cancelTransfer(); });
    controller.copyFilesToUSB(files, stick.toStdU16String());
    const QList<TransferSaveStep::FileOutcome> outcomes = controller.saveOutcomes();
    QCOMPARE(outcomes.size(), 2);
    QCOMPARE(outcomes[0].state, TransferSaveStep::FileOutcome::Cancelled);
    QVERIFY(outcomes[0].destination.isEmpty());
    QCOMPARE(outcomes[1].state, TransferSaveStep::FileOutcome::NotWritten);
    QCOMPARE(int(cancelled.size()), 1);
    QCOMPARE(cancelled.first().first().toInt(), 0);
    QCOMPARE(int(finished.size()), 0);
    QVERIFY(QDir(stick).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestSaveStep::discNames_reportTheNamesUsed_data()
{
    QTest::addColumn<QString>("medium");
    QTest::newRow("CD image") << "cd-r";
    QTest::newRow("DVD image") << "dvd+r";
}

void TestSaveStep::discNames_reportTheNamesUsed()
{
    // A backslash is part of a Linux file name; twins by case and by name are renamed on the
    // disc, and the outcome says so.
    QFETCH(QString, medium);
    const QString image = m_root + "/names-" + medium + ".iso";
    QVERIFY(WriteSetting("TransferWizard", "ImageBurners", (medium + ":" + image).toStdString()));
    QList<QFileInfo> files;
    for (const char* path : {"a/back\\slash.avi", "b/Clip.avi", "c/clip.avi"}) {
        QDir().mkpath(m_root + "/names/" + QFileInfo(path).path());
        QFile clip(m_root + "/names/" + path);
        QVERIFY(clip.open(QIODevice::WriteOnly));
        clip.write(path);
        files << QFileInfo(clip.fileName());
    }
    TransferWizardController controller;
    QList<USBDriveData> drives;
    QVERIFY(controller.GetBurnerDrives(drives));
    controller.writeVideoFileToBurner(files, image.toStdU16String());
    QStringList arrived;
    for (const TransferSaveStep::FileOutcome& outcome : controller.saveOutcomes()) {
        QCOMPARE(outcome.state, TransferSaveStep::FileOutcome::Arrived);
        arrived << outcome.destination;
    }
    const QStringList names{"back\\slash.avi", "Clip.avi", "clip (2).avi"};
    QCOMPARE(arrived,
             QStringList({image + "/" + names[0], image + "/" + names[1], image + "/" + names[2]}));

    // What a reader we did not write finds: Rock Ridge on the CD, UDF on the DVD.
    const QString out = m_root + "/names-out-" + medium;
    QProcess reader;
    if (medium == "cd-r")
        reader.start("xorriso", {"-osirrox", "on", "-indev", image, "-extract", "/", out});
    else
        reader.start("7z", {"x", "-tudf", "-y", "-o" + out, image});
    QVERIFY(reader.waitForFinished(60000) && reader.exitCode() == 0);
    QStringList found = QDir(out).entryList(QDir::Files);
    QStringList expected = names;
    found.sort();
    expected.sort();
    QCOMPARE(found, expected);
}

void TestSaveStep::imagePathProblem_reachesTheUserWithItsReason()
{
    const QString folder = m_root + "/images-gone";
    QDir().mkpath(folder);
    const QString image = folder + "/disc.iso";
    const QString reason = "the folder " + folder + " does not exist";
    QVERIFY(WriteSetting("TransferWizard", "ImageBurners", ("dvd+r:" + image).toStdString()));
    QFile clip(m_root + "/burnt.avi");
    QVERIFY(clip.open(QIODevice::WriteOnly));
    clip.write("video");
    clip.close();
    TransferWizardController controller;
    QList<USBDriveData> drives;
    QVERIFY(controller.GetBurnerDrives(drives));
    QCOMPARE(drives.size(), 1);
    QVERIFY(drives[0].problem.empty());

    // The folder goes after the drives were listed: the write fails saying why.
    QVERIFY(QDir(folder).removeRecursively());
    controller.writeVideoFileToBurner({QFileInfo(clip)}, image.toStdU16String());
    const QList<TransferSaveStep::FileOutcome> outcomes = controller.saveOutcomes();
    QCOMPARE(outcomes.size(), 1);
    QCOMPARE(outcomes[0].state, TransferSaveStep::FileOutcome::Failed);
    QCOMPARE(outcomes[0].reason, reason);

    // Listed again, the drive is refused before Start, for the same reason.
    QVERIFY(controller.GetBurnerDrives(drives));
    QCOMPARE(QString::fromStdU16String(drives[0].problem), reason);
    QCOMPARE(drives[0].status, int(DriveMediumNotWritable));
}

void TestSaveStep::cancelTransfer_inEveryState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("cancelFlag");
    QTest::addColumn<int>("transcodeCancels");
    QTest::newRow("idle") << int(TransferState::Idle) << true << 0;
    QTest::newRow("stopped") << int(TransferState::Stopped) << true << 0;
    QTest::newRow("converting") << int(TransferState::Transcoding) << false << 1;
    QTest::newRow("copying") << int(TransferState::CopyingToUSB) << true << 0;
    QTest::newRow("burning") << int(TransferState::WritingDisc) << true << 0;
    QTest::newRow("finished") << int(TransferState::Finished) << true << 0;
}

void TestSaveStep::cancelTransfer_inEveryState()
{
    QFETCH(int, state);
    QFETCH(bool, cancelFlag);
    QFETCH(int, transcodeCancels);
    TransferWizardController controller;
    QSignalSpy cancelTranscode(&controller, &TransferWizardController::cancelTranscode);
    controller.setTransferState(state);
    controller.cancelTransfer();
    QCOMPARE(controller.transferState(), int(TransferState::Stopped));
    QCOMPARE(controller.isCancelled(), cancelFlag);
    QCOMPARE(int(cancelTranscode.size()), transcodeCancels);
    // A new write step starts without the old cancel.
    QVERIFY(controller.waitForWorker(0));
}

int main(int argc, char** argv)
{
    QTemporaryDir root;
    QueueTestSupport::usePrivateEnvironment(root.path());
    QApplication app(argc, argv);
    TestSaveStep test(root.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_save_step.moc"
