#include "BurnerLog.h"
#include "DiscEntryNames.h"
#include "FakeStorageLibrary.h"
#include "KavoMediaBurner.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"

#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Keeps what OnProgress was told.
class ProgressRecorder : public kvtl::RefCountedImpl<IKavoMediaBurnerCallback>
{
public:
    void OnProgress(quint64 current, quint64 total) override
    {
        reports.push_back(current);
        lastTotal = total;
    }
    std::vector<quint64> reports;
    quint64 lastTotal = 0;
};

// The burner's log lines of one test, caught in memory.
class LogCapture
{
public:
    LogCapture() : m_stream(open_memstream(&m_buffer, &m_size)) { BurnerLog::SetStream(m_stream); }
    ~LogCapture()
    {
        BurnerLog::SetStream(nullptr);
        std::fclose(m_stream);
        std::free(m_buffer);
    }
    QString Text() const
    {
        std::fflush(m_stream);
        return QString::fromUtf8(m_buffer, qsizetype(m_size));
    }

private:
    char* m_buffer = nullptr;
    size_t m_size = 0;
    std::FILE* m_stream;
};

// A burner over a fake library with one recorder holding a blank CD-R.
struct Rig
{
    Rig()
    {
        library.devices.resize(1);
        callback = new ProgressRecorder;
        burner.SetCallback(callback);
    }
    // Burns files and returns Run's result.
    quint32 Burn(const std::vector<std::u16string>& files = {u"/videos/a.mp4"})
    {
        if (burner.CurrentDrive().isEmpty() && burner.SelectFirstDrive(3) != 0)
            return 0xFFFF;
        for (const auto& file : files)
            burner.AddFile(file);
        if (burner.WriteToDisc(u"") != 0)
            return 0xFFFE;
        return burner.Run();
    }
    std::vector<std::string> EntryCalls() const
    {
        std::vector<std::string> entries;
        for (const auto& call : library.Calls())
            if (call.rfind("Entry ", 0) == 0)
                entries.push_back(call.substr(6));
        return entries;
    }

    LogCapture log;
    FakeStorageLibrary library;
    KavoMediaBurner burner{library};
    ProgressRecorder* callback;
};

} // namespace

class TestBurnThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eraseDecision_data();
    void eraseDecision();
    void fileSystem_followsMediumType_data();
    void fileSystem_followsMediumType();
    void createFails_mountsTheVolumeOnTheDisc();
    void failure_endsBothWaitsWithTheBurnResult_data();
    void failure_endsBothWaitsWithTheBurnResult();
    void run_reportsEachSectorOnce_andCompletes();
    void cancel_returns14();
    void entryNames_areUniqueAtTheRoot_data();
    void entryNames_areUniqueAtTheRoot();
    void eachWrite_burnsOnlyItsOwnFiles();
    void emptyDrive_isRefused();
    void imageBurnersSetting_reachesTheLibrary();

private:
    QTemporaryDir m_dir;
};

void TestBurnThread::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The image burners setting is read from a hive of our own, never the user's.
    PrivateEnvironment::useHives(m_dir.path());
}

void TestBurnThread::eraseDecision_data()
{
    QTest::addColumn<uint>("kind");
    QTest::addColumn<int>("kindStatus");
    QTest::addColumn<uint>("tray");
    QTest::addColumn<int>("trayStatus");
    QTest::addColumn<uint>("state");
    QTest::addColumn<uint>("mediaState");
    QTest::addColumn<int>("mediaStateStatus");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<bool>("erase");
    QTest::addColumn<QString>("trayCommands");

    const uint blank = LD_StateWritable | LD_StateBlank;
    const uint erasable = LD_StateWritable | LD_StateErasable | LD_StateRewrite;
    const int fail = LD_DeviceError;
    QTest::newRow("folder device decides alone")
        << 4u << 0 << 2u << fail << 70u << blank << fail << 0u << true << "";
    QTest::newRow("kind unreadable, erasable disc")
        << 0u << fail << 3u << 0 << 17u << erasable << 0 << 0u << true << "";
    QTest::newRow("tray unreadable: no erase")
        << 0u << 0 << 3u << fail << 17u << erasable << 0 << 0u << false << "";
    QTest::newRow("open tray is closed first")
        << 0u << 0 << 2u << 0 << 17u << erasable << 0 << 0u << true << "5";
    QTest::newRow("not ready: tray loaded, no erase")
        << 0u << 0 << 3u << 0 << 70u << erasable << 0 << 0u << false << "2";
    QTest::newRow("erasable even when blank")
        << 0u << 0 << 3u << 0 << 17u << (erasable | LD_StateBlank) << 0 << 0u << true << "";
    QTest::newRow("destroyable") << 0u << 0 << 3u << 0 << 17u << blank << 0 << 0x200u << true << "";
    QTest::newRow("blank CD-R") << 0u << 0 << 3u << 0 << 17u << blank << 0 << 0u << false << "";
    QTest::newRow("state bits unreadable")
        << 0u << 0 << 3u << 0 << 17u << erasable << fail << 0x200u << false << "";
}

