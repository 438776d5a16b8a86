// The storage library writing to image burners: what a reader we did not write finds in the
// image, the emulated medium, and the faults that must end with a status and no stray image.
#include "LDStorageTestSupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <sched.h>
#include <sys/mount.h>

using namespace ldtest;

class TestLDStorage : public QObject
{
    Q_OBJECT

private slots:
    void burn_readsBackEveryFile_data();
    void burn_readsBackEveryFile();
    void blankMedium_reportsEmulatedDisc_data();
    void blankMedium_reportsEmulatedDisc();
    void flush_refusesMoreThanTheDiscHolds();
    void flush_cancelledMidWrite_leavesNoImage();
    void verify_catchesByteCorruptedAfterWrite();
    void faults_endWithStatusAndNoImage_data();
    void faults_endWithStatusAndNoImage();
    void mount_addsSessionToRewritableImage();
    void exclusiveAccess_namesTheOwner();

private:
    QString src(const QString& name, const QByteArray& data)
    {
        const QString path = dir_.filePath("src/" + name);
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path, data);
        return path;
    }
    // A tmpfs of `megabytes` in this process's own mount namespace; empty without root.
    QString smallDisk(int megabytes)
    {
        static bool privateNamespace =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const QString path = dir_.filePath(QString("disk%1").arg(megabytes));
        QDir().mkpath(path);
        const QByteArray options = "size=" + QByteArray::number(megabytes) + "m";
        if (!privateNamespace ||
            ::mount("tmpfs", path.toUtf8().constData(), "tmpfs", 0, options.constData()) != 0)
            return QString();
        return path;
    }
    static QByteArray random(int bytes)
    {
        QByteArray data(bytes, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(data.data()), bytes / 4);
        return data;
    }
    QTemporaryDir dir_;
};

void TestLDStorage::burn_readsBackEveryFile_data()
{
    QTest::addColumn<QString>("medium");
    QTest::addColumn<uint>("fileSystem");
    QTest::newRow("cd-r, ISO 9660 level 2") << "cd-r" << uint(LD_FsIsoLevel2Long);
    QTest::newRow("dvd+r, UDF 1.50 bridge") << "dvd+r" << uint(LD_FsUdf15);
}

