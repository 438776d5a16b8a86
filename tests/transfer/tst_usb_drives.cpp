#include <QDir>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>

#include "FakeDriveTree.h"
#include "USBDriveLister.h"
#include "VolumeSpaceMonitor.h"

// The USB drives the lister finds in fake mount tables and sysfs trees, the extra folders and
// the stored-rate rule, and the space monitor's reports.
class TestUsbDrives : public QObject
{
    Q_OBJECT

private slots:
    void usbVolumes_data();
    void usbVolumes();
    void extraFolders_andStoredRate_data();
    void extraFolders_andStoredRate();
    void monitor_reportsOneChangePerRound();
    void monitor_stopWithoutLoop_returnsAtOnce();
    void monitor_seesDiscInsertedWithinTwoRounds();

private:
    QTemporaryDir m_root;
};

void TestUsbDrives::usbVolumes_data()
{
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("fsType");
    QTest::addColumn<bool>("usb");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QByteArray>("bootSector"); // written to a fake device file when not empty
    QTest::addColumn<bool>("listed");
    QTest::addColumn<uint>("code");

    QByteArray fat16(512, '\0');
    fat16.replace(54, 8, "FAT16   ");
    QByteArray fat32(512, '\0');
    fat32.replace(82, 8, "FAT32   ");
    QTest::newRow("usb stick, vfat")
        << "STICK"
        << "vfat" << true << false << QByteArray() << true << uint(FS_FAT32);
    QTest::newRow("usb stick, FAT16 boot sector")
        << "OLD"
        << "vfat" << true << false << fat16 << true << uint(FS_FAT);
    QTest::newRow("usb stick, FAT32 boot sector")
        << "NEW"
        << "vfat" << true << false << fat32 << true << uint(FS_FAT32);
    QTest::newRow("sata disk") << "DATA"
                               << "ext4" << false << false << QByteArray() << false << 0u;
    QTest::newRow("read-only usb") << "RO"
                                   << "vfat" << true << true << QByteArray() << false << 0u;
    QTest::newRow("exfat") << "BIG"
                           << "exfat" << true << false << QByteArray() << true << uint(FS_EXFAT);
    QTest::newRow("ntfs3") << "WIN"
                           << "ntfs3" << true << false << QByteArray() << true << uint(FS_NTFS);
    QTest::newRow("hfsplus") << "MAC"
                             << "hfsplus" << true << false << QByteArray() << true
                             << uint(FS_HFSPLUS);
    QTest::newRow("ext4 on usb") << "LINUX"
                                 << "ext4" << true << false << QByteArray() << true
                                 << uint(FS_OTHER);
    QTest::newRow("spaces, tab and backslash in the mount point")
        << "MY STICK\tA\\B"
        << "vfat" << true << false << QByteArray() << true << uint(FS_FAT32);
}

void TestUsbDrives::usbVolumes()
{
    QFETCH(QString, mountPoint);
    QFETCH(QString, fsType);
    QFETCH(bool, usb);
    QFETCH(bool, readOnly);
    QFETCH(QByteArray, bootSector);
    QFETCH(bool, listed);
    QFETCH(uint, code);

    const QString root = m_root.path() + "/" + QTest::currentDataTag();
    FakeDriveTree tree(root);
    // A SATA system disk is always there and never listed.
    tree.addMount("8:1", root + "/media/system", "ext4", false);
    QString source;
    if (!bootSector.isEmpty()) {
        source = root + "/device";
        QFile device(source);
        QVERIFY(device.open(QIODevice::WriteOnly));
        device.write(bootSector);
    }
    const QString point = root + "/media/" + mountPoint;
    tree.addMount("8:17", point, fsType, usb, readOnly, source);

    const USBDriveLister lister(tree.mountInfo(), tree.sysfs(), root + "/by-label");
    const QList<USBDriveData> drives = lister.usbVolumes();
    QCOMPARE(drives.size(), listed ? 1 : 0);
    if (!listed)
        return;
    const USBDriveData& drive = drives.first();
    QCOMPARE(QString::fromStdU16String(drive.root), point);
    QCOMPARE(QString::fromStdU16String(drive.displayName), mountPoint);
    QCOMPARE(drive.fileSystem, code);
    QCOMPARE(drive.status, int(DriveReady));
    QVERIFY(drive.totalBytes > 0 && drive.freeBytes <= drive.totalBytes);
    QCOMPARE(drive.estimatedRate, USBDriveLister::DefaultRate);
}

void TestUsbDrives::extraFolders_andStoredRate_data()
{
    QTest::addColumn<QString>("lastDrive"); // "stick", "extra" or another name
    QTest::addColumn<uint>("storedRate");
    QTest::addColumn<uint>("stickRate");
    QTest::addColumn<uint>("extraRate");

    const uint d = USBDriveLister::DefaultRate;
    QTest::newRow("no history") << "" << 0u << d << d;
    QTest::newRow("last drive was the stick") << "stick" << 2500000u << 2500000u << d;
    QTest::newRow("last drive was the folder") << "extra" << 777u << d << 777u;
    QTest::newRow("last drive, rate never measured") << "stick" << 0u << d << d;
    QTest::newRow("another drive last time") << "/media/old" << 2500000u << d << d;
}