void TestBurnThread::eraseDecision()
{
    QFETCH(uint, kind);
    QFETCH(int, kindStatus);
    QFETCH(uint, tray);
    QFETCH(int, trayStatus);
    QFETCH(uint, state);
    QFETCH(uint, mediaState);
    QFETCH(int, mediaStateStatus);
    QFETCH(uint, flags);
    QFETCH(bool, erase);
    QFETCH(QString, trayCommands);

    Rig rig;
    auto& d = rig.library.devices[0];
    d.kind = kind;
    d.tray = tray;
    d.mediaState = mediaState;
    d.mediaFlags = flags;
    if (kindStatus)
        d.failDevice[LD_DevKind] = kindStatus;
    if (trayStatus)
        d.failDevice[LD_DevTray] = trayStatus;
    if (mediaStateStatus)
        d.failMedia[LD_MediaState] = mediaStateStatus;
    QCOMPARE(rig.burner.SelectFirstDrive(3), 0u);
    d.state = state;

    // The erase decision never stops the burn.
    QCOMPARE(rig.Burn(), 11u);
    QCOMPARE(rig.library.Called("Erase"), erase);
    QStringList commands;
    for (const auto& call : rig.library.Calls())
        if (call.rfind("Tray ", 0) == 0)
            commands << QString::fromStdString(call.substr(5));
    QCOMPARE(commands.join(','), trayCommands);
    if (erase) {
        QVERIFY(rig.log.Text().contains("Device is: Fake recorder"));
        QVERIFY(rig.log.Text().contains("Device Path/Description is: Fake recorder"));
    }
    if (state == 70 && kind != 4)
        QVERIFY(rig.log.Text().contains("Please insert a media."));
}

void TestBurnThread::fileSystem_followsMediumType_data()
{
    QTest::addColumn<qulonglong>("mediaType");
    QTest::addColumn<int>("typeStatus");
    QTest::addColumn<uint>("fileSystem");
    QTest::newRow("CD-ROM") << 0x1ull << 0 << 8u;
    QTest::newRow("CD-R") << 0x2ull << 0 << 8u;
    QTest::newRow("CD-RW") << 0x4ull << 0 << 8u;
    QTest::newRow("CD-R and CD-RW bits together") << 0x6ull << 0 << 0x800u;
    QTest::newRow("DVD+R") << 0x200ull << 0 << 0x800u;
    QTest::newRow("DVD-RW") << 0x100ull << 0 << 0x800u;
    QTest::newRow("BD-R") << 0x20000ull << 0 << 0x800u;
    QTest::newRow("type unreadable") << 0x2ull << int(LD_MediaError) << 0x800u;
}

void TestBurnThread::fileSystem_followsMediumType()
{
    QFETCH(qulonglong, mediaType);
    QFETCH(int, typeStatus);
    QFETCH(uint, fileSystem);
    Rig rig;
    rig.library.devices[0].mediaType = mediaType;
    if (typeStatus)
        rig.library.devices[0].failMedia[LD_MediaType] = typeStatus;
    QCOMPARE(rig.Burn(), 11u);
    QVERIFY(rig.library.Called("Create " + std::to_string(fileSystem) + " KavoTransferWizard"));
    QVERIFY(!rig.library.Called("Mount"));
}

void TestBurnThread::createFails_mountsTheVolumeOnTheDisc()
{
    Rig rig;
    rig.library.fileSystemsFound = LD_FsJoliet | LD_FsUdf15;
    rig.library.createStatus = LD_InvalidMediaType;
    QCOMPARE(rig.Burn({u"/v/a.mp4", u"/v/b.mp4"}), 11u);
    QVERIFY(rig.library.Called("Mount"));
    QCOMPARE(rig.EntryCalls(), (std::vector<std::string>{"a.mp4", "b.mp4"}));
    QVERIFY(rig.log.Text().contains("Detected [ Joliet UDF 1.5 ]. Use LD_Volume_Mount."));
    QVERIFY(rig.log.Text().contains("Done Mount volume"));
}