void TestLDStorage::burn_readsBackEveryFile()
{
    QFETCH(QString, medium);
    QFETCH(uint, fileSystem);
    const QString longName = QString("A very long file name ").repeated(7) + "end.avi";
    const QVector<QPair<QString, QString>> files = {
        {"My Holiday Video.avi", src(medium + "/a/My Holiday Video.avi", random(3 << 20))},
        {QString::fromUtf8("Überraschung café ñ.mkv"), src(medium + "/b/u.mkv", random(100001))},
        {longName, src(medium + "/c/long.avi", random(5000))},
        {"clip.mp4", src(medium + "/d/clip.mp4", "first")},
        {"clip.mp4", src(medium + "/e/clip.mp4", "second, same name")},
        {"empty.txt", src(medium + "/f/empty.txt", QByteArray())},
    };
    const QString image = dir_.filePath(medium + ".iso");
    Burn b = burnFiles(medium, image, files, fileSystem);
    QCOMPARE(b.openStatus, LD_OK);
    QCOMPARE(b.fileSystemsFound, 0u);
    QCOMPARE(b.createStatus, LD_OK);
    QCOMPARE(b.flushStatus, LD_OK);

    // Progress: a non-zero total once writing starts, the phases in order, and the last
    // report complete and without error.
    QVector<uint32_t> phases;
    for (const LD_ProgressRecord& r : b.reports) {
        if (phases.isEmpty() || phases.last() != r.phase)
            phases << r.phase;
        if (r.phase == LD_PhaseWrite)
            QVERIFY(r.totalSectors > 0);
    }
    QCOMPARE(phases, (QVector<uint32_t>{LD_PhaseProgress, LD_PhaseFormat, LD_PhasePlan,
                                        LD_PhaseWrite, LD_PhaseClose, LD_PhaseVerify}));
    QCOMPARE(b.reports.last().currentSector, b.reports.last().totalSectors);
    QCOMPARE(b.reports.last().errorCode, 0u);

    const QMap<QString, QByteArray> read = extractImage(image, dir_.filePath(medium + "x"));
    QCOMPARE(read.size(), files.size());
    QCOMPARE(read.value("My Holiday Video.avi"), md5Of(files[0].second));
    QCOMPARE(read.value(files[1].first), md5Of(files[1].second));
    QCOMPARE(read.value(longName), md5Of(files[2].second));
    QCOMPARE(read.value("clip.mp4"), md5Of(files[3].second));
    QCOMPARE(read.value("clip (2).mp4"), md5Of(files[4].second));
    QCOMPARE(read.value("empty.txt"), md5Of(files[5].second));

    // Plain ISO 9660 names beyond 8.3 show level 2 or more; the Joliet tree is there too.
    QProcess isoinfo;
    isoinfo.start("isoinfo", {"-i", image, "-f"});
    isoinfo.waitForFinished(-1);
    QVERIFY(isoinfo.readAllStandardOutput().contains("MY_HOLIDAY_VIDEO.AVI"));
    isoinfo.start("isoinfo", {"-i", image, "-d"});
    isoinfo.waitForFinished(-1);
    const QByteArray pvd = isoinfo.readAllStandardOutput();
    QVERIFY(pvd.contains("Volume id: KavoTransferWizard"));
    QVERIFY(pvd.contains("Joliet with UCS level 3"));
    LD_DeviceRecord device = {};
    QVERIFY(openRecorder(medium, image, &device));
    uint32_t state = 0;
    QCOMPARE(
        LD_StorageDevice_GetMediaProperty(&device, LD_MediaState, 4, &state, nullptr, 0, 0, 0, 0),
        LD_OK);
    QCOMPARE(state, uint32_t(LD_StateReadable)); // closed: not blank, not writable
    LD_VolumeHandle volume = 0;
    uint32_t found = 0;
    QCOMPARE(LD_StorageDevice_OpenVolume(&device, &found, nullptr, nullptr, &volume), LD_OK);
    // A DVD carries the UDF bridge: UDF beside ISO 9660 and Joliet.
    QCOMPARE(found,
             uint32_t(LD_FsIsoLevel2Long | LD_FsJoliet | (medium == "cd-r" ? 0 : LD_FsUdf15)));
    const char label[] = "again";
    LD_Text name{LD_Text8, sizeof label, label};
    QCOMPARE(LD_Volume_Create(&volume, fileSystem, &name, 2, nullptr, nullptr),
             LD_InvalidOperation);
    QCOMPARE(LD_Volume_Mount(&volume, 2, nullptr, nullptr), LD_MediaFull);
    LD_Volume_Close(&volume);
    LD_StorageDevice_Close(&device);
}

void TestLDStorage::blankMedium_reportsEmulatedDisc_data()
{
    QTest::addColumn<QString>("medium");
    QTest::addColumn<quint64>("type");
    QTest::addColumn<uint>("blocks");
    QTest::addColumn<bool>("erasable");
    QTest::addColumn<QString>("words");
    QTest::newRow("cd-r") << "cd-r" << quint64(LD_TypeCDR) << 359424u << false << "CD-R 700 MB";
    QTest::newRow("cd-rw") << "cd-rw" << quint64(LD_TypeCDRW) << 359424u << true << "CD-RW";
    QTest::newRow("dvd-r") << "dvd-r" << quint64(LD_TypeDVDR) << 2295104u << false << "DVD-R";
    QTest::newRow("dvd+r") << "dvd+r" << quint64(LD_TypeDVDPlusR) << 2295104u << false
                           << "DVD+R 4.7 GB";
    QTest::newRow("dvd-rw") << "dvd-rw" << quint64(LD_TypeDVDRW) << 2295104u << true << "DVD-RW";
    QTest::newRow("bd-r") << "bd-r" << quint64(LD_TypeBDR) << 12219392u << false << "BD-R 25 GB";
}

