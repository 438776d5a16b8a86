#include <QApplication>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "DestinationDrives.h"
#include "DriveComboBox.h"
#include "FakeWizardService.h"
#include "PrivateEnvironment.h"
#include "TransferWizardDlg.h"
#include "WriteRateStore.h"

Q_DECLARE_METATYPE(USBDriveData)

namespace {

const quint64 GB = 1ull << 30;

USBDriveData usbDrive(quint64 freeBytes, int status = DriveReady, unsigned int fs = FS_FAT32)
{
    return FakeWizardService::drive("/media/stick", "STICK", freeBytes, status, fs);
}

} // namespace

class TestDestinationDrives : public QObject
{
    Q_OBJECT

private slots:
    void statusMessage_data();
    void statusMessage();
    void statusMessage_overCapacity_data();
    void statusMessage_overCapacity();
    void statusMessage_writtenImageBurner();
    void statusMessage_largeFile_data();
    void statusMessage_largeFile();
    void spaceUsage_data();
    void spaceUsage();
    void fileSystemNames_data();
    void fileSystemNames();
    void selectByName_data();
    void selectByName();
    void comboIndex_roundTrips_data();
    void comboIndex_roundTrips();
    void fillCombo_listsPlaceholdersWithoutDrives();
    void fillCombo_listsDrivesSilently();
    void refresh_usbOnlyKeepsBurners();
    void updateFreeSpace_changesMatchingUSBDrive();
    void writeRate_prefersWhatTheDriveDidLastTime();
    void methodPage_preselectsMethodWithDestination_data();
    void methodPage_preselectsMethodWithDestination();
};

void TestDestinationDrives::statusMessage_data()
{
    QTest::addColumn<bool>("hasDrive");
    QTest::addColumn<USBDriveData>("drive");
    QTest::addColumn<int>("method");
    QTest::addColumn<quint64>("needed");
    QTest::addColumn<unsigned int>("mask");
    QTest::addColumn<QString>("message");

    const USBDriveData none;
    QTest::newRow("no burner") << false << none << 0 << quint64(0) << 63u
                               << "No CD/DVD burner drive found.";
    QTest::newRow("no usb") << false << none << 1 << quint64(0) << 63u
                            << "No USB drive found. Please insert USB drive.";
    QTest::newRow("no disc") << true << usbDrive(0, DriveNoMediumInfo) << 0 << quint64(0) << 63u
                             << "There is no disc detected.  Please insert a disc or select "
                                "another drive to continue.";
    QTest::newRow("usb without medium")
        << true << usbDrive(GB, DriveNoMediumInfo) << 1 << quint64(0) << 63u
        << "There is no USB drive detected.  Please insert a USB drive or select another drive "
           "to continue.";
    QTest::newRow("disc not writable")
        << true << usbDrive(GB, DriveMediumNotWritable) << 0 << quint64(0) << 63u
        << "Unable to write to the disc that is inserted. Please insert another disc to "
           "continue.";
    QTest::newRow("usb not writable")
        << true << usbDrive(GB, DriveMediumNotWritable) << 1 << quint64(0) << 63u
        << "Unable to write to the USB drive that is inserted. Please insert another USB drive "
           "to continue.";
    QTest::newRow("disc full") << true << usbDrive(0) << 0 << quint64(0) << 63u
                               << "Your Disc is full.  Please insert another disc to continue.";
    QTest::newRow("usb full")
        << true << usbDrive(0) << 1 << quint64(0) << 63u
        << "Your USB Drive is full.  Please remove one or more videos to continue.";
    QTest::newRow("disc exactly filled")
        << true << usbDrive(GB) << 0 << GB << 63u
        << "These videos need 1.00 GB; this disc has room for 1.00 GB. Remove about 1 MB of "
           "videos, or choose a blank disc.";
    QTest::newRow("usb exactly filled")
        << true << usbDrive(GB) << 1 << GB << 63u
        << "Your USB drive does not have enough free space available for this transfer.  "
           "Please remove one or more videos or make room on your USB drive to continue. These "
           "videos need 1.00 GB; this drive has 1.00 GB free.";
    QTest::newRow("usb one byte to spare")
        << true << usbDrive(GB) << 1 << GB - 1 << 63u << QString();
    QTest::newRow("any file system")
        << true << usbDrive(GB, DriveReady, FS_OTHER) << 1 << quint64(0) << 63u << QString();
    QTest::newRow("ntfs for a fat device")
        << true << usbDrive(GB, DriveReady, FS_NTFS) << 1 << quint64(0) << 3u
        << "USB drive must be formatted FAT/FAT32.  Please insert another USB drive to continue.";
    QTest::newRow("fat32 for a fat device")
        << true << usbDrive(GB, DriveReady, FS_FAT32) << 1 << quint64(0) << 3u << QString();
    QTest::newRow("disc ignores the mask")
        << true << usbDrive(GB, DriveReady, FS_CDFS) << 0 << quint64(0) << 3u << QString();
}

