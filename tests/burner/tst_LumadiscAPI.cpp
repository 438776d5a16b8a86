#include "FakeStorageLibrary.h"
#include "LumadiscAPI.h"
#include "StorageStatus.h"

#include <QtTest>

class TestLumadiscAPI : public QObject
{
    Q_OBJECT

private slots:
    void getAvailableDrives_data();
    void getAvailableDrives();
    void drive_copiesShareTheDevice_closedWithTheLastCopy();
    void discInformation_data();
    void discInformation();
    void highestWriteRate_data();
    void highestWriteRate();
    void statusText_data();
    void statusText();
};

void TestLumadiscAPI::getAvailableDrives_data()
{
    QTest::addColumn<int>("devices");
    QTest::addColumn<QString>("path");
    QTest::addColumn<uint>("capabilities");
    QTest::addColumn<qulonglong>("writeBits");
    QTest::addColumn<int>("openStatus");
    QTest::addColumn<uint>("result");
    QTest::addColumn<int>("listed");

    QTest::newRow("no recorder") << 0 << "/dev/sr0" << 1u << 0x41ull << 0 << 2u << 0;
    QTest::newRow("recorder") << 1 << "/dev/sr0" << 1u << 0x41ull << 0 << 0u << 1;
    QTest::newRow("DVD writer only") << 1 << "/dev/sr0" << 1u << 0x40ull << 0 << 0u << 1;
    QTest::newRow("empty path skipped") << 1 << "" << 1u << 0x41ull << 0 << 2u << 0;
    QTest::newRow("not a recorder") << 1 << "/dev/sr0" << 0u << 0x41ull << 0 << 2u << 0;
    QTest::newRow("writes neither") << 1 << "/dev/sr0" << 1u << 0x2ull << 0 << 2u << 0;
    QTest::newRow("open fails") << 1 << "/dev/sr0" << 1u << 0x41ull << int(LD_DeviceInUse) << 2u
                                << 0;
    QTest::newRow("two, one with empty path") << 2 << "" << 1u << 0x41ull << 0 << 0u << 1;
}

void TestLumadiscAPI::getAvailableDrives()
{
    QFETCH(int, devices);
    QFETCH(QString, path);
    QFETCH(uint, capabilities);
    QFETCH(qulonglong, writeBits);
    QFETCH(int, openStatus);
    QFETCH(uint, result);
    QFETCH(int, listed);

    FakeStorageLibrary library;
    if (devices > 0) {
        FakeStorageLibrary::Device d;
        d.path = path.toStdU16String();
        d.capabilities = capabilities;
        d.writeBits = writeBits;
        d.openStatus = openStatus;
        library.devices.push_back(d);
    }
    if (devices > 1) {
        library.devices.push_back(FakeStorageLibrary::Device());
        library.devices.back().path = u"/srv/disc.iso";
    }
    LumadiscAPI api(library);
    std::vector<Drive> drives{Drive(u"/stale", u"stale")};
    QCOMPARE(api.GetAvailableDrives(3, drives), result);
    QCOMPARE(int(drives.size()), listed);
    for (const Drive& drive : drives) {
        QVERIFY(!drive.isEmpty());
        QCOMPARE(drive.letter(), u'/');
        QVERIFY(drive.privateData());
    }
    // Every device that was opened but not listed is closed at once.
    const auto calls = library.Calls();
    const auto opened = std::count_if(
        calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("Open ", 0) == 0; });
    const auto closed = std::count_if(
        calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("Close", 0) == 0; });
    QCOMPARE(int(opened - closed), listed);
}

void TestLumadiscAPI::drive_copiesShareTheDevice_closedWithTheLastCopy()
{
    FakeStorageLibrary library;
    library.devices.resize(1);
    LumadiscAPI api(library);
    Drive kept;
    {
        std::vector<Drive> drives;
        QCOMPARE(api.GetAvailableDrives(3, drives), 0u);
        QCOMPARE(drives.front().privateData()->GetRefCount(), 1);
        kept = drives.front();
        QCOMPARE(kept.privateData()->GetRefCount(), 2);
        QCOMPARE(kept.name(), std::u16string(u"Fake recorder"));
        QCOMPARE(kept.path(), std::u16string(u"/dev/sr0"));
    }
    QVERIFY(!library.Called("Close 101"));
    kept = Drive();
    QVERIFY(library.Called("Close 101"));
}

