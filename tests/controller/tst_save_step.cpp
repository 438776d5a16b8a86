#include <QApplication>
#include <QDir>
#include <QFile>
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
    QList<QFileInfo> files{QFileInfo(present), QFileInfo(m_root + "/gone.avi"),
                           QFileInfo(m_root + "/failed.kavo.temp")};
    if (toUSB) {
        // A file that cannot be read as a video fails alone: the one after it still arrives.
        QDir().mkpath(m_root + "/folder.avi");
        const QString late = m_root + "/late.avi";
        QFile lateFile(late);
        QVERIFY(lateFile.open(QIODevice::WriteOnly) && lateFile.write("later video") > 0);
        lateFile.close();
        files << QFileInfo(m_root + "/folder.avi") << QFileInfo(late);
    }

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
    connect(&controller, &TransferWizardController::fileSaveFailed, &sink,
            [&](int index, QString) { failedFiles << index; }, Qt::QueuedConnection);
    connect(&controller, &TransferWizardController::saveFailed, &sink,
            [&](QString message) { failed << message; }, Qt::QueuedConnection);
    connect(&controller, &TransferWizardController::fileSaveDone, &sink, [&]() { ++done; },
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
    QCOMPARE(outcomes.size(), files.size());
    QCOMPARE(outcomes[2].state, TransferSaveStep::FileOutcome::NotWritten);
    if (toUSB) {
        QCOMPARE(outcomes[0].state, TransferSaveStep::FileOutcome::Arrived);
        QCOMPARE(outcomes[1].state, TransferSaveStep::FileOutcome::Failed);
        QCOMPARE(outcomes[3].state, TransferSaveStep::FileOutcome::Failed);
        QCOMPARE(outcomes[4].state, TransferSaveStep::FileOutcome::Arrived);
        QCOMPARE(failedFiles, QList<int>({1, 3}));
        QFile arrived(stick + "/late.avi");
        QVERIFY(arrived.open(QIODevice::ReadOnly));
        QCOMPARE(arrived.readAll(), QByteArray("later video"));
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