void TestLDStorage::blankMedium_reportsEmulatedDisc()
{
    QFETCH(QString, medium);
    QFETCH(quint64, type);
    QFETCH(uint, blocks);
    QFETCH(bool, erasable);
    QFETCH(QString, words);
    const QString image = dir_.filePath("blank-" + medium + ".iso");
    LD_DeviceRecord device = {};
    QVERIFY(openRecorder(medium, image, &device));
    auto media = [&](uint32_t id, void* value, uint32_t size) {
        return LD_StorageDevice_GetMediaProperty(&device, id, size, value, nullptr, 0, 0, 0, 0);
    };
    quint64 gotType = 0, freeBytes = 0, usedBytes = 1;
    uint32_t state = 0, layers = 0, capacity = 0, start = 1, kind = 0, rates[16] = {};
    QCOMPARE(media(LD_MediaType, &gotType, 8), LD_OK);
    QCOMPARE(gotType, type);
    QCOMPARE(media(LD_MediaState, &state, 4), LD_OK);
    QCOMPARE(state, uint32_t(LD_StateBlank | LD_StateWritable |
                             (erasable ? LD_StateErasable | LD_StateRewrite : 0)));
    QCOMPARE(media(LD_MediaLayerCount, &layers, 4), LD_OK);
    QCOMPARE(layers, 1u);
    QCOMPARE(media(LD_MediaLayerCapacity, &capacity, 4), LD_OK);
    QCOMPARE(capacity, blocks);
    QCOMPARE(media(LD_MediaLayerStart, &start, 4), LD_OK);
    QCOMPARE(start, 0u);
    QCOMPARE(media(LD_MediaFreeBytes, &freeBytes, 8), LD_OK);
    QCOMPARE(freeBytes, quint64(blocks) * 2048);
    QCOMPARE(media(LD_MediaUsedBytes, &usedBytes, 8), LD_OK);
    QCOMPARE(usedBytes, 0u);
    QCOMPARE(media(LD_MediaWriteRates, rates, sizeof rates), LD_OK);
    QVERIFY(rates[0] > rates[1] && rates[1] > 0);
    QCOMPARE(LD_StorageDevice_GetDeviceProperty(&device, LD_DevKind, 4, &kind, nullptr, 0, 0, 0, 0),
             LD_OK);
    QCOMPARE(kind, 1u);
    char16_t text[512] = {};
    QCOMPARE(LD_StorageDevice_GetDeviceProperty(&device, LD_DevDescription, sizeof text, text,
                                                nullptr, 0, 0, 0, 0),
             LD_OK);
    QVERIFY(QString::fromStdU16String(text).contains(words));
    QVERIFY(QString::fromStdU16String(text).contains(image));
    QCOMPARE(LD_StorageDevice_GetDeviceProperty(&device, LD_DevPath, sizeof text, text, nullptr, 0,
                                                0, 0, 0),
             LD_OK);
    QCOMPARE(QString::fromStdU16String(text), image);
    QCOMPARE(LD_StorageDevice_EraseMedia(&device, 0, nullptr, nullptr),
             erasable ? LD_OK : LD_InvalidMediaType);
    LD_StorageDevice_Close(&device);
}

void TestLDStorage::flush_refusesMoreThanTheDiscHolds()
{
    const QString big = dir_.filePath("src/big-sparse.bin");
    QFile f(big);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(qint64(720) << 20)); // sparse: more than a CD-R's 700 MB
    f.close();
    const QString image = dir_.filePath("full.iso");
    Burn b = burnFiles("cd-r", image, {{"big.bin", big}}, LD_FsIsoLevel2Long);
    QCOMPARE(b.flushStatus, LD_MediaFull);
    QVERIFY(!QFile::exists(image));
    for (const LD_ProgressRecord& r : b.reports)
        QVERIFY(r.phase != LD_PhaseWrite);
    QCOMPARE(b.reports.last().errorCode, uint32_t(LD_MediaFull));
}

void TestLDStorage::flush_cancelledMidWrite_leavesNoImage()
{
    const QString image = dir_.filePath("cancel.iso");
    const QString a = src("cancel/a.bin", random(48 << 20));
    const QString c = src("cancel/b.bin", random(48 << 20));
    bool sawWrite = false;
    Burn b = burnFiles("dvd+r", image, {{"a.bin", a}, {"b.bin", c}}, LD_FsUdf15,
                       [&](const LD_ProgressRecord& r) {
                           sawWrite = sawWrite || (r.phase == LD_PhaseWrite && r.totalSectors);
                           return sawWrite ? int32_t(LD_UserCancelled) : 0;
                       });
    QVERIFY(sawWrite);
    QCOMPARE(b.flushStatus, LD_UserCancelled);
    QCOMPARE(b.reports.last().errorCode, uint32_t(LD_UserCancelled));
    QVERIFY(!QFile::exists(image));
}

