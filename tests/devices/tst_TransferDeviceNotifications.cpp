// Changes made through the device library reach a subscriber in another
// process, with the application name, the topic and the 12-byte payload.

#include "DeviceTestSupport.h"

#include <QProcess>
#include <QRegularExpression>

using namespace DeviceTestSupport;

class tst_TransferDeviceNotifications : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void changes_reachSubscriberInAnotherProcess();
    void failedOrUnchangedWrites_announceNothing();

private:
    // Messages the listener printed so far.
    QStringList received();
    static QString expected(const char* topic, uint32_t id, uint32_t flags);

    QTemporaryDir m_runtime;
    std::unique_ptr<DataHome> m_home;
    QProcess m_listener;
    QByteArray m_output;
};

void tst_TransferDeviceNotifications::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    m_listener.start(helperPath(QStringLiteral("platform_helper")), {"ipc-listen", "Device/"});
    QVERIFY2(m_listener.waitForStarted(), qPrintable(m_listener.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT((m_output += m_listener.readAllStandardOutput()).contains("ready "),
                             20000);
}

void tst_TransferDeviceNotifications::cleanupTestCase()
{
    m_listener.closeWriteChannel();
    QVERIFY(m_listener.waitForFinished(20000));
    QCOMPARE(m_listener.exitCode(), 0);
}

void tst_TransferDeviceNotifications::init()
{
    m_home = std::make_unique<DataHome>();
    m_output.clear();
    m_listener.readAllStandardOutput();
}

void tst_TransferDeviceNotifications::cleanup()
{
    closeLibrary();
    m_home.reset();
}

QStringList tst_TransferDeviceNotifications::received()
{
    m_output += m_listener.readAllStandardOutput();
    return QString::fromUtf8(m_output)
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .filter(QRegularExpression("^msg "));
}

QString tst_TransferDeviceNotifications::expected(const char* topic, uint32_t id, uint32_t flags)
{
    QByteArray payload;
    for (uint32_t word : {1u, id, flags})
        for (int b = 0; b < 4; ++b)
            payload += char((word >> (8 * b)) & 0xff);
    return QStringLiteral("msg TransferWizard %1 12 %2")
        .arg(QLatin1String(topic), QString::fromLatin1(payload.toHex()));
}

void tst_TransferDeviceNotifications::changes_reachSubscriberInAnotherProcess()
{
    TransferDevices* library = reopenLibrary();
    QVERIFY(library->IsOpen());

    TransferDevice* device = library->CreateDevice("Den");
    QVERIFY(device);
    const uint32_t id = device->GetDeviceId();
    QCOMPARE(id, 10000u);
    QVERIFY(device->SetProfile(3));
    QVERIFY(device->SetRegistrationState(1)); // registered: flags 3 from now on
    QVERIFY(device->SetLastDriveName("/media/stick"));
    QVERIFY(library->RemoveDevice(device));

    const QStringList want = {expected("Device/Create", id, 1), expected("Device/Change", id, 1),
                              expected("Device/Change", id, 3), expected("Device/Change", id, 3),
                              expected("Device/Remove", id, 0)};
    QTRY_COMPARE_WITH_TIMEOUT(received().size(), want.size(), 20000);
    QCOMPARE(received(), want);
    // Spelled out once, so a wrong byte order cannot hide behind the helper.
    QCOMPARE(want.first(),
             QStringLiteral("msg TransferWizard Device/Create 12 010000001027000001000000"));
}

void tst_TransferDeviceNotifications::failedOrUnchangedWrites_announceNothing()
{
    TransferDevices* library = reopenLibrary();
    std::unique_ptr<TransferDevice> device(library->CreateDevice("Den"));
    QVERIFY(device);
    const uint32_t id = device->GetDeviceId();

    QVERIFY(!device->SetName("Den")); // unchanged
    TransferDevice orphan(id + 1, "TransferWizard", nullptr);
    QVERIFY(!orphan.SetProfile(2)); // no such row
    TransferDevice missing(id + 2, "TransferWizard", nullptr);
    QVERIFY(!library->RemoveDevice(&missing)); // nothing deleted
    QVERIFY(device->SetDataRate(5));           // the one real change

    const QStringList want = {expected("Device/Create", id, 1), expected("Device/Change", id, 1)};
    QTRY_COMPARE_WITH_TIMEOUT(received().size(), want.size(), 20000);
    QCOMPARE(received(), want);
}

QTEST_GUILESS_MAIN(tst_TransferDeviceNotifications)
#include "tst_TransferDeviceNotifications.moc"