void TestBurnThread::failure_endsBothWaitsWithTheBurnResult_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("status");
    QTest::addColumn<uint>("result");
    QTest::addColumn<QString>("logged");
    QTest::newRow("volume does not open")
        << "open" << int(LD_FileNotFound) << 32u << "Error: FileNotFound";
    QTest::newRow("neither create nor mount")
        << "create" << int(LD_MediaError) << 39u << "Error: MediaError";
    QTest::newRow("second entry missing")
        << "entry" << int(LD_FileNotFound) << 32u << "Could not add /v/b.mp4: FileNotFound";
    QTest::newRow("write fails halfway")
        << "flush" << int(LD_WriteError) << 39u << "Error: WriteError";
    QTest::newRow("a source unreadable")
        << "unreadable" << 0 << 39u << "Read file error list:\n  Could not read /v/b.mp4";
    QTest::newRow("more unreadable sources than the list holds")
        << "overflow" << 0 << 39u << "Read file error list:\n  (more files than the list holds)";
    QTest::newRow("medium request refused")
        << "request" << 0 << 39u
        << "Insert media into the device, then press <enter>\nNo console to wait on";
}

void TestBurnThread::failure_endsBothWaitsWithTheBurnResult()
{
    QFETCH(QString, fault);
    QFETCH(int, status);
    QFETCH(uint, result);
    QFETCH(QString, logged);

    Rig rig;
    FakeStorageLibrary& lib = rig.library;
    if (fault == "open")
        lib.openVolumeStatus = status;
    if (fault == "create")
        lib.createStatus = lib.mountStatus = status;
    if (fault == "entry") {
        lib.entryFailAt = 1;
        lib.entryStatus = status;
    }
    if (fault == "flush")
        lib.flushStatus = status;
    if (fault == "unreadable")
        lib.unreadable = {u"/v/b.mp4"};
    if (fault == "overflow")
        lib.unreadable.assign(100, std::u16string(40, u'x'));
    if (fault == "request")
        lib.flushRequestKind = LD_ReportInsertMedium;

    QCOMPARE(rig.Burn({u"/v/a.mp4", u"/v/b.mp4"}), result);
    QVERIFY2(rig.log.Text().contains(logged), qPrintable(rig.log.Text()));
    // The volume is closed when it was opened, and the drive given back in every case.
    QCOMPARE(lib.Called("VolumeClose"), fault != "open");
    QVERIFY(lib.Called("ExclusiveAccess 3 LD_Storage"));
    QCOMPARE(lib.Called("Flush"), fault == "flush" || fault == "unreadable" ||
                                      fault == "overflow" || fault == "request");
    QCOMPARE(lib.Called("Tray 1"), fault == "open" || fault == "create" || fault == "entry");
}

void TestBurnThread::run_reportsEachSectorOnce_andCompletes()
{
    Rig rig;
    rig.library.flushSectors = 6;
    QCOMPARE(rig.Burn({u"/v/a.mp4", u"/v/a.mp4"}), 11u);
    const auto& reports = rig.callback->reports;
    QVERIFY(!reports.empty());
    for (size_t i = 1; i < reports.size(); ++i)
        QVERIFY(reports[i] > reports[i - 1]);
    QCOMPARE(reports.back(), quint64(6));
    QCOMPARE(rig.callback->lastTotal, quint64(6));
    // The burn let go of its drive: the device closes once the controller lets go too.
    QCOMPARE(rig.burner.CurrentDrive().privateData()->GetRefCount(), 1);
    QVERIFY(rig.log.Text().contains("Device: 7 Write 50% complete (3 of 6 sectors)"));
    QVERIFY(rig.log.Text().contains("Done Flush volume\n"));
    QVERIFY(rig.log.Text().contains("Duration (HH:MM:SS.ss): 00:00:0"));
}

void TestBurnThread::cancel_returns14()
{
    Rig rig;
    rig.library.flushUntilCancel = true;
    QCOMPARE(rig.burner.SelectFirstDrive(3), 0u);
    rig.burner.AddFile(u"/v/a.mp4");
    QCOMPARE(rig.burner.WriteToDisc(u""), 0u);
    rig.burner.Cancel();
    QCOMPARE(rig.burner.Run(), 14u);
    QVERIFY(rig.log.Text().contains("Sending cancel message"));
    QVERIFY(rig.library.Called("VolumeClose"));

    // The next burn on the same burner is not cancelled by the last one's request.
    rig.library.flushUntilCancel = false;
    QCOMPARE(rig.Burn(), 11u);

    // A cancel while the disc is erased, before any progress report, stops before the write.
    rig.library.devices[0].mediaState |= LD_StateErasable;
    rig.library.duringErase = [&] { rig.burner.Cancel(); };
    const auto flushes = [&] {
        const auto calls = rig.library.Calls();
        return std::count(calls.begin(), calls.end(), "Flush");
    };
    const auto before = flushes();
    QCOMPARE(rig.Burn(), 14u);
    QCOMPARE(flushes(), before);
    QVERIFY(rig.log.Text().contains("Cancelled before the write"));
}