void TestDestinationDrives::statusMessage()
{
    QFETCH(bool, hasDrive);
    QFETCH(USBDriveData, drive);
    QFETCH(int, method);
    QFETCH(quint64, needed);
    QFETCH(unsigned int, mask);
    QFETCH(QString, message);
    QCOMPARE(DestinationDrives::statusMessage(hasDrive ? &drive : nullptr, method, needed, mask),
             message);
}

void TestDestinationDrives::statusMessage_overCapacity_data()
{
    QTest::addColumn<quint64>("total");
    QTest::addColumn<quint64>("free");
    QTest::addColumn<quint64>("needed");
    QTest::addColumn<QString>("message");

    // Capacities of the image burners' media: 359 424 and 2 295 104 blocks of 2048 bytes.
    const quint64 cd = 359424ull * 2048;
    const quint64 dvd = 2295104ull * 2048;
    const quint64 MB = 1ull << 20;
    QTest::newRow("blank cd-r") << cd << cd << 771 * MB
                                << "These videos need 771 MB; this disc holds 702 MB. Remove "
                                   "about 69 MB of videos, or choose a DVD.";
    QTest::newRow("blank cd-r, a byte over")
        << cd << cd << cd + 1
        << "These videos need 703 MB; this disc holds 702 MB. Remove about 1 MB of videos, or "
           "choose a DVD.";
    QTest::newRow("appendable cd-rw") << cd << 200 * MB << 771 * MB
                                      << "These videos need 771 MB; this disc has room for 200 "
                                         "MB. Remove about 571 MB of videos, or choose a blank "
                                         "disc or a DVD.";
    QTest::newRow("blank dvd+r") << dvd << dvd << 5 * GB
                                 << "These videos need 5.00 GB; this disc holds 4.37 GB. Remove "
                                    "about 638 MB of videos, or choose a disc that holds more.";
    QTest::newRow("appendable dvd-rw") << dvd << 3 * GB << 5 * GB
                                       << "These videos need 5.00 GB; this disc has room for "
                                          "3.00 GB. Remove about 2.00 GB of videos, or choose a "
                                          "blank disc.";
    QTest::newRow("really full") << cd << quint64(0) << 771 * MB
                                 << "Your Disc is full.  Please insert another disc to continue.";
    QTest::newRow("blank cd-r, fits") << cd << cd << 700 * MB << QString();
}

void TestDestinationDrives::statusMessage_overCapacity()
{
    QFETCH(quint64, total);
    QFETCH(quint64, free);
    QFETCH(quint64, needed);
    QFETCH(QString, message);
    USBDriveData burner = FakeWizardService::drive("/tmp/disc.iso", "CD-R 700 MB image", free);
    burner.totalBytes = total;
    QCOMPARE(DestinationDrives::statusMessage(&burner, 0, needed, 63u), message);
}

void TestDestinationDrives::statusMessage_writtenImageBurner()
{
    // A written image reads as a disc that takes nothing more; the file is what must go.
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("disc.iso"));
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    const QString refused = QStringLiteral("Unable to write to the disc that is inserted. Please "
                                           "insert another disc to continue.");
    USBDriveData burner =
        FakeWizardService::drive(image, "DVD+R 4.7 GB image", 0, DriveMediumNotWritable);
    QCOMPARE(DestinationDrives::statusMessage(&burner, 0, GB, 63u),
             refused + QStringLiteral(" The image file %1 already holds a disc. Remove or rename "
                                      "it to write a new one.")
                           .arg(image));
    // A recorder's device node is no image file: the text stays as it was.
    burner.root = u"/dev/sr0";
    QCOMPARE(DestinationDrives::statusMessage(&burner, 0, GB, 63u), refused);
}

