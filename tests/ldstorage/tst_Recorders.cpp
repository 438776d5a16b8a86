// Real recorders through the storage library, over a modelled drive: which drives are listed,
// what the disc in them is, tray and erase, and a write that the drive breaks off.
#include "FakeRecorderBackend.h"
#include "LDStorageTestSupport.h"
#include "MediumProfile.h"
#include "RecorderAccess.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace ldtest;
using ld::MediumReport;
using ld::TrayState;
using Status = MediumReport::Status;

Q_DECLARE_METATYPE(MediumReport::Status)
Q_DECLARE_METATYPE(TrayState)

class TestRecorders : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void medium_describedByFamily_data();
    void medium_describedByFamily();
    void scan_listsWritersOnly();
    void layers_bySize_data();
    void layers_bySize();
    void state_followsTrayAndDisc_data();
    void state_followsTrayAndDisc();
    void erase_passesFastOrFull_data();
    void erase_passesFastOrFull();
    void tray_movesOrIsRefused();
    void write_reportsEveryPhaseAndReadsBack();
    void write_brokenOffByDrive_data();
    void write_brokenOffByDrive();
    void access_namesNodeAndGroup_data();
    void access_namesNodeAndGroup();

private:
    // One real drive (and no image burner) over a fresh fake; the device opened into record.
    std::shared_ptr<FakeRecorderBackend> install(const FakeRecorderBackend::Drive& drive,
                                                 LD_DeviceRecord* record)
    {
        auto fake = std::make_shared<FakeRecorderBackend>();
        fake->add(drive);
        ld::setRecorderBackend(fake);
        LD_SetImageBurners("");
        LD_SetScanOpticalDrives(1);
        uint32_t count = 0;
        if (LD_GetStorageDeviceCount(LD_ClassRecorders, &count) != LD_OK || count != 1 ||
            LD_OpenStorageDevice(1, record, 0, 0, 0) != LD_OK)
            return nullptr;
        return fake;
    }
    FakeRecorderBackend::Drive drive(const MediumReport& disc)
    {
        auto d = FakeRecorderBackend::recorder("/dev/sr0", dir_.filePath("sr0.img").toStdString());
        d.medium = disc;
        return d;
    }
    template <typename T> static T deviceValue(LD_DeviceRecord* r, uint32_t id, int32_t* status)
    {
        T v{};
        uint32_t got = 0;
        *status = LD_StorageDevice_GetDeviceProperty(r, id, sizeof v, &v, &got, 0, 0, 0, 0);
        return v;
    }
    template <typename T> static T mediaValue(LD_DeviceRecord* r, uint32_t id)
    {
        T v{};
        uint32_t got = 0;
        return LD_StorageDevice_GetMediaProperty(r, id, sizeof v, &v, &got, 0, 0, 0, 0) == LD_OK
                   ? v
                   : T{};
    }
    QTemporaryDir dir_;
    std::vector<LD_DeviceRecord> open_;
};

void TestRecorders::cleanup()
{
    for (LD_DeviceRecord& r : open_)
        LD_StorageDevice_Close(&r);
    open_.clear();
    QFile::remove(dir_.filePath("sr0.img"));
    ld::setRecorderBackend(nullptr);
    LD_SetScanOpticalDrives(0);
}

