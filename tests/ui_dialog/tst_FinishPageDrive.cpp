#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "FakeWizardService.h"
#include "FileInfoModel.h"
#include "FinishPageDrive.h"
#include "MountHolders.h"
#include "TransferWizardDlg.h"
#include "UDisks2Ejector.h"

using InterfaceProperties = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceProperties>;
Q_DECLARE_METATYPE(InterfaceProperties)
Q_DECLARE_METATYPE(ManagedObjects)

namespace {

const QString Prefix = "/org/freedesktop/UDisks2";

// A stand-in for UDisks2 that knows one USB stick mounted at a folder of the test (plain or
// as an opened LUKS volume), answers GetManagedObjects, Unmount, Lock and PowerOff, and
// writes down the calls.
class StandInUDisks : public QDBusVirtualObject
{
public:
    QString mountPoint;
    bool luks = false;
    bool removable = true;
    // Error name for Unmount, empty: success.
    QString unmountError;
    QStringList calls;

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString member = message.member();
        const QString object = message.path().section('/', -1);
        if (member == "GetManagedObjects") {
            connection.send(message.createReply(QVariant::fromValue(objects())));
            return true;
        }
        if (member != "Unmount" && member != "Lock" && member != "PowerOff")
            return false;
        calls << member + " " + object;
        if (member == "Unmount" && !unmountError.isEmpty())
            connection.send(message.createErrorReply(unmountError, "Error unmounting: busy"));
        else
            connection.send(message.createReply());
        return true;
    }

private:
    ManagedObjects objects() const
    {
        const QDBusObjectPath drive(Prefix + "/drives/Stick");
        const QDBusObjectPath partition(Prefix + "/block_devices/sdz1");
        const QDBusObjectPath mapped(Prefix + "/block_devices/dm_2d0");
        const QDBusObjectPath none("/");
        const QVariantMap filesystem{
            {"MountPoints", QVariant::fromValue(QList<QByteArray>{QFile::encodeName(mountPoint) +
                                                                  QByteArray(1, '\0')})}};
        ManagedObjects all;
        all[drive]["org.freedesktop.UDisks2.Drive"] = {
            {"Removable", removable},
            {"ConnectionBus", removable ? "usb" : "sata"},
            {"CanPowerOff", true}};
        all[partition]["org.freedesktop.UDisks2.Block"] = {
            {"Drive", QVariant::fromValue(drive)},
            {"CryptoBackingDevice", QVariant::fromValue(none)}};
        if (luks) {
            all[partition]["org.freedesktop.UDisks2.Encrypted"] = {};
            all[mapped]["org.freedesktop.UDisks2.Block"] = {
                {"Drive", QVariant::fromValue(none)},
                {"CryptoBackingDevice", QVariant::fromValue(partition)}};
            all[mapped]["org.freedesktop.UDisks2.Filesystem"] = filesystem;
        } else {
            all[partition]["org.freedesktop.UDisks2.Filesystem"] = filesystem;
        }
        // Another drive's file system, mounted elsewhere.
        all[QDBusObjectPath(Prefix + "/block_devices/sda1")]["org.freedesktop.UDisks2.Filesystem"] =
            {{"MountPoints", QVariant::fromValue(QList<QByteArray>{QByteArray("/", 2)})}};
        return all;
    }
};

} // namespace

// The finish page's Eject through a stand-in UDisks2 on a private bus of the test's own, and
// the names the videos were given on the drive.
class TestFinishPageDrive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void eject_data();
    void eject();
    void savedNames_listRenamesAndSumUpTheRest();
    void mountHolders_namesThisProcess();
    void dialog_finishPageOffersEject();

private:
    QTemporaryDir m_root;
    QProcess m_bus;
    QString m_address;
    StandInUDisks m_service;
};

