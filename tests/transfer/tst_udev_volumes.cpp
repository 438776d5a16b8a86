#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FakeDriveTree.h"
#include "TestFiles.h"
#include "USBDriveLister.h"

// Volumes as the desktop sees them: file-system type and version, label and bus from udev's
// database (a fake /run/udev/data), a mapped device followed through slaves/ to its disk.
class TestUdevVolumes : public QObject
{
    Q_OBJECT

private slots:
    void usbVolumes_fromUdevDatabase_data();
    void usbVolumes_fromUdevDatabase();

private:
    QTemporaryDir m_root;
};

namespace {

const char* const UsbDisk =
    "/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb";
const char* const SataDisk =
    "/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda";

} // namespace

void TestUdevVolumes::usbVolumes_fromUdevDatabase_data()
{
    QTest::addColumn<QString>("mountType");
    QTest::addColumn<QByteArray>("record");
    // Below the mounted device: a dm-crypt device's slave partition and its record.
    QTest::addColumn<bool>("stacked");
    QTest::addColumn<QByteArray>("slaveRecord");
    QTest::addColumn<QString>("disk");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<uint>("code");
    QTest::addColumn<QString>("label");

    const QByteArray usb = "E:ID_BUS=usb\n";
    QTest::newRow("FAT16 stick")
        << "vfat"
        << "E:ID_FS_TYPE=vfat\nE:ID_FS_VERSION=FAT16\nE:ID_FS_LABEL=OLD\n" + usb << false
        << QByteArray() << UsbDisk << true << uint(FS_FAT) << "OLD";
    QTest::newRow("FAT32 stick") << "vfat"
                                 << "S:disk/by-label/STICK\nE:ID_FS_TYPE=vfat\n"
                                    "E:ID_FS_VERSION=FAT32\nE:ID_FS_LABEL=STICK\n" +
                                        usb
                                 << false << QByteArray() << UsbDisk << true << uint(FS_FAT32)
                                 << "STICK";
    QTest::newRow("exFAT through FUSE")
        << "fuseblk"
        << "E:ID_FS_TYPE=exfat\nE:ID_FS_VERSION=1.0\n" + usb << false << QByteArray() << UsbDisk
        << true << uint(FS_EXFAT) << "";
    QTest::newRow("NTFS, label with a space")
        << "fuseblk"
        << "E:ID_FS_TYPE=ntfs\nE:ID_FS_LABEL=My_Films\nE:ID_FS_LABEL_ENC=My\\x20Films\n" + usb
        << false << QByteArray() << UsbDisk << true << uint(FS_NTFS) << "My Films";
    QTest::newRow("LUKS stick") << "ext4" << QByteArray("E:ID_FS_TYPE=ext4\nE:ID_FS_LABEL=secret\n")
                                << true << "E:ID_FS_TYPE=crypto_LUKS\nE:ID_FS_VERSION=2\n" + usb
                                << UsbDisk << true << uint(FS_OTHER) << "secret";
    // The sysfs path alone does not show the bus here; udev's record of the slave does.
    QTest::newRow("LUKS on a USB bridge udev knows")
        << "ext4" << QByteArray("E:ID_FS_TYPE=ext4\n") << true << "E:ID_FS_TYPE=crypto_LUKS\n" + usb
        << SataDisk << true << uint(FS_OTHER) << "";
    QTest::newRow("LUKS on an internal disk")
        << "ext4" << QByteArray("E:ID_FS_TYPE=ext4\n") << true
        << QByteArray("E:ID_FS_TYPE=crypto_LUKS\nE:ID_BUS=ata\n") << SataDisk << false << 0u << "";
}

void TestUdevVolumes::usbVolumes_fromUdevDatabase()
{
    QFETCH(QString, mountType);
    QFETCH(QByteArray, record);
    QFETCH(bool, stacked);
    QFETCH(QByteArray, slaveRecord);
    QFETCH(QString, disk);
    QFETCH(bool, listed);
    QFETCH(uint, code);
    QFETCH(QString, label);

    const QString root = m_root.path() + "/" + QTest::currentDataTag();
    const QString sysfs = root + "/sys";
    const QString udev = root + "/udev";
    const QString mountPoint = root + "/media/stick";
    QDir().mkpath(mountPoint);
    QDir().mkpath(sysfs + "/dev/block");
    QDir().mkpath(udev);

    const QString partition = sysfs + disk + "/" + disk.section('/', -1) + "1";
    QVERIFY(TestFiles::write(partition + "/dev", "8:17\n"));
    QString mounted = "8:17";
    if (stacked) {
        // /sys/devices/virtual/block/dm-0/slaves/sdb1 -> the partition.
        const QString dm = sysfs + "/devices/virtual/block/dm-0";
        QVERIFY(TestFiles::write(dm + "/dev", "254:0\n"));
        QDir().mkpath(dm + "/slaves");
        QVERIFY(QFile::link(partition, dm + "/slaves/" + partition.section('/', -1)));
        QVERIFY(QFile::link(dm, sysfs + "/dev/block/254:0"));
        QVERIFY(TestFiles::write(udev + "/b8:17", slaveRecord));
        mounted = "254:0";
    }
    QVERIFY(QFile::link(partition, sysfs + "/dev/block/8:17"));
    QVERIFY(TestFiles::write(udev + "/b" + mounted, record));
    QVERIFY(TestFiles::write(root + "/mountinfo", "40 22 " + mounted.toLatin1() + " / " +
                                                      FakeDriveTree::escaped(mountPoint) +
                                                      " rw,nosuid - " + mountType.toLatin1() + " " +
                                                      QFile::encodeName(root) +
                                                      "/no-such-device rw\n"));

    const USBDriveLister lister(root + "/mountinfo", sysfs, root + "/by-label", UdevDatabase(udev));
    const QList<USBDriveData> drives = lister.usbVolumes();
    QCOMPARE(drives.size(), listed ? 1 : 0);
    if (!listed)
        return;
    QCOMPARE(drives[0].fileSystem, code);
    QCOMPARE(QString::fromStdU16String(drives[0].displayName), label.isEmpty() ? "stick" : label);
}

QTEST_GUILESS_MAIN(TestUdevVolumes)
#include "tst_udev_volumes.moc"