void TestBurnThread::entryNames_areUniqueAtTheRoot_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("distinct") << QStringList{"/a/x.mp4", "/b/y.mp4", "plain.avi"}
                              << QStringList{"x.mp4", "y.mp4", "plain.avi"};
    QTest::newRow("same name, other folders")
        << QStringList{"/a/clip.mp4", "/b/clip.mp4", "/c/clip.mp4"}
        << QStringList{"clip.mp4", "clip (2).mp4", "clip (3).mp4"};
    QTest::newRow("case differs only")
        << QStringList{"/a/Clip.MP4", "/b/clip.mp4"} << QStringList{"Clip.MP4", "clip (2).mp4"};
    QTest::newRow("numbered name already taken")
        << QStringList{"/a/clip (2).mp4", "/b/clip.mp4", "/c/clip.mp4"}
        << QStringList{"clip (2).mp4", "clip.mp4", "clip (3).mp4"};
    QTest::newRow("a backslash is part of the name")
        << QStringList{"/a/back\\slash.mp4", "/b/slash.mp4"}
        << QStringList{"back\\slash.mp4", "slash.mp4"};
    QTest::newRow("no extension, hidden file")
        << QStringList{"/a/notes", "/b/notes", "/a/.x", "/b/.x"}
        << QStringList{"notes", "notes (2)", ".x", ".x (2)"};
}

void TestBurnThread::entryNames_areUniqueAtTheRoot()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, names);
    std::vector<std::u16string> sources;
    for (const QString& p : paths)
        sources.push_back(p.toStdU16String());
    QStringList got;
    for (const auto& name : DiscEntryNames::Unique(sources))
        got << QString::fromStdU16String(name);
    QCOMPARE(got, names);

    // The burn hands the library exactly these names.
    Rig rig;
    QCOMPARE(rig.Burn(sources), 11u);
    QStringList entries;
    for (const auto& e : rig.EntryCalls())
        entries << QString::fromStdString(e);
    QCOMPARE(entries, names);
}

void TestBurnThread::eachWrite_burnsOnlyItsOwnFiles()
{
    Rig rig;
    QCOMPARE(rig.Burn({u"/v/first.mp4"}), 11u);
    QCOMPARE(rig.burner.GetFileCount(), 0);
    rig.library.flushStatus = LD_WriteError;
    QCOMPARE(rig.Burn({u"/v/second.mp4"}), 39u);
    QCOMPARE(rig.burner.GetFileCount(), 0);
    rig.library.flushStatus = LD_OK;
    QCOMPARE(rig.Burn({u"/v/third.mp4"}), 11u);
    QCOMPARE(rig.EntryCalls(), (std::vector<std::string>{"first.mp4", "second.mp4", "third.mp4"}));
}

void TestBurnThread::emptyDrive_isRefused()
{
    Rig rig;
    QCOMPARE(rig.burner.SetCurrentDrive(Drive()), 9u);
    rig.burner.AddFile(u"/v/a.mp4");
    QCOMPARE(rig.burner.WriteToDisc(u""), 9u);
    QCOMPARE(rig.burner.Run(), 39u);
    QCOMPARE(rig.burner.GetFileCount(), 0);
    QVERIFY(!rig.library.Called("OpenVolume"));
    quint64 bytes = 1;
    QCOMPARE(rig.burner.GetFreeSpace(bytes), 2u);
    QCOMPARE(bytes, quint64(0));
}

void TestBurnThread::imageBurnersSetting_reachesTheLibrary()
{
    QVERIFY(WriteSetting(std::string("TransferWizard"), std::string("ImageBurners"),
                         std::string("cd-r:/tmp/x.iso")));
    Rig rig;
    QCOMPARE(rig.burner.Initialize(3, false), 0u);
    std::vector<Drive> drives;
    QCOMPARE(rig.burner.GetAvailableDrives(3, drives), 0u);
    QCOMPARE(rig.library.imageBurners, std::string("cd-r:/tmp/x.iso"));
    // Passed once, not on every enumeration.
    const auto calls = rig.library.Calls();
    QCOMPARE(std::count(calls.begin(), calls.end(), "SetImageBurners cd-r:/tmp/x.iso"), 1);
    QVERIFY(DeleteSetting(std::string("TransferWizard"), std::string("ImageBurners")));
}

QTEST_GUILESS_MAIN(TestBurnThread)
#include "tst_BurnThread.moc"