void TestRecorders::medium_describedByFamily_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<Status>("status");
    QTest::addColumn<quint64>("blocks");
    QTest::addColumn<int>("layers");
    QTest::addColumn<quint64>("typeBits");
    QTest::addColumn<uint>("stateBits");

    constexpr uint blank = LD_StateBlank | LD_StateWritable;
    constexpr uint open = LD_StateReadable | LD_StateWritable | LD_StateAppendable;
    constexpr uint rw = LD_StateErasable | LD_StateRewrite;
    QTest::newRow("CD-R blank") << 0x09 << Status::Blank << 359424ull << 1 << quint64(LD_TypeCDR)
                                << blank;
    QTest::newRow("CD-RW appendable")
        << 0x0a << Status::Appendable << 359424ull << 1 << quint64(LD_TypeCDRW) << (open | rw);
    QTest::newRow("CD-ROM") << 0x08 << Status::Full << 300000ull << 1 << quint64(LD_TypeCDROM)
                            << uint(LD_StateReadable);
    QTest::newRow("DVD-R blank") << 0x11 << Status::Blank << 2295104ull << 1 << quint64(LD_TypeDVDR)
                                 << blank;
    QTest::newRow("DVD-RW closed") << 0x13 << Status::Full << 2295104ull << 1
                                   << quint64(LD_TypeDVDRW) << (LD_StateReadable | rw);
    QTest::newRow("DVD+R blank") << 0x1b << Status::Blank << 2295104ull << 1
                                 << quint64(LD_TypeDVDPlusR) << blank;
    QTest::newRow("DVD+RW blank") << 0x1a << Status::Blank << 2295104ull << 1
                                  << quint64(LD_TypeDVDPlusRW) << (blank | rw);
    QTest::newRow("DVD+R DL blank")
        << 0x2b << Status::Blank << 4173824ull << 2 << quint64(LD_TypeDVDPlusRDL) << blank;
    QTest::newRow("DVD-R DL appendable")
        << 0x15 << Status::Appendable << 4171712ull << 2 << quint64(LD_TypeDVDRDL) << open;
    QTest::newRow("DVD-RAM") << 0x12 << Status::Appendable << 2236704ull << 1
                             << quint64(LD_TypeDVDRAM) << (open | rw);
    QTest::newRow("BD-R blank") << 0x41 << Status::Blank << 12219392ull << 1 << quint64(LD_TypeBDR)
                                << blank;
    QTest::newRow("BD-R DL blank")
        << 0x41 << Status::Blank << 24438784ull << 2 << quint64(LD_TypeBDR) << blank;
    QTest::newRow("BD-RE appendable")
        << 0x43 << Status::Appendable << 12219392ull << 1 << quint64(LD_TypeBDRE) << (open | rw);
}

void TestRecorders::medium_describedByFamily()
{
    QFETCH(int, profile);
    QFETCH(Status, status);
    QFETCH(quint64, blocks);
    QFETCH(int, layers);
    QFETCH(quint64, typeBits);
    QFETCH(uint, stateBits);

    LD_DeviceRecord r = {};
    QVERIFY(install(drive(FakeRecorderBackend::disc(profile, status, blocks, layers)), &r));
    open_.push_back(r);
    int32_t rc = 0;
    QCOMPARE(deviceValue<uint32_t>(&r, LD_DevCapabilities, &rc), 1u);
    QCOMPARE(deviceValue<uint64_t>(&r, LD_DevWriteBits, &rc), quint64(LD_WritesCD | LD_WritesDVD));
    QCOMPARE(mediaValue<uint64_t>(&r, LD_MediaType), typeBits);
    QCOMPARE(mediaValue<uint32_t>(&r, LD_MediaState), stateBits);
    QCOMPARE(mediaValue<uint32_t>(&r, LD_MediaLayerCount), uint32_t(layers));
    uint32_t capacities[4] = {};
    uint32_t got = 0;
    QCOMPARE(LD_StorageDevice_GetMediaProperty(&r, LD_MediaLayerCapacity, sizeof capacities,
                                               capacities, &got, 0, 0, 0, 0),
             LD_OK);
    QCOMPARE(got, uint32_t(layers * sizeof(uint32_t)));
    for (int i = 0; i < layers; ++i)
        QCOMPARE(capacities[i], uint32_t(blocks / uint64_t(layers)));
    const quint64 freeBytes = status == Status::Full         ? 0
                              : status == Status::Appendable ? (blocks - blocks / 4) * 2048
                                                             : blocks * 2048;
    QCOMPARE(mediaValue<uint64_t>(&r, LD_MediaFreeBytes), freeBytes);
}

void TestRecorders::scan_listsWritersOnly()
{
    auto fake = std::make_shared<FakeRecorderBackend>();
    auto writer = FakeRecorderBackend::recorder("/dev/sr0", dir_.filePath("a.img").toStdString());
    auto reader = FakeRecorderBackend::recorder("/dev/sr1", dir_.filePath("b.img").toStdString());
    reader.info.writesCd = reader.info.writesDvd = false;
    reader.info.product = "DVD-ROM DH16NS10";
    auto blu = FakeRecorderBackend::recorder("/dev/sr2", dir_.filePath("c.img").toStdString());
    blu.info.writesCd = blu.info.writesDvd = false;
    blu.info.writesBd = true;
    for (const FakeRecorderBackend::Drive& d : {writer, reader, blu})
        fake->add(d);
    ld::setRecorderBackend(fake);
    LD_SetImageBurners("");
    LD_SetScanOpticalDrives(1);
    uint32_t recorders = 0;
    uint32_t all = 0;
    QCOMPARE(LD_GetStorageDeviceCount(LD_ClassRecorders, &recorders), LD_OK);
    QCOMPARE(LD_GetStorageDeviceCount(LD_ClassOpticalTape, &all), LD_OK);
    QCOMPARE(recorders, 2u);
    QCOMPARE(all, 3u);
    QStringList paths;
    for (uint32_t i = 1; i <= recorders; ++i) {
        LD_DeviceRecord r = {};
        QCOMPARE(LD_OpenStorageDevice(i, &r, 0, 0, 0), LD_OK);
        open_.push_back(r);
        char16_t path[64] = {};
        uint32_t got = 0;
        LD_StorageDevice_GetDeviceProperty(&r, LD_DevPath, sizeof path, path, &got, 0, 0, 0, 0);
        paths << QString::fromStdU16String(path);
    }
    QCOMPARE(paths, QStringList({"/dev/sr0", "/dev/sr2"}));
    int32_t rc = 0;
    QCOMPARE(deviceValue<uint64_t>(&open_.back(), LD_DevWriteBits, &rc), quint64(LD_WritesBD));
}