void TestFinishPageDrive::initTestCase()
{
    QVERIFY(m_root.isValid());
    const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed (package dbus): no private bus for the stand-in");
    m_bus.start(daemon, {"--session", "--nofork", "--print-address=1"});
    QVERIFY(m_bus.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 20000);
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    qputenv("KAVO_UDISKS_BUS_ADDRESS", m_address.toUtf8());

    qDBusRegisterMetaType<QList<QByteArray>>();
    qDBusRegisterMetaType<InterfaceProperties>();
    qDBusRegisterMetaType<ManagedObjects>();
    QDBusConnection service = QDBusConnection::connectToBus(m_address, "standin");
    QVERIFY2(service.isConnected(), qPrintable(service.lastError().message()));
    QVERIFY(service.registerVirtualObject(Prefix, &m_service, QDBusConnection::SubPath));
    QVERIFY(service.registerService("org.freedesktop.UDisks2"));
    m_service.mountPoint = m_root.path() + "/STICK";
    QDir().mkpath(m_service.mountPoint);
}

void TestFinishPageDrive::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus("standin");
    m_bus.terminate();
    m_bus.waitForFinished(10000);
}

void TestFinishPageDrive::eject_data()
{
    QTest::addColumn<bool>("luks");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<bool>("knownMount");
    QTest::addColumn<QString>("unmountError");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("result");

    const QString busy = "org.freedesktop.UDisks2.Error.DeviceBusy";
    const QString denied = "org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain";
    QTest::newRow("ejected") << false << true << true << QString()
                             << QStringList{"Unmount sdz1", "PowerOff Stick"}
                             << "The USB drive can be removed now.";
    QTest::newRow("LUKS: locked before power-off")
        << true << true << true << QString()
        << QStringList{"Unmount dm_2d0", "Lock sdz1", "PowerOff Stick"}
        << "The USB drive can be removed now.";
    QTest::newRow("busy, naming what holds it")
        << false << true << true << busy << QStringList{"Unmount sdz1"} << QString();
    QTest::newRow("not permitted") << false << true << true << denied << QStringList{"Unmount sdz1"}
                                   << "You are not permitted to eject this USB drive.";
    QTest::newRow("internal disk: no button")
        << false << false << true << QString() << QStringList() << QString();
    QTest::newRow("folder UDisks2 does not know: no button")
        << false << true << false << QString() << QStringList() << QString();
}