void TestLumadiscAPI::discInformation_data()
{
    QTest::addColumn<uint>("state");
    QTest::addColumn<qulonglong>("mediaType");
    QTest::addColumn<uint>("layers");
    QTest::addColumn<QList<uint>>("capacity");
    QTest::addColumn<QList<uint>>("start");
    QTest::addColumn<qulonglong>("freeBytes");
    QTest::addColumn<uint>("failingProperty");
    QTest::addColumn<int>("failure");
    QTest::addColumn<uint>("result");
    QTest::addColumn<uint>("usedBlocks");
    QTest::addColumn<uint>("freeBlocks");
    QTest::addColumn<uint>("freeSpaceResult");

    const QList<uint> cd{359844};
    const QList<uint> zero{0};
    // Non-rewritable: blocks from properties 18 (used 4196 bytes) and 19, remainder dropped.
    QTest::newRow("CD-R from used and free bytes")
        << 17u << 0x2ull << 1u << cd << zero << 20485ull << 0u << 0 << 0u << 2u << 10u << 0u;
    QTest::newRow("full CD-R") << 17u << 0x2ull << 1u << cd << zero << 0ull << 0u << 0 << 0u << 2u
                               << 0u << 5u;
    QTest::newRow("no disc") << 70u << 0x2ull << 1u << cd << zero << 20485ull << 0u << 0 << 7u << 0u
                             << 0u << 7u;
    QTest::newRow("disc spinning up")
        << 71u << 0x2ull << 1u << cd << zero << 20485ull << 0u << 0 << 7u << 0u << 0u << 7u;
    QTest::newRow("state unreadable") << 17u << 0x2ull << 1u << cd << zero << 20485ull << 0xFFFFu
                                      << int(LD_DeviceError) << 2u << 0u << 0u << 2u;
    QTest::newRow("two-layer DVD+RW: layer 0 only")
        << 17u << 0x400ull << 2u << QList<uint>{2000, 3000} << QList<uint>{500, 0} << 0ull << 0u
        << 0 << 0u << 500u << 1500u << 0u;
    QTest::newRow("rewritable of capacity 0") << 17u << 0x4ull << 1u << zero << QList<uint>{100}
                                              << 0ull << 0u << 0 << 0u << 100u << 0u << 5u;
    QTest::newRow("capacity array: FileNotFound") << 17u << 0x4ull << 1u << cd << zero << 0ull << 8u
                                                  << int(LD_FileNotFound) << 32u << 0u << 0u << 32u;
    QTest::newRow("start array: other failure") << 17u << 0x4ull << 1u << cd << zero << 0ull << 9u
                                                << int(LD_MediaError) << 39u << 0u << 0u << 39u;
    QTest::newRow("free bytes unreadable") << 17u << 0x80ull << 1u << cd << zero << 0ull << 19u
                                           << int(LD_MediaError) << 39u << 0u << 0u << 39u;
}

void TestLumadiscAPI::discInformation()
{
    QFETCH(uint, state);
    QFETCH(qulonglong, mediaType);
    QFETCH(uint, layers);
    QFETCH(QList<uint>, capacity);
    QFETCH(QList<uint>, start);
    QFETCH(qulonglong, freeBytes);
    QFETCH(uint, failingProperty);
    QFETCH(int, failure);
    QFETCH(uint, result);
    QFETCH(uint, usedBlocks);
    QFETCH(uint, freeBlocks);
    QFETCH(uint, freeSpaceResult);

    FakeStorageLibrary library;
    FakeStorageLibrary::Device d;
    d.state = state;
    d.mediaType = mediaType;
    d.mediaState = LD_StateWritable | LD_StateErasable;
    d.layers = layers;
    d.layerCapacity.assign(capacity.begin(), capacity.end());
    d.layerStart.assign(start.begin(), start.end());
    d.usedBytes = 4196;
    d.freeBytes = freeBytes;
    if (failingProperty == 0xFFFFu)
        d.stateStatus = failure;
    else if (failingProperty != 0)
        d.failMedia[failingProperty] = failure;
    library.devices.push_back(d);

    LumadiscAPI api(library);
    std::vector<Drive> drives;
    QCOMPARE(api.GetAvailableDrives(3, drives), 0u);
    DiscInfo info;
    QCOMPARE(api.GetDiscInformation(drives.front(), info), result);
    QCOMPARE(info.usedBlocks, usedBlocks);
    QCOMPARE(info.freeBlocks, freeBlocks);
    if (result == 0) {
        QVERIFY(info.erasable);
        QVERIFY(info.writable);
    }
    uint64_t bytes = 1;
    QCOMPARE(api.GetFreeSpace(drives.front(), bytes), freeSpaceResult);
    QCOMPARE(bytes, uint64_t(freeBlocks) * 2048);
}

void TestLumadiscAPI::highestWriteRate_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<uint>("result");
    QTest::addColumn<uint>("rate");
    QTest::newRow("first rate in hundredths") << 0 << 0u << 10584u;
    QTest::newRow("FileNotFound") << int(LD_FileNotFound) << 32u << 0u;
    QTest::newRow("other failure") << int(LD_DeviceError) << 39u << 0u;
}

void TestLumadiscAPI::highestWriteRate()
{
    QFETCH(int, failure);
    QFETCH(uint, result);
    QFETCH(uint, rate);
    FakeStorageLibrary library;
    library.devices.resize(1);
    library.devices[0].rates = {1058499, 705600, 0};
    if (failure)
        library.devices[0].failMedia[LD_MediaWriteRates] = failure;
    LumadiscAPI api(library);
    std::vector<Drive> drives;
    api.GetAvailableDrives(3, drives);
    uint32_t got = 1;
    QCOMPARE(api.GetHighestWriteRate(drives.front(), got), result);
    QCOMPARE(got, rate);
    QCOMPARE(api.GetHighestWriteRate(Drive(), got), 39u);
}

void TestLumadiscAPI::statusText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("success") << 0 << "None";
    QTest::newRow("layer break") << int(LD_InvalidLayerBreak) << "InvalidLayerBreak";
    QTest::newRow("sense bytes 2-4") << int(LD_DeviceSenseError) << "DeviceSenseError (02/03/04)";
    QTest::newRow("missing") << -1 << "Missing error text in app: [-1]";
    QTest::newRow("near a real code") << -97073 << "Missing error text in app: [-97073]";
}

void TestLumadiscAPI::statusText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    FakeStorageLibrary library;
    LD_DeviceRecord record{};
    std::string out = "Error: ";
    StorageStatus::AppendText(code, out, &library, &record);
    QCOMPARE(QString::fromStdString(out), "Error: " + text);
}

QTEST_GUILESS_MAIN(TestLumadiscAPI)
#include "tst_LumadiscAPI.moc"