void TestDestinationDrives::statusMessage_largeFile_data()
{
    QTest::addColumn<unsigned int>("fs");
    QTest::addColumn<int>("method");
    QTest::addColumn<quint64>("largest");
    QTest::addColumn<bool>("refused");
    const quint64 fourGiB = 4 * GB;
    QTest::newRow("fat32, 4 GiB") << unsigned(FS_FAT32) << 1 << fourGiB << true;
    QTest::newRow("fat, 5 GiB") << unsigned(FS_FAT) << 1 << 5 * GB << true;
    QTest::newRow("fat32, one byte under 4 GiB") << unsigned(FS_FAT32) << 1 << fourGiB - 1 << false;
    QTest::newRow("exfat, 5 GiB") << unsigned(FS_EXFAT) << 1 << 5 * GB << false;
    QTest::newRow("ntfs, 5 GiB") << unsigned(FS_NTFS) << 1 << 5 * GB << false;
    QTest::newRow("disc, 5 GiB") << unsigned(FS_FAT32) << 0 << 5 * GB << false;
}

void TestDestinationDrives::statusMessage_largeFile()
{
    QFETCH(unsigned int, fs);
    QFETCH(int, method);
    QFETCH(quint64, largest);
    QFETCH(bool, refused);
    const USBDriveData drive = usbDrive(100 * GB, DriveReady, fs);
    const QString message =
        DestinationDrives::statusMessage(&drive, method, GB, 63, largest, "holiday.avi");
    if (!refused) {
        QCOMPARE(message, QString());
        return;
    }
    QCOMPARE(message, QString("The video holiday.avi is 4 GB or larger and cannot be stored on a "
                              "USB drive formatted %1.  Please remove the video or insert a USB "
                              "drive formatted NTFS or exFAT to continue.")
                          .arg(fs == FS_FAT ? "FAT" : "FAT32"));
}

void TestDestinationDrives::spaceUsage_data()
{
    QTest::addColumn<quint64>("total");
    QTest::addColumn<quint64>("free");
    QTest::addColumn<quint64>("needed");
    QTest::addColumn<int>("percent");
    QTest::addColumn<quint64>("remaining");
    QTest::newRow("half full, a tenth needed") << 100 * GB << 50 * GB << 10 * GB << 60 << 40 * GB;
    QTest::newRow("exactly filled") << 100 * GB << 50 * GB << 50 * GB << 100 << quint64(0);
    QTest::newRow("does not fit") << 100 * GB << 50 * GB << 60 * GB << 100 << quint64(0);
    // A drive that reports no size at all (a share, a broken stick) must not divide by zero.
    QTest::newRow("capacity 0") << quint64(0) << quint64(0) << GB << 100 << quint64(0);
    QTest::newRow("capacity 0, free reported")
        << quint64(0) << GB << quint64(0) << 100 << quint64(0);
}

void TestDestinationDrives::spaceUsage()
{
    QFETCH(quint64, total);
    QFETCH(quint64, free);
    QFETCH(quint64, needed);
    QFETCH(int, percent);
    QFETCH(quint64, remaining);
    USBDriveData drive = usbDrive(free);
    drive.totalBytes = total;
    const DestinationDrives::SpaceUsage usage = DestinationDrives::spaceUsage(drive, needed);
    QCOMPARE(usage.percent, percent);
    QCOMPARE(usage.remaining, remaining);
}

void TestDestinationDrives::fileSystemNames_data()
{
    QTest::addColumn<unsigned int>("mask");
    QTest::addColumn<QString>("names");
    QTest::newRow("fat") << 3u << "FAT/FAT32";
    QTest::newRow("all") << 63u << "FAT/FAT32/NTFS/CDFS/HFS/HFS+";
    QTest::newRow("mac") << 48u << "HFS/HFS+";
    QTest::newRow("linux bits are not named") << unsigned(FS_EXFAT | FS_NTFS) << "NTFS";
}

void TestDestinationDrives::fileSystemNames()
{
    QFETCH(unsigned int, mask);
    QFETCH(QString, names);
    QCOMPARE(DestinationDrives::fileSystemNames(mask), names);
}

void TestDestinationDrives::selectByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("methodBefore");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("burnerIndex");
    QTest::addColumn<int>("usbIndex");
    QTest::newRow("blank disc") << "/dev/sr1" << 1 << true << 0 << 1 << 0;
    QTest::newRow("disc without room") << "/dev/sr0" << 1 << false << 0 << 0 << 0;
    QTest::newRow("usb drive") << "/media/b" << 0 << true << 1 << 0 << 1;
    QTest::newRow("unknown keeps method") << "/media/zzz" << 1 << false << 1 << 0 << 0;
    QTest::newRow("empty name") << QString() << 0 << false << 0 << 0 << 0;
    QTest::newRow("burner wins over usb of the same name")
        << "/media/x" << 1 << true << 0 << 2 << 0;
}