void TestRecorders::layers_bySize_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<quint64>("blocks");
    QTest::addColumn<int>("layers");
    QTest::newRow("CD-R") << 0x09 << 359424ull << 1;
    QTest::newRow("DVD+R") << 0x1b << 2295104ull << 1;
    QTest::newRow("DVD+R DL") << 0x2b << 4173824ull << 2;
    QTest::newRow("DVD-R DL jump") << 0x16 << 4171712ull << 2;
    QTest::newRow("BD-R 25 GB") << 0x41 << 12219392ull << 1;
    QTest::newRow("BD-R 50 GB") << 0x41 << 24438784ull << 2;
    QTest::newRow("BD-RE XL 100 GB") << 0x43 << 48878592ull << 3;
    QTest::newRow("BD-R XL 128 GB") << 0x41 << 62500864ull << 4;
}

void TestRecorders::layers_bySize()
{
    QFETCH(int, profile);
    QFETCH(quint64, blocks);
    QFETCH(int, layers);
    QCOMPARE(ld::layersBySize(profile, blocks), layers);
}

void TestRecorders::state_followsTrayAndDisc_data()
{
    QTest::addColumn<TrayState>("tray");
    QTest::addColumn<bool>("heldElsewhere");
    QTest::addColumn<int>("unreadyReads");
    QTest::addColumn<int>("stateStatus");
    QTest::addColumn<uint>("state");
    QTest::addColumn<uint>("trayWord");
    QTest::newRow("tray open") << TrayState::Open << false << 0 << int(LD_OK)
                               << uint(LD_DeviceNotReadyState) << 2u;
    QTest::newRow("no disc") << TrayState::Empty << false << 0 << int(LD_OK)
                             << uint(LD_DeviceNotReadyState) << 3u;
    QTest::newRow("disc ready") << TrayState::Loaded << false << 0 << int(LD_OK)
                                << uint(LD_DeviceReady) << 3u;
    QTest::newRow("disc spinning up")
        << TrayState::Unknown << false << 1 << int(LD_OK) << uint(LD_DeviceBecomingReady) << 1u;
    QTest::newRow("held by another program")
        << TrayState::Loaded << true << 0 << int(LD_OK) << uint(LD_DeviceBecomingReady) << 1u;
    QTest::newRow("drive gone") << TrayState::Gone << false << 0 << int(LD_NotFound) << 0u << 0u;
}

void TestRecorders::state_followsTrayAndDisc()
{
    QFETCH(TrayState, tray);
    QFETCH(bool, heldElsewhere);
    QFETCH(int, unreadyReads);
    QFETCH(int, stateStatus);
    QFETCH(uint, state);
    QFETCH(uint, trayWord);

    LD_DeviceRecord r = {};
    auto fake = install(drive(FakeRecorderBackend::disc(0x1b, Status::Blank, 2295104)), &r);
    QVERIFY(fake);
    open_.push_back(r);
    fake->change("/dev/sr0", [&](FakeRecorderBackend::Drive& d) {
        d.tray = tray;
        d.heldElsewhere = heldElsewhere;
        d.unreadyReads = unreadyReads;
    });
    uint32_t got = 0;
    QCOMPARE(LD_StorageDevice_GetState(&r, &got), stateStatus);
    if (stateStatus == LD_OK)
        QCOMPARE(got, state);
    int32_t rc = 0;
    const uint32_t trayValue = deviceValue<uint32_t>(&r, LD_DevTray, &rc);
    QCOMPARE(rc, stateStatus);
    if (rc == LD_OK)
        QCOMPARE(trayValue, trayWord);
}