void TestLDStorage::verify_catchesByteCorruptedAfterWrite()
{
    // A marker that occurs once in the image: the callback flips one of its bytes in the
    // image file between the write and the verify.
    const QByteArray marker = "MARKER-" + random(64).toHex();
    const QString source = src("verify/marked.bin", random(1 << 20) + marker + random(4096));
    const QString image = dir_.filePath("verify.iso");
    bool corrupted = false;
    Burn b = burnFiles("dvd-r", image, {{"marked.bin", source}}, LD_FsUdf15,
                       [&](const LD_ProgressRecord& r) {
                           if (r.phase == LD_PhaseVerify && !corrupted) {
                               QFile f(image);
                               f.open(QIODevice::ReadWrite);
                               const qint64 at = f.readAll().indexOf(marker);
                               corrupted = at > 0 && f.seek(at) && f.write("X", 1) == 1;
                           }
                           return 0;
                       });
    QCOMPARE(b.flushStatus, LD_DataMiscompare);
    QVERIFY(corrupted);
    QCOMPARE(b.reports.last().errorCode, uint32_t(LD_DataMiscompare));
    QCOMPARE(b.reports.last().phase, uint32_t(LD_PhaseVerify));
    QVERIFY(!QFile::exists(image)); // a failed burn leaves no image that looks complete
}

void TestLDStorage::faults_endWithStatusAndNoImage_data()
{
    // flushStatus 1: any failure will do (the recorder vanished under the write).
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("openStatus");
    QTest::addColumn<int>("entryStatus");
    QTest::addColumn<int>("flushStatus");
    QTest::newRow("image folder missing") << "folder" << int(LD_FolderNotFound) << 0 << 0;
    QTest::newRow("source missing") << "missing" << 0 << int(LD_FileNotFound) << 0;
    QTest::newRow("source deleted during the write") << "deleted" << 0 << 0 << int(LD_FileNotFound);
    QTest::newRow("source deleted before the write") << "gone" << 0 << 0 << int(LD_FileNotFound);
    QTest::newRow("image removed during the write") << "vanished" << 0 << 0 << 1;
    QTest::newRow("host disk too small") << "small" << 0 << 0 << int(LD_NotEnoughStorage);
    QTest::newRow("host disk fills during the write") << "fills" << 0 << 0 << int(LD_WriteError);
}

void TestLDStorage::faults_endWithStatusAndNoImage()
{
    QFETCH(QString, fault);
    QFETCH(int, openStatus);
    QFETCH(int, entryStatus);
    QFETCH(int, flushStatus);
    const QString first = src("fault/first.bin", random(32 << 20));
    const QString last = src("fault/last.bin", random(1 << 20));
    QString image = dir_.filePath("fault-" + fault + ".iso");
    if (fault == "folder")
        image = dir_.filePath("no/such/folder/x.iso");
    if (fault == "small" || fault == "fills") {
        const QString disk = smallDisk(fault == "small" ? 16 : 48);
        if (disk.isEmpty())
            QSKIP("needs root to mount a small tmpfs in a private mount namespace");
        image = disk + "/x.iso";
    }
    QVector<QPair<QString, QString>> files = {{"first.bin", first}, {"last.bin", last}};
    if (fault == "missing")
        files << qMakePair(QString("gone.bin"), dir_.filePath("src/fault/gone.bin"));
    bool struck = false;
    Burn b = burnFiles("dvd+r", image, files, LD_FsUdf15, [&](const LD_ProgressRecord& r) {
        // The image goes once written and before it is read back: the drive loses its medium.
        // The disk fills after the space check (the last plan report) and before the write.
        // A source goes after it was added, before the flush looks at it (first plan report).
        const uint32_t strikeAt = fault == "vanished"                   ? LD_PhaseClose
                                  : fault == "fills" || fault == "gone" ? LD_PhasePlan
                                                                        : LD_PhaseWrite;
        if (r.phase != strikeAt || (!r.totalSectors && fault != "gone") || struck)
            return 0;
        struck = true;
        if (fault == "deleted" || fault == "gone")
            QFile::remove(last);
        if (fault == "vanished")
            QFile::remove(image);
        if (fault == "fills")
            writeFile(QFileInfo(image).path() + "/filler", QByteArray(40 << 20, 'f'));
        return 0;
    });
    QCOMPARE(b.openStatus, openStatus);
    if (openStatus == LD_OK)
        QCOMPARE(b.entryStatus, entryStatus);
    if (openStatus == LD_OK && entryStatus == LD_OK) {
        if (flushStatus == 1)
            QVERIFY(b.flushStatus < 0);
        else
            QCOMPARE(b.flushStatus, flushStatus);
        QCOMPARE(b.reports.last().errorCode, uint32_t(b.flushStatus));
    }
    if (fault == "deleted" || fault == "gone")
        QCOMPARE(b.unreadable, QStringList{last});
    QVERIFY(!QFile::exists(image));
}