void TestDestinationDrives::selectByName()
{
    QFETCH(QString, name);
    QFETCH(int, methodBefore);
    QFETCH(bool, usable);
    QFETCH(int, method);
    QFETCH(int, burnerIndex);
    QFETCH(int, usbIndex);
    DestinationDrives drives;
    drives.setDrives({FakeWizardService::drive("/dev/sr0", "Full", 0),
                      FakeWizardService::drive("/dev/sr1", "Blank", GB),
                      FakeWizardService::drive("/media/x", "X", GB)},
                     {FakeWizardService::drive("/media/a", "A", GB),
                      FakeWizardService::drive("/media/b", "B", 0),
                      FakeWizardService::drive("/media/x", "X", GB)});
    int m = methodBefore;
    QCOMPARE(drives.selectByName(name.toStdU16String(), m), usable);
    QCOMPARE(m, method);
    QCOMPARE(drives.burnerIndex(), burnerIndex);
    QCOMPARE(drives.usbIndex(), usbIndex);
}

void TestDestinationDrives::comboIndex_roundTrips_data()
{
    QTest::addColumn<int>("burners");
    QTest::addColumn<int>("usb");
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("index");
    QTest::newRow("no drives, burner placeholder") << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("no drives, usb placeholder") << 0 << 0 << 1 << 1 << 0;
    QTest::newRow("no burner, second usb") << 0 << 2 << 2 << 1 << 1;
    QTest::newRow("second burner") << 2 << 1 << 1 << 0 << 1;
    QTest::newRow("usb after burners") << 2 << 3 << 4 << 1 << 2;
    QTest::newRow("usb placeholder after burners") << 2 << 0 << 2 << 1 << 0;
}

void TestDestinationDrives::comboIndex_roundTrips()
{
    QFETCH(int, burners);
    QFETCH(int, usb);
    QFETCH(int, comboIndex);
    QFETCH(int, method);
    QFETCH(int, index);
    QList<USBDriveData> b;
    QList<USBDriveData> u;
    for (int i = 0; i < burners; ++i)
        b << FakeWizardService::drive(QString("/dev/sr%1").arg(i), "DVD", GB);
    for (int i = 0; i < usb; ++i)
        u << FakeWizardService::drive(QString("/media/u%1").arg(i), "USB", GB);
    DestinationDrives drives;
    drives.setDrives(b, u);
    QCOMPARE(drives.selectComboIndex(comboIndex), method);
    QCOMPARE(method == 0 ? drives.burnerIndex() : drives.usbIndex(), index);
    QCOMPARE(drives.comboIndex(method), comboIndex);
    QCOMPARE(drives.selectComboIndex(-1), -1);
}

void TestDestinationDrives::fillCombo_listsPlaceholdersWithoutDrives()
{
    DestinationDrives drives;
    DriveComboBox combo;
    drives.fillCombo(combo);
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.item(0)->text, QString("No CD/DVD burner drive found."));
    QCOMPARE(combo.itemData(0).toInt(), int(DestinationDrives::NoBurnerEntry));
    QCOMPARE(combo.item(1)->text, QString("Insert USB drive"));
    QCOMPARE(combo.itemData(1).toInt(), int(DestinationDrives::NoUSBEntry));
    QCOMPARE(combo.findData(int(DestinationDrives::NoUSBEntry)), QList<int>{1});
}

void TestDestinationDrives::fillCombo_listsDrivesSilently()
{
    DestinationDrives drives;
    drives.setDrives({FakeWizardService::drive("/dev/sr0", "DVD RW", 4 * GB)},
                     {FakeWizardService::drive("/media/a", "A", GB),
                      FakeWizardService::drive("/media/b", "B", GB)});
    DriveComboBox combo;
    QSignalSpy changed(&combo, &SuperComboBox::currentIndexChanged);
    drives.fillCombo(combo);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.item(0)->text, QString("DVD RW"));
    QCOMPARE(combo.item(0)->subText, QString("8.0 GB"));
    QCOMPARE(combo.item(0)->group, int(DriveComboBox::DiscGroup));
    QCOMPARE(combo.item(2)->text, QString("B"));
    QCOMPARE(combo.item(2)->group, int(DriveComboBox::USBGroup));
    QCOMPARE(combo.itemData(2).toInt(), int(DestinationDrives::USBEntry));
}