void TestFinishPageDrive::eject()
{
    QFETCH(bool, luks);
    QFETCH(bool, removable);
    QFETCH(bool, knownMount);
    QFETCH(QString, unmountError);
    QFETCH(QStringList, calls);
    QFETCH(QString, result);
    m_service.luks = luks;
    m_service.removable = removable;
    m_service.unmountError = unmountError;
    m_service.calls.clear();
    const QString root = knownMount ? m_service.mountPoint : m_root.path();

    // A video still open on the drive keeps it busy.
    QFile open(m_service.mountPoint + "/playing.avi");
    QVERIFY(open.open(QIODevice::WriteOnly));

    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    layout->addStretch();
    FinishPageDrive drive(&page, layout);
    auto* ejector = drive.findChild<UDisks2Ejector*>();
    QVERIFY(ejector);
    QSignalSpy answered(ejector, &UDisks2Ejector::ejectable);
    drive.show(true, root);
    page.show();
    QTRY_COMPARE_WITH_TIMEOUT(answered.size(), 1, 10000);
    QCOMPARE(answered.first().first().toBool(), !calls.isEmpty());
    QCOMPARE(drive.ejectButton()->isVisible(), !calls.isEmpty());
    if (calls.isEmpty())
        return;
    QTest::mouseClick(drive.ejectButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.calls, calls, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(drive.resultLabel()->text() != "Ejecting the USB drive...", 10000);
    const QString text = drive.resultLabel()->text();
    if (result.isEmpty()) {
        QFile comm("/proc/self/comm");
        QVERIFY(comm.open(QIODevice::ReadOnly));
        const QString self = QString::fromUtf8(comm.readAll()).trimmed() + " (" +
                             QString::number(QCoreApplication::applicationPid()) + ")";
        QVERIFY2(text.startsWith("The USB drive is busy: ") && text.contains(self),
                 qPrintable(text));
    } else {
        QCOMPARE(text, result);
    }
    // A drive that is still there can be tried again; one that is gone cannot.
    QCOMPARE(drive.ejectButton()->isVisible(), !unmountError.isEmpty());
}

void TestFinishPageDrive::savedNames_listRenamesAndSumUpTheRest()
{
    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    FinishPageDrive drive(&page, layout);
    drive.addSaved("/tmp/a/Why not?.avi", "/media/s/Why not_.avi");
    drive.addSaved("/tmp/a/clip.avi", "/media/s/clip.avi");
    for (int i = 0; i < FinishPageDrive::ListedNames; ++i)
        drive.addSaved(QString("/tmp/a/%1.avi").arg(i), QString("/media/s/%1.avi").arg(i));
    const QStringList lines = drive.savedText().split('\n');
    QCOMPARE(lines.size(), 1 + FinishPageDrive::ListedNames + 1);
    QCOMPARE(lines[1], QString("Why not_.avi (renamed from \"Why not?.avi\")"));
    QCOMPARE(lines[2], QString("clip.avi"));
    QCOMPARE(lines.last(), QString("and 2 more"));
    drive.clear();
    QVERIFY(drive.savedText().isEmpty());
}

void TestFinishPageDrive::mountHolders_namesThisProcess()
{
    const QString drive = m_root.path() + "/held";
    QDir().mkpath(drive + "/sub");
    const QString self = QString::number(QCoreApplication::applicationPid());
    const auto held = [&]() {
        for (const QString& holder : MountHolders::of(drive)) {
            if (holder.endsWith("(" + self + ")"))
                return true;
        }
        return false;
    };
    QVERIFY(!held());
    QFile file(drive + "/sub/open.avi");
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(held());
    file.close();
    QVERIFY(!held());
}

void TestFinishPageDrive::dialog_finishPageOffersEject()
{
    m_service.luks = false;
    m_service.removable = true;
    m_service.unmountError.clear();
    m_service.calls.clear();
    const QString stick = m_service.mountPoint;
    FakeWizardService service;
    service.usb << FakeWizardService::drive(stick, "STICK", 7ull << 30);
    TransferWizardDlg dlg(&service);
    WizardStartParameters start;
    start.deviceLabel = "Living-room TV";
    dlg.setWizardStartParameters(start);
    dlg.show();
    dlg.nextPage();
    dlg.nextPage();
    dlg.findChild<QRadioButton*>("CopyToUSBRadioButton")->click();
    dlg.nextPage();
    dlg.nextPage(); // nothing to write: the transfer ends at once
    QCOMPARE(dlg.currentPage(), int(TransferWizardDlg::TransferProgressPage));
    const QStringList titles{"Interview: part 1.avi", "Why not?.avi", "Holiday 2024.avi"};
    const QStringList arrived{"Interview_ part 1.avi", "Why not_.avi", "Holiday 2024.avi"};
    for (int i = 0; i < titles.size(); ++i)
        dlg.fileSaveArrived(i, "/home/alice/Videos/" + titles[i], stick + "/" + arrived[i]);
    dlg.nextPage();
    QCOMPARE(dlg.currentPage(), int(TransferWizardDlg::FinishPage));
    auto* eject = dlg.findChild<QPushButton*>("ejectButton");
    QVERIFY(eject);
    QTRY_VERIFY_WITH_TIMEOUT(eject->isVisible(), 10000);
    auto* label = dlg.findChild<QLabel*>("savedNamesLabel");
    QVERIFY(label->isVisible());
    const QString names = label->toolTip();
    QVERIFY2(names.contains("Why not_.avi (renamed from \"Why not?.avi\")") &&
                 names.contains("\nHoliday 2024.avi"),
             qPrintable(names));
    const QString shots = qEnvironmentVariable("PORTAVO_SHOT_DIR");
    if (!shots.isEmpty()) {
        QApplication::processEvents();
        dlg.grab().save(shots + "/finish-eject.png");
    }
    eject->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_service.calls, QStringList({"Unmount sdz1", "PowerOff Stick"}),
                              10000);
    auto* result = dlg.findChild<QLabel*>("ejectResultLabel");
    QTRY_COMPARE_WITH_TIMEOUT(result->text(), QString("The USB drive can be removed now."), 10000);
    if (!shots.isEmpty())
        dlg.grab().save(shots + "/finish-ejected.png");
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestFinishPageDrive test;
    const int rc = QTest::qExec(&test, argc, argv);
    return rc;
}

#include "tst_FinishPageDrive.moc"
