// The storage library writing to image burners: what a reader we did not write finds in the
// image, the emulated medium, and the faults that must end with a status and no stray image.
#include "LDStorageTestSupport.h"
#include "TestFiles.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/time.h>

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
    void verify_catchesWhatChangedAfterTheWrite_data();
    void verify_catchesWhatChangedAfterTheWrite();
    void faults_endWithStatusAndNoImage_data();
    void faults_endWithStatusAndNoImage();
    void mount_addsSessionToRewritableImage();
    void mount_refusesAnAppendThatWouldOverrun();
    void newImage_appearsOnlyOnceVerified();
    void killedBurn_isUndoneAtNextStart_data();
    void killedBurn_isUndoneAtNextStart();
    void failedBurn_keepsADanglingLink();
    void imageBurners_sameFileTwice_keepsTheFirst();
    void imagePath_problemsNameTheReason_data();
    void imagePath_problemsNameTheReason();
    void exclusiveAccess_namesTheOwner();

private:
    QString src(const QString& name, const QByteArray& data)
    {
        const QString path = dir_.filePath("src/" + name);
        QDir().mkpath(QFileInfo(path).path());
        TestFiles::write(path, data);
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
    // What this process has read through read() so far (/proc/self/io's rchar).
    static qint64 bytesReadByThisProcess()
    {
        QFile io("/proc/self/io");
        if (!io.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : io.readAll().split('\n'))
            if (line.startsWith("rchar:"))
                return line.mid(6).trimmed().toLongLong();
        return -1;
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
        {"linked.avi", dir_.filePath("src/" + medium + "/g/linked.avi")}, // a symbolic link
    };
    QDir().mkpath(QFileInfo(files[6].second).path());
    QVERIFY(QFile::link(files[0].second, files[6].second));
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
    QCOMPARE(read.value("linked.avi"), md5Of(files[0].second));

    // Plain ISO 9660 names beyond 8.3 show level 2 or more; the Joliet tree is there too.
    QVERIFY(ToolRun::run("isoinfo", {"-i", image, "-f"}).out.contains("MY_HOLIDAY_VIDEO.AVI"));
    const QString pvd = ToolRun::run("isoinfo", {"-i", image, "-d"}).out;
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

void TestLDStorage::verify_catchesWhatChangedAfterTheWrite_data()
{
    // Between the write and the read-back: a byte of the image flipped, the source rewritten
    // with other bytes of the same size, or only its times touched. readsSourceAgain: the
    // read-back reads the source once more, because the write's digest no longer stands for
    // the file. A CD carries ISO 9660 from libisofs, written new or appended to a session.
    QTest::addColumn<QString>("medium");
    QTest::addColumn<uint>("fileSystem");
    QTest::addColumn<bool>("append");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("readsSourceAgain");
    const uint udf = LD_FsUdf15, iso = LD_FsIsoLevel2Long;
    const int miscompare = LD_DataMiscompare;
    QTest::newRow("dvd, nothing") << "dvd-r" << udf << false << "none" << int(LD_OK) << false;
    QTest::newRow("dvd, image byte") << "dvd-r" << udf << false << "image" << miscompare << false;
    QTest::newRow("dvd, source rewritten")
        << "dvd-r" << udf << false << "source" << miscompare << true;
    QTest::newRow("dvd, source touched")
        << "dvd-r" << udf << false << "touch" << int(LD_OK) << true;
    QTest::newRow("cd, nothing") << "cd-r" << iso << false << "none" << int(LD_OK) << false;
    QTest::newRow("cd, image byte") << "cd-r" << iso << false << "image" << miscompare << false;
    QTest::newRow("cd, source rewritten")
        << "cd-r" << iso << false << "source" << miscompare << true;
    QTest::newRow("cd, source touched") << "cd-r" << iso << false << "touch" << int(LD_OK) << true;
    QTest::newRow("cd-rw, appended session")
        << "cd-rw" << iso << true << "none" << int(LD_OK) << false;
}

void TestLDStorage::verify_catchesWhatChangedAfterTheWrite()
{
    QFETCH(QString, medium);
    QFETCH(uint, fileSystem);
    QFETCH(bool, append);
    QFETCH(QString, change);
    QFETCH(int, status);
    QFETCH(bool, readsSourceAgain);
    // A marker that occurs once in the image, and a source of some megabytes, so that reading
    // it once more shows in the bytes this process reads.
    const QByteArray marker = "MARKER-" + random(64).toHex();
    const QByteArray data = random(8 << 20) + marker + random(4096);
    const QString source = src("verify/" + change + medium + ".bin", data);
    const QString image = dir_.filePath("verify-" + change + medium + ".iso");
    if (append)
        QCOMPARE(burnFiles(medium, image, {{"first.bin", src("verify/first.bin", "1")}}, fileSystem)
                     .flushStatus,
                 LD_OK);
    bool changed = false;
    qint64 readBefore = -1;
    const qint64 readAtStart = bytesReadByThisProcess();
    Burn b = burnFiles(
        medium, image, {{"marked.bin", source}}, fileSystem,
        [&](const LD_ProgressRecord& r) {
            if (r.phase != LD_PhaseVerify || changed)
                return 0;
            changed = true;
            if (change == "image") {
                QFile f(fileBeingWritten(image));
                f.open(QIODevice::ReadWrite);
                const qint64 at = f.readAll().indexOf(marker);
                changed = at > 0 && f.seek(at) && f.write("X", 1) == 1;
            } else if (change == "source") {
                QByteArray other = data;
                other[other.indexOf(marker)] = 'X';
                TestFiles::write(source, other);
            } else if (change == "touch") {
                changed = ::utimes(source.toUtf8().constData(), nullptr) == 0;
            }
            readBefore = bytesReadByThisProcess();
            return 0;
        },
        append);
    QVERIFY(changed);
    QCOMPARE(b.flushStatus, status);
    QCOMPARE(b.reports.last().errorCode, uint32_t(status));
    QCOMPARE(b.reports.last().phase, uint32_t(LD_PhaseVerify));
    if (status != LD_OK) {
        QVERIFY2(b.lastFailure.contains(source), qPrintable(b.lastFailure));
        QVERIFY(!QFile::exists(image)); // a failed burn leaves no image that looks complete
        return;
    }
    QCOMPARE(b.reports.last().currentSector, b.reports.last().totalSectors);
    // The write reads the source once; the read-back reads the medium once, and the source
    // only when the write's digest no longer holds.
    const qint64 written = readBefore - readAtStart;
    QVERIFY2(written >= data.size() && written < 2 * data.size(),
             qPrintable(QString::number(written)));
    const qint64 read = bytesReadByThisProcess() - readBefore;
    QVERIFY2(read >= data.size(), qPrintable(QString::number(read)));
    QCOMPARE(read >= 2 * data.size(), readsSourceAgain);
}

void TestLDStorage::faults_endWithStatusAndNoImage_data()
{
    // flushStatus 1: any failure will do (the recorder vanished under the write). A DVD
    // carries our UDF stream, a CD libisofs reading our ISO 9660 source streams.
    QTest::addColumn<QString>("medium");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("openStatus");
    QTest::addColumn<int>("entryStatus");
    QTest::addColumn<int>("flushStatus");
    const int notFound = LD_FileNotFound;
    QTest::newRow("image folder missing") << "dvd+r"
                                          << "folder" << int(LD_FolderNotFound) << 0 << 0;
    QTest::newRow("source missing") << "dvd+r"
                                    << "missing" << 0 << notFound << 0;
    QTest::newRow("source deleted during the write") << "dvd+r"
                                                     << "deleted" << 0 << 0 << notFound;
    QTest::newRow("cd, source deleted during the write") << "cd-r"
                                                         << "deleted" << 0 << 0 << notFound;
    QTest::newRow("source shrinks during the write") << "dvd+r"
                                                     << "shrinks" << 0 << 0 << int(LD_InvalidFile);
    QTest::newRow("cd, source shrinks during the write")
        << "cd-r"
        << "shrinks" << 0 << 0 << int(LD_InvalidFile);
    QTest::newRow("source deleted before the write") << "dvd+r"
                                                     << "gone" << 0 << 0 << notFound;
    QTest::newRow("image removed during the write") << "dvd+r"
                                                    << "vanished" << 0 << 0 << 1;
    QTest::newRow("host disk too small") << "dvd+r"
                                         << "small" << 0 << 0 << int(LD_NotEnoughStorage);
    QTest::newRow("host disk fills during the write") << "dvd+r"
                                                      << "fills" << 0 << 0 << int(LD_WriteError);
}

void TestLDStorage::faults_endWithStatusAndNoImage()
{
    QFETCH(QString, medium);
    QFETCH(QString, fault);
    QFETCH(int, openStatus);
    QFETCH(int, entryStatus);
    QFETCH(int, flushStatus);
    const QString first = src("fault/first.bin", random(32 << 20));
    const QString last = src("fault/last.bin", random(1 << 20));
    QString image = dir_.filePath("fault-" + fault + medium + ".iso");
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
    const uint32_t fileSystem = medium == "cd-r" ? LD_FsIsoLevel2Long : LD_FsUdf15;
    bool struck = false;
    Burn b = burnFiles(medium, image, files, fileSystem, [&](const LD_ProgressRecord& r) {
        // The image goes once written and before it is read back: the drive loses its medium.
        // A source goes after it was added, before the flush looks at it (first plan report),
        // or after the space check (the last plan report), before the stream opens it. The
        // first file shrinks as the write starts, once the stream has read some of it.
        const uint32_t strikeAt = fault == "vanished"  ? LD_PhaseClose
                                  : fault == "shrinks" ? LD_PhaseWrite
                                                       : LD_PhasePlan;
        if (r.phase != strikeAt || (!r.totalSectors && fault != "gone") || struck)
            return 0;
        struck = true;
        if (fault == "deleted" || fault == "gone")
            QFile::remove(last);
        if (fault == "shrinks")
            QFile::resize(first, 1 << 20);
        if (fault == "vanished")
            QFile::remove(fileBeingWritten(image));
        if (fault == "fills")
            TestFiles::write(QFileInfo(image).path() + "/filler", QByteArray(40 << 20, 'f'));
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
    if (fault == "shrinks")
        QVERIFY2(b.lastFailure.contains(first), qPrintable(b.lastFailure));
    if (fault == "fills") // the image and the reason, not only libburn's failed write(2)
        QVERIFY2(b.lastFailure.contains(image) && b.lastFailure.contains("host disk is full"),
                 qPrintable(b.lastFailure));
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
    // So does one that fails late, after its session was written and made current.
    Burn late = burnFiles(
        "dvd-rw", image, {{"bulk.bin", bulk}}, 0,
        [](const LD_ProgressRecord& r) {
            return r.phase == LD_PhaseVerify ? int32_t(LD_UserCancelled) : 0;
        },
        true);
    QCOMPARE(late.flushStatus, LD_UserCancelled);
    QVERIFY(std::any_of(late.reports.begin(), late.reports.end(),
                        [](const LD_ProgressRecord& r) { return r.phase == LD_PhaseClose; }));
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

void TestLDStorage::mount_refusesAnAppendThatWouldOverrun()
{
    // A CD-RW whose sessions fill all but 4 MiB takes no 6 MiB more, though 6 MiB alone would
    // fit on the disc: refused before a byte is written.
    const QString image = dir_.filePath("almostfull.iso");
    const QString one = src("full/one.bin", random(100000));
    QCOMPARE(burnFiles("cd-rw", image, {{"one.bin", one}}, LD_FsIsoLevel2Long).flushStatus, LD_OK);
    QVERIFY(QFile::resize(image, qint64(359424) * 2048 - (4 << 20))); // sparse
    const qint64 size = QFileInfo(image).size();
    const QByteArray before = md5Of(image);
    const QString more = src("full/more.bin", random(6 << 20));
    Burn b = burnFiles("cd-rw", image, {{"more.bin", more}}, 0, {}, true);
    QCOMPARE(b.mountStatus, LD_OK);
    QCOMPARE(b.flushStatus, LD_MediaFull);
    for (const LD_ProgressRecord& r : b.reports)
        QVERIFY(r.phase != LD_PhaseWrite);
    QCOMPARE(QFileInfo(image).size(), size);
    QCOMPARE(md5Of(image), before);
}

void TestLDStorage::newImage_appearsOnlyOnceVerified()
{
    const QString image = dir_.filePath("staged.iso");
    const QString file = src("staged/a.bin", random(4 << 20));
    QStringList seen;
    Burn b =
        burnFiles("dvd+r", image, {{"a.bin", file}}, LD_FsUdf15, [&](const LD_ProgressRecord& r) {
            if (r.phase == LD_PhaseWrite || r.phase == LD_PhaseVerify)
                seen << (QFile::exists(image) ? "image" : "no image");
            return 0;
        });
    QCOMPARE(b.flushStatus, LD_OK);
    QVERIFY(!seen.isEmpty());
    QCOMPARE(seen.filter("no image").size(), seen.size());
    QCOMPARE(extractImage(image, dir_.filePath("stagedx")).value("a.bin"), md5Of(file));
    // Only the image is left in its folder.
    QCOMPARE(QDir(dir_.path()).entryList({"*staged*"}, QDir::Files | QDir::Hidden),
             QStringList{"staged.iso"});
}

void TestLDStorage::killedBurn_isUndoneAtNextStart_data()
{
    QTest::addColumn<bool>("append");
    QTest::newRow("new image") << false;
    QTest::newRow("append") << true;
}

void TestLDStorage::killedBurn_isUndoneAtNextStart()
{
    QFETCH(bool, append);
    const QString image = dir_.filePath(append ? "killed-append.iso" : "killed-new.iso");
    const QString first = src("killed/first.bin", random(300000));
    if (append)
        QCOMPARE(burnFiles("dvd-rw", image, {{"first.bin", first}}, LD_FsIsoLevel2Long).flushStatus,
                 LD_OK);
    const QByteArray before = md5Of(image);
    const QString bulk = src("killed/bulk.bin", random(40 << 20));
    // This test's own executable burns and kills itself (SIGKILL) in the middle of the write.
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LDTEST_KILL_DURING_BURN", image + "\n" + bulk + (append ? "\nappend" : ""));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(300000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const QString undo = QFileInfo(image).path() + "/." + QFileInfo(image).fileName();
    QVERIFY(QFile::exists(undo + (append ? ".portavo-undo" : ".portavo-new")));
    QVERIFY(!append || md5Of(image) != before);

    // Another burn holds its file: left alone while it lives.
    QFile held(undo + (append ? ".portavo-undo" : ".portavo-new"));
    QVERIFY(held.open(QIODevice::ReadOnly));
    QCOMPARE(::flock(held.handle(), LOCK_EX | LOCK_NB), 0);
    LD_DeviceRecord device = {};
    QVERIFY(openRecorder(append ? "dvd-rw" : "dvd+r", image, &device));
    LD_StorageDevice_Close(&device);
    QVERIFY(held.exists());
    held.close();

    // The next start puts everything back before it looks at the disc.
    QVERIFY(openRecorder(append ? "dvd-rw" : "dvd+r", image, &device));
    uint32_t state = 0;
    QCOMPARE(LD_StorageDevice_GetMediaProperty(&device, LD_MediaState, sizeof state, &state,
                                               nullptr, 0, 0, 0, 0),
             LD_OK);
    LD_StorageDevice_Close(&device);
    QCOMPARE(bool(state & LD_StateBlank), !append);
    QCOMPARE(md5Of(image), before);
    QCOMPARE(QDir(dir_.path()).entryList({".killed*"}, QDir::Files | QDir::Hidden), QStringList());
    if (append)
        QCOMPARE(extractImage(image, dir_.filePath("killedx")).keys(), QStringList{"first.bin"});
}

void TestLDStorage::failedBurn_keepsADanglingLink()
{
    const QString link = dir_.filePath("link.iso");
    const QString target = dir_.filePath("target/disc.iso");
    QDir().mkpath(QFileInfo(target).path());
    QVERIFY(QFile::link(target, link));
    const QString file = src("link/a.bin", random(4 << 20));
    Burn cancelled =
        burnFiles("dvd+r", link, {{"a.bin", file}}, LD_FsUdf15, [](const LD_ProgressRecord& r) {
            return r.phase == LD_PhaseWrite ? int32_t(LD_UserCancelled) : 0;
        });
    QCOMPARE(cancelled.flushStatus, LD_UserCancelled);
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QVERIFY(!QFile::exists(target));
    // Written through the link, the link stays a link.
    QCOMPARE(burnFiles("dvd+r", link, {{"a.bin", file}}, LD_FsUdf15).flushStatus, LD_OK);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(extractImage(target, dir_.filePath("linkx")).value("a.bin"), md5Of(file));
}

void TestLDStorage::imageBurners_sameFileTwice_keepsTheFirst()
{
    const QString image = dir_.filePath("twice.iso");
    LD_SetScanOpticalDrives(0);
    LD_SetImageBurners(("dvd+r:" + image + ";cd-r:" + dir_.path() +
                        "/./twice.iso;cd-r:" + dir_.filePath("other.iso"))
                           .toUtf8()
                           .constData());
    uint32_t count = 0;
    QCOMPARE(LD_GetStorageDeviceCount(LD_ClassRecorders, &count), LD_OK);
    QCOMPARE(count, 2u);
    LD_DeviceRecord device = {};
    QCOMPARE(LD_OpenStorageDevice(1, &device, 0, 0, 0), LD_OK);
    uint64_t type = 0;
    QCOMPARE(LD_StorageDevice_GetMediaProperty(&device, LD_MediaType, sizeof type, &type, nullptr,
                                               0, 0, 0, 0),
             LD_OK);
    LD_StorageDevice_Close(&device);
    QCOMPARE(type, uint64_t(LD_TypeDVDPlusR));
}

void TestLDStorage::imagePath_problemsNameTheReason_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason"); // "" when the path can be written
    QTest::newRow("missing folder") << "missing"
                                    << "the folder %1/nowhere does not exist";
    QTest::newRow("a folder") << "folder"
                              << "%1/afolder.iso is a folder, not a disc image";
    QTest::newRow("a pipe") << "fifo"
                            << "%1/pipe.iso is not a regular file";
    QTest::newRow("a link to /dev/null")
        << "null"
        << "%1/null.iso (a link to /dev/null) is not a regular file";
    QTest::newRow("a link into a missing folder") << "dangling-missing"
                                                  << "the folder %1/gone does not exist";
    QTest::newRow("a dangling link into a folder") << "dangling"
                                                   << "";
    QTest::newRow("a read-only folder")
        << "readonly"
        << "the folder %1/ro is not writable: Read-only file system";
    QTest::newRow("a host disk too small") << "small"
                                           << "";
}

void TestLDStorage::imagePath_problemsNameTheReason()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString root = dir_.filePath("paths");
    QDir().mkpath(root);
    QString image = root + "/x.iso";
    if (kind == "missing") {
        image = root + "/nowhere/x.iso";
    } else if (kind == "folder") {
        image = root + "/afolder.iso";
        QDir().mkpath(image);
    } else if (kind == "fifo") {
        image = root + "/pipe.iso";
        QVERIFY(::mkfifo(QFile::encodeName(image).constData(), 0644) == 0 || errno == EEXIST);
    } else if (kind == "null") {
        image = root + "/null.iso";
        QFile::link("/dev/null", image);
    } else if (kind == "dangling-missing") {
        image = root + "/dm.iso";
        QFile::link(root + "/gone/x.iso", image);
    } else if (kind == "dangling") {
        image = root + "/dl.iso";
        QFile::link(root + "/target.iso", image);
    } else if (kind == "readonly" || kind == "small") {
        const QString disk = smallDisk(kind == "small" ? 1 : 2);
        if (disk.isEmpty())
            QSKIP("needs root to mount a tmpfs in a private mount namespace");
        if (kind == "readonly") {
            QDir().mkpath(root + "/ro");
            QVERIFY(::mount(QFile::encodeName(disk).constData(),
                            QFile::encodeName(root + "/ro").constData(), nullptr, MS_BIND,
                            nullptr) == 0);
            QVERIFY(::mount(nullptr, QFile::encodeName(root + "/ro").constData(), nullptr,
                            MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0);
            image = root + "/ro/x.iso";
        } else {
            image = disk + "/x.iso";
        }
    }
    LD_DeviceRecord device = {};
    QVERIFY(openRecorder("dvd+r", image, &device));
    char16_t text[1024] = {};
    QCOMPARE(LD_StorageDevice_GetDeviceProperty(&device, LD_DevWriteProblem, sizeof text, text,
                                                nullptr, 0, 0, 0, 0),
             LD_OK);
    LD_StorageDevice_Close(&device);
    QCOMPARE(QString::fromStdU16String(text), reason.arg(root));
    if (!reason.isEmpty())
        return;

    // What only the write finds out comes with its reason too.
    const QString file = src("paths/a.bin", random(3 << 20));
    Burn b = burnFiles("dvd+r", image, {{"a.bin", file}}, LD_FsUdf15);
    if (kind == "small") {
        QCOMPARE(b.flushStatus, LD_NotEnoughStorage);
        QVERIFY2(b.lastFailure.contains(" bytes free, the image needs "),
                 qPrintable(b.lastFailure));
    } else {
        QVERIFY(b.lastFailure.isEmpty());
        QCOMPARE(b.flushStatus, LD_OK);
        QVERIFY(QFileInfo(image).isSymLink() && QFile::exists(root + "/target.iso"));
    }
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

// With LDTEST_KILL_DURING_BURN="image\nsource[\nappend]" the executable burns the source and
// kills itself once the write is under way, as a user's kill -9 would.
int main(int argc, char** argv)
{
    const QStringList kill = qEnvironmentVariable("LDTEST_KILL_DURING_BURN").split('\n');
    if (kill.size() >= 2) {
        const bool append = kill.size() > 2;
        burnFiles(
            append ? "dvd-rw" : "dvd+r", kill[0], {{"bulk.bin", kill[1]}}, append ? 0 : LD_FsUdf15,
            [](const LD_ProgressRecord& r) {
                if ((r.phase == LD_PhaseWrite && r.currentSector > 0) || r.phase == LD_PhaseClose)
                    ::raise(SIGKILL);
                return 0;
            },
            append);
        return 3; // not killed
    }
    QCoreApplication app(argc, argv);
    TestLDStorage test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_LDStorage.moc"