void TestDestinationDrives::refresh_usbOnlyKeepsBurners()
{
    FakeWizardService service;
    service.burners << FakeWizardService::drive("/dev/sr0", "DVD", GB);
    service.usb << FakeWizardService::drive("/media/a", "A", GB);
    DestinationDrives drives;
    drives.refresh(service, false);
    QCOMPARE(drives.burners().size(), 1);
    QCOMPARE(drives.usbDrives().size(), 1);
    service.burners.clear();
    service.usb << FakeWizardService::drive("/media/b", "B", GB);
    drives.refresh(service, true);
    QCOMPARE(drives.burners().size(), 1);
    QCOMPARE(drives.usbDrives().size(), 2);
    drives.refresh(service, false);
    QCOMPARE(drives.burners().size(), 0);
    QVERIFY(!QApplication::overrideCursor());
}

void TestDestinationDrives::updateFreeSpace_changesMatchingUSBDrive()
{
    DestinationDrives drives;
    drives.setDrives({FakeWizardService::drive("/media/a", "burner named like a", GB)},
                     {FakeWizardService::drive("/media/a", "A", GB),
                      FakeWizardService::drive("/media/b", "B", GB)});
    QVERIFY(drives.updateFreeSpace(u"/media/a", 5));
    QCOMPARE(drives.usbDrives()[0].freeBytes, quint64(5));
    QCOMPARE(drives.usbDrives()[1].freeBytes, GB);
    QCOMPARE(drives.burners()[0].freeBytes, GB);
    QVERIFY(!drives.updateFreeSpace(u"/media/zzz", 5));
}

void TestDestinationDrives::writeRate_prefersWhatTheDriveDidLastTime()
{
    QTemporaryDir home;
    PrivateEnvironment::useHives(home.path());
    USBDriveData stick = usbDrive(GB);
    USBDriveData other = FakeWizardService::drive("/media/other", "OTHER", GB);
    QCOMPARE(DestinationDrives::writeRate(&stick, 1), stick.estimatedRate);
    // Too short to say anything: not kept.
    QVERIFY(!WriteRateStore::record("/media/stick", 100ull << 20, 100));
    QCOMPARE(DestinationDrives::writeRate(&stick, 1), stick.estimatedRate);
    // 100 MB in 2 s: 50 MB/s for this drive, and only for this one.
    QVERIFY(WriteRateStore::record("/media/stick", 100ull << 20, 2000));
    QCOMPARE(DestinationDrives::writeRate(&stick, 1), quint32(50u << 20));
    QCOMPARE(DestinationDrives::writeRate(&other, 1), other.estimatedRate);
    QCOMPARE(DestinationDrives::writeRate(nullptr, 1), quint32(1048576));
    qunsetenv("KAVO_USER_HIVE");
    qunsetenv("KAVO_MACHINE_HIVE");
}

void TestDestinationDrives::methodPage_preselectsMethodWithDestination_data()
{
    QTest::addColumn<bool>("burner");
    QTest::addColumn<bool>("usb");
    QTest::addColumn<int>("remembered");
    QTest::addColumn<int>("method");
    QTest::newRow("burner, nothing remembered") << true << true << -1 << 0;
    QTest::newRow("no burner, nothing remembered") << false << true << -1 << 1;
    QTest::newRow("no drive at all, nothing remembered") << false << false << -1 << 1;
    QTest::newRow("USB remembered, burner present") << true << false << 1 << 1;
    QTest::newRow("disc remembered, no burner") << false << true << 0 << 0;
}

void TestDestinationDrives::methodPage_preselectsMethodWithDestination()
{
    QFETCH(bool, burner);
    QFETCH(bool, usb);
    QFETCH(int, remembered);
    QFETCH(int, method);
    QTemporaryDir home;
    PrivateEnvironment::useHives(home.path());
    FakeWizardService service;
    if (burner)
        service.burners << FakeWizardService::drive("/dev/sr0", "DVD RW", GB);
    if (usb)
        service.usb << usbDrive(GB);
    TransferWizardDlg dlg(&service);
    WizardStartParameters start;
    start.driveType = remembered;
    dlg.setWizardStartParameters(start);
    dlg.nextPage();
    dlg.nextPage();
    QCOMPARE(dlg.currentPage(), 2);
    QCOMPARE(dlg.currentMethod(), method);
    auto* usbButton = dlg.findChild<QRadioButton*>("CopyToUSBRadioButton");
    auto* discButton = dlg.findChild<QRadioButton*>("burnDiskRadioButton");
    QCOMPARE(usbButton->isChecked(), method == 1);
    // The user's own choice stays when the page shows again.
    (method == 1 ? discButton : usbButton)->click();
    dlg.prevPage();
    dlg.nextPage();
    QCOMPARE(dlg.currentMethod(), 1 - method);
}

QTEST_MAIN(TestDestinationDrives)
#include "tst_DestinationDrives.moc"