namespace {
int32_t collectStatus(const LD_StatusInfo* info, void* context)
{
    static_cast<QVector<uint32_t>*>(context)->push_back(info->operation);
    return 0;
}
} // namespace

void TestRecorders::erase_passesFastOrFull_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<uint>("eraseType");
    QTest::addColumn<int>("result");
    QTest::addColumn<QVector<bool>>("erases");
    QTest::newRow("quick") << 0x0a << uint(LD_EraseQuick) << int(LD_OK) << QVector<bool>{true};
    QTest::newRow("full") << 0x13 << uint(LD_EraseFull) << int(LD_OK) << QVector<bool>{false};
    QTest::newRow("write-once disc")
        << 0x11 << uint(LD_EraseQuick) << int(LD_InvalidMediaType) << QVector<bool>{};
    QTest::newRow("unknown type") << 0x0a << 7u << int(LD_InvalidParameter) << QVector<bool>{};
}

void TestRecorders::erase_passesFastOrFull()
{
    QFETCH(int, profile);
    QFETCH(uint, eraseType);
    QFETCH(int, result);
    QFETCH(QVector<bool>, erases);

    LD_DeviceRecord r = {};
    auto fake = install(drive(FakeRecorderBackend::disc(profile, Status::Appendable, 2295104)), &r);
    QVERIFY(fake);
    open_.push_back(r);
    QVector<uint32_t> phases;
    QCOMPARE(LD_StorageDevice_EraseMedia(&r, eraseType, collectStatus, &phases), result);
    const auto seen = fake->snapshot("/dev/sr0").erases;
    QCOMPARE(QVector<bool>(seen.begin(), seen.end()), erases);
    if (result == LD_OK) {
        QVERIFY(!phases.isEmpty());
        QCOMPARE(phases.last(), uint32_t(LD_PhaseFormat));
        QVERIFY(mediaValue<uint32_t>(&r, LD_MediaState) & LD_StateBlank);
    }
}

void TestRecorders::tray_movesOrIsRefused()
{
    LD_DeviceRecord r = {};
    auto fake = install(drive(FakeRecorderBackend::disc(0x1b, Status::Blank, 2295104)), &r);
    QVERIFY(fake);
    open_.push_back(r);
    int32_t rc = 0;
    QCOMPARE(LD_StorageDevice_TrayControl(&r, 1), LD_OK);
    QCOMPARE(deviceValue<uint32_t>(&r, LD_DevTray, &rc), 2u);
    QCOMPARE(LD_StorageDevice_TrayControl(&r, 5), LD_OK);
    QCOMPARE(deviceValue<uint32_t>(&r, LD_DevTray, &rc), 3u);

    // Held by this process for a burn: the disc stays in.
    const char owner[] = "LD_Storage";
    LD_Text name{LD_Text8, sizeof owner, owner};
    QCOMPARE(LD_StorageDevice_ExclusiveAccess(&r, 1, &name, nullptr), LD_OK);
    QCOMPARE(LD_StorageDevice_TrayControl(&r, 1), LD_DeviceInUse);
    QCOMPARE(LD_StorageDevice_ExclusiveAccess(&r, 3, &name, nullptr), LD_OK);

    // Held by another program: neither way.
    fake->change("/dev/sr0", [](FakeRecorderBackend::Drive& d) { d.heldElsewhere = true; });
    QCOMPARE(LD_StorageDevice_TrayControl(&r, 1), LD_DeviceInUse);
    QCOMPARE(LD_StorageDevice_TrayControl(&r, 5), LD_DeviceInUse);
    const auto moves = fake->snapshot("/dev/sr0").trayMoves;
    QCOMPARE(QVector<bool>(moves.begin(), moves.end()), QVector<bool>({true, false}));
}

void TestRecorders::write_reportsEveryPhaseAndReadsBack()
{
    LD_DeviceRecord r = {};
    auto fake = install(drive(FakeRecorderBackend::disc(0x1b, Status::Blank, 2295104)), &r);
    QVERIFY(fake);
    open_.push_back(r);
    const QString source = dir_.filePath("clip.mp4");
    QByteArray data(3 * 1024 * 1024 + 17, 'v');
    TestFiles::write(source, data);
    Burn b = burnOn(r, {{"clip.mp4", source}}, LD_FsUdf15);
    QCOMPARE(b.flushStatus, LD_OK);
    QSet<uint32_t> phases;
    for (const LD_ProgressRecord& rec : b.reports)
        phases.insert(rec.phase);
    for (uint32_t phase : {LD_PhaseProgress, LD_PhaseFormat, LD_PhasePlan, LD_PhaseWrite,
                           LD_PhaseClose, LD_PhaseVerify})
        QVERIFY2(phases.contains(phase), qPrintable(QString("phase %1 missing").arg(phase)));
    QCOMPARE(b.reports.last().phase, uint32_t(LD_PhaseVerify));
    QCOMPARE(b.reports.last().currentSector, b.reports.last().totalSectors);
    const auto files = extractImage(dir_.filePath("sr0.img"), dir_.filePath("out"));
    QCOMPARE(files.value("clip.mp4"), md5Of(source));
}