void TestLDStorage::mount_addsSessionToRewritableImage()
{
    const QString image = dir_.filePath("rw.iso");
    const QString one = src("rw/one.bin", random(200000));
    const QString two = src("rw/two.bin", random(300000));
    QCOMPARE(burnFiles("dvd-rw", image, {{"one.bin", one}}, LD_FsIsoLevel2Long).flushStatus, LD_OK);
    // A cancelled append leaves the image byte for byte as it was.
    const QByteArray before = md5Of(image);
    const QString bulk = src("rw/bulk.bin", random(40 << 20));
    Burn cancelled = burnFiles(
        "dvd-rw", image, {{"bulk.bin", bulk}}, 0,
        [](const LD_ProgressRecord& r) {
            return r.phase == LD_PhaseWrite ? int32_t(LD_UserCancelled) : 0;
        },
        true);
    QCOMPARE(cancelled.flushStatus, LD_UserCancelled);
    QCOMPARE(md5Of(image), before);
    Burn again = burnFiles("dvd-rw", image, {{"two.bin", two}, {"one.bin", two}}, 0, {}, true);
    QCOMPARE(again.fileSystemsFound, uint32_t(LD_FsIsoLevel2Long | LD_FsJoliet));
    QCOMPARE(again.mountStatus, LD_OK);
    QCOMPARE(again.flushStatus, LD_OK);
    const QMap<QString, QByteArray> read = extractImage(image, dir_.filePath("rwx"));
    QCOMPARE(read.value("one.bin"), md5Of(one));
    QCOMPARE(read.value("two.bin"), md5Of(two));
    QCOMPARE(read.value("one (2).bin"), md5Of(two));
}

void TestLDStorage::exclusiveAccess_namesTheOwner()
{
    LD_DeviceRecord device = {};
    QVERIFY(openRecorder("dvd-r", dir_.filePath("owned.iso"), &device));
    const char burner[] = "LD_Storage";
    const char other[] = "someone else";
    LD_Text owner{LD_Text8, sizeof burner, burner};
    LD_Text intruder{LD_Text8, sizeof other, other};
    char16_t current[128] = {};
    LD_Text currentOwner{LD_Text16, 128, current};
    QCOMPARE(LD_StorageDevice_ExclusiveAccess(&device, 1, &owner, &currentOwner), LD_OK);
    QCOMPARE(LD_StorageDevice_ExclusiveAccess(&device, 1, &intruder, &currentOwner),
             LD_DeviceInUse);
    QCOMPARE(QString::fromStdU16String(current), QString(burner));
    QCOMPARE(LD_StorageDevice_ExclusiveAccess(&device, 3, nullptr, nullptr), LD_OK);
    QCOMPARE(LD_StorageDevice_ExclusiveAccess(&device, 3, nullptr, nullptr), LD_InvalidSequence);
    QCOMPARE(LD_StorageDevice_ExclusiveAccess(&device, 1, &intruder, &currentOwner), LD_OK);
    QCOMPARE(LD_StorageDevice_ExclusiveAccess(&device, 3, nullptr, nullptr), LD_OK);
    QCOMPARE(LD_StorageDevice_Close(&device), LD_OK);
    QCOMPARE(LD_StorageDevice_Close(&device), LD_InvalidHandle);
}

QTEST_GUILESS_MAIN(TestLDStorage)
#include "tst_LDStorage.moc"