void TestUsbDrives::extraFolders_andStoredRate()
{
    QFETCH(QString, lastDrive);
    QFETCH(uint, storedRate);
    QFETCH(uint, stickRate);
    QFETCH(uint, extraRate);

    const QString root = m_root.path() + "/extra-" + QTest::currentDataTag();
    FakeDriveTree tree(root);
    const QString stick = root + "/media/STICK";
    tree.addMount("8:17", stick, "vfat", true);
    const QString extra = root + "/phone";
    QDir().mkpath(extra);
    const QString last = lastDrive == "stick" ? stick : lastDrive == "extra" ? extra : lastDrive;

    const USBDriveLister lister(tree.mountInfo(), tree.sysfs(), root + "/by-label");
    // A folder that is gone and the stick listed again as a folder are left out.
    const QList<USBDriveData> drives =
        lister.list({extra, root + "/gone", stick + "/"}, last.toStdString(), storedRate);
    QCOMPARE(drives.size(), 2);
    QCOMPARE(QString::fromStdU16String(drives[0].root), stick);
    QCOMPARE(QString::fromStdU16String(drives[1].root), extra);
    QCOMPARE(QString::fromStdU16String(drives[1].displayName), QString("phone"));
    QVERIFY(drives[1].fileSystem != 0 && drives[1].totalBytes > 0);
    QCOMPARE(drives[0].estimatedRate, stickRate);
    QCOMPARE(drives[1].estimatedRate, extraRate);
}

namespace {
class Recorder : public VolumeSpaceMonitorCallBack
{
public:
    struct Report
    {
        QString drive;
        quint64 freeBytes;
        int round;
    };
    VolumeSpaceMonitor* monitor = nullptr;
    void volumeSpaceChanged(const std::u16string& drive, quint64 newFreeSpace) override
    {
        QMutexLocker lock(&mutex);
        reports.append({QString::fromStdU16String(drive), newFreeSpace, monitor->rounds()});
    }
    void discStateChanged(const std::u16string& drive) override
    {
        QMutexLocker lock(&mutex);
        reports.append({QString::fromStdU16String(drive), 0, monitor->rounds()});
    }
    QList<Report> snapshot()
    {
        QMutexLocker lock(&mutex);
        return reports;
    }
    QMutex mutex;
    QList<Report> reports;
};
} // namespace

void TestUsbDrives::monitor_reportsOneChangePerRound()
{
    // Two watched drives that vanish at the same moment both read 0 bytes free: the first is
    // reported in one round, the second in the next.
    const QString a = m_root.path() + "/monitor/a";
    const QString b = m_root.path() + "/monitor/b";
    const QString c = m_root.path() + "/monitor/c";
    for (const QString& dir : {a, b, c})
        QVERIFY(QDir().mkpath(dir));
    Recorder recorder;
    VolumeSpaceMonitor monitor(&recorder);
    recorder.monitor = &monitor;
    monitor.start({a.toStdU16String(), b.toStdU16String(), c.toStdU16String()});
    QVERIFY(monitor.isRunning());
    QVERIFY(QDir(a).removeRecursively() && QDir(b).removeRecursively());
    QTRY_COMPARE_WITH_TIMEOUT(recorder.snapshot().size(), 2, 10000);
    monitor.stop();
    QVERIFY(!monitor.isRunning());
    const QList<Recorder::Report> reports = recorder.snapshot();
    QCOMPARE(reports[0].drive, a);
    QCOMPARE(reports[1].drive, b);
    QCOMPARE(reports[0].freeBytes, 0u);
    QCOMPARE(reports[1].freeBytes, 0u);
    QCOMPARE(reports[1].round, reports[0].round + 1);
}

void TestUsbDrives::monitor_stopWithoutLoop_returnsAtOnce()
{
    Recorder recorder;
    VolumeSpaceMonitor monitor(&recorder);
    recorder.monitor = &monitor;
    monitor.stop();
    monitor.start({});
    QVERIFY(!monitor.isRunning());
    // Started and stopped at once: the loop ends without a report.
    monitor.start({m_root.path().toStdU16String()});
    monitor.stop();
    QVERIFY(!monitor.isRunning());
    QVERIFY(recorder.snapshot().isEmpty());
}

void TestUsbDrives::monitor_seesDiscInsertedWithinTwoRounds()
{
    // A burner whose tray is empty (70) gets a blank disc (17) while the page shows.
    std::atomic<quint32> state{70};
    std::atomic<int> insertedAtRound{-1};
    Recorder recorder;
    VolumeSpaceMonitor monitor(&recorder);
    recorder.monitor = &monitor;
    monitor.start({}, {u"/dev/sr0", u"/dev/sr1"}, [&](const std::u16string& drive) -> quint32 {
        return drive == u"/dev/sr0" ? state.load() : 70u;
    });
    QVERIFY(monitor.isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(monitor.rounds() >= 1, 10000);
    insertedAtRound = monitor.rounds();
    state = 17;
    QTRY_COMPARE_WITH_TIMEOUT(recorder.snapshot().size(), 1, 10000);
    monitor.stop();
    const Recorder::Report report = recorder.snapshot().first();
    QCOMPARE(report.drive, QString("/dev/sr0"));
    QVERIFY2(
        report.round - insertedAtRound <= 2,
        qPrintable(
            QString("seen %1 rounds after the disc went in").arg(report.round - insertedAtRound)));
}

QTEST_GUILESS_MAIN(TestUsbDrives)
#include "tst_usb_drives.moc"