void TestRecorders::write_brokenOffByDrive_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("gone");
    QTest::addColumn<QByteArray>("sense");
    QTest::addColumn<int>("stateStatus");
    QTest::newRow("write error")
        << "SCSI error condition on command 2Ah WRITE(10): [3 0C 00] Write error" << false
        << QByteArray("\x03\x0c\x00", 3) << int(LD_OK);
    QTest::newRow("buffer underrun")
        << "SCSI error condition on command 2Ah WRITE(10): [3 0C 09] Loss of streaming" << false
        << QByteArray("\x03\x0c\x09", 3) << int(LD_OK);
    QTest::newRow("drive gone") << "Failed to transfer command to drive: No such device" << true
                                << QByteArray("\x00\x00\x00", 3) << int(LD_NotFound);
}

void TestRecorders::write_brokenOffByDrive()
{
    QFETCH(QString, message);
    QFETCH(bool, gone);
    QFETCH(QByteArray, sense);
    QFETCH(int, stateStatus);

    LD_DeviceRecord r = {};
    auto fake = install(drive(FakeRecorderBackend::disc(0x11, Status::Blank, 2295104)), &r);
    QVERIFY(fake);
    open_.push_back(r);
    fake->change("/dev/sr0", [&](FakeRecorderBackend::Drive& d) {
        d.failAtSector = 64;
        d.failMessage = message.toStdString();
        d.goneAtFailure = gone;
    });
    const QString source = dir_.filePath("movie.mkv");
    TestFiles::write(source, QByteArray(24 * 1024 * 1024, 'm'));
    Burn b = burnOn(r, {{"movie.mkv", source}}, LD_FsUdf15);
    QCOMPARE(b.flushStatus, LD_WriteError);
    QCOMPARE(int32_t(b.reports.last().errorCode), LD_WriteError);
    uint8_t bytes[21] = {};
    QCOMPARE(LD_StorageDevice_GetError(&r, bytes, sizeof bytes), LD_OK);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes) + 2, 3), sense);
    uint32_t state = 0;
    QCOMPARE(LD_StorageDevice_GetState(&r, &state), stateStatus);
}

void TestRecorders::access_namesNodeAndGroup_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("member");
    QTest::addColumn<QString>("hintPart");
    QTest::newRow("group member") << 0660 << true << QString();
    QTest::newRow("not a member") << 0660 << false << "sudo usermod -aG 4711 $USER";
    QTest::newRow("open to all") << 0666 << false << QString();
    QTest::newRow("owner only") << 0600 << true << "Ask the computer's administrator";
}

void TestRecorders::access_namesNodeAndGroup()
{
    QFETCH(int, mode);
    QFETCH(bool, member);
    QFETCH(QString, hintPart);
    const QString node = dir_.filePath("dev/sr0");
    QDir().mkpath(dir_.filePath("dev"));
    TestFiles::write(node, QByteArray());
    TestFiles::write(dir_.filePath("dev/sda"), QByteArray());
    QVERIFY(::chmod(node.toUtf8().constData(), mode_t(mode)) == 0);
    if (::chown(node.toUtf8().constData(), 0, 4711) != 0)
        QSKIP("changing a file's group needs root");
    const std::vector<gid_t> groups =
        member ? std::vector<gid_t>{100, 4711} : std::vector<gid_t>{100};
    const auto problem = ld::RecorderAccess::check(node.toStdString(), 1000, groups);
    QCOMPARE(problem.hint.empty(), hintPart.isEmpty());
    if (!hintPart.isEmpty()) {
        QVERIFY2(QString::fromStdString(problem.hint).contains(node), problem.hint.c_str());
        QVERIFY2(QString::fromStdString(problem.hint).contains(hintPart), problem.hint.c_str());
    }
}

QTEST_GUILESS_MAIN(TestRecorders)
#include "tst_Recorders.moc"
