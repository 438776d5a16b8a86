// The burner over a modelled real recorder: every step of the burn reaches the callback, the
// read-back included, and a failed write comes back as a reason in words.
#include "BurnerLog.h"
#include "BurnerVolumeInfo.h"
#include "FakeRecorderBackend.h"
#include "KavoMediaBurner.h"
#include "LDStorage.h"
#include "PrivateEnvironment.h"
#include "SenseText.h"

#include <QtTest>

#include <cstdio>
#include <sys/stat.h>
#include <sys/sysmacros.h>

Q_DECLARE_METATYPE(std::string)

namespace {

class PhaseRecorder : public kvtl::RefCountedImpl<IKavoMediaBurnerCallback>
{
public:
    void OnProgress(quint64, quint64) override {}
    void OnBurnPhase(quint32 phase, quint64 current, quint64 total) override
    {
        phases.push_back({phase, current, total});
    }
    struct Report
    {
        quint32 phase;
        quint64 current;
        quint64 total;
    };
    std::vector<Report> phases;
};

} // namespace

class TestBurnerRecorder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void senseText_namesTheCommonCases_data();
    void senseText_namesTheCommonCases();
    void burn_reportsVerifyOrTheReason_data();
    void burn_reportsVerifyOrTheReason();
    void probe_seesBlankDiscInserted();
    void volumeInfo_labelAndFileSystem_data();
    void volumeInfo_labelAndFileSystem();

private:
    QTemporaryDir m_dir;
    std::FILE* m_log = nullptr;
};

void TestBurnerRecorder::initTestCase()
{
    QVERIFY(m_dir.isValid());
    PrivateEnvironment::useHives(m_dir.path());
    m_log = std::fopen(m_dir.filePath("burner.log").toUtf8().constData(), "w");
    BurnerLog::SetStream(m_log);
}

void TestBurnerRecorder::cleanup()
{
    ld::setRecorderBackend(nullptr);
    LD_SetScanOpticalDrives(0);
    QFile::remove(m_dir.filePath("sr0.img"));
}

void TestBurnerRecorder::senseText_namesTheCommonCases_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("sense"); // key, ASC, ASCQ
    QTest::addColumn<bool>("gone");
    QTest::addColumn<QString>("text");
    const int w = LD_WriteError;
    QTest::newRow("no disc") << w << QByteArray("\x02\x3a\x01", 3) << false
                             << "there is no disc in the drive (drive sense 2/3A/01)";
    QTest::newRow("disc not writable") << w << QByteArray("\x05\x21\x02", 3) << false
                                       << "the disc is not writable (it is closed or full)";
    QTest::newRow("write protected")
        << w << QByteArray("\x07\x27\x00", 3) << false << "the disc is write-protected";
    QTest::newRow("medium incompatible")
        << w << QByteArray("\x05\x30\x05", 3) << false << "incompatible medium";
    QTest::newRow("power calibration")
        << w << QByteArray("\x03\x73\x03", 3) << false << "power calibration failed";
    QTest::newRow("buffer underrun")
        << w << QByteArray("\x03\x0c\x09", 3) << false << "buffer underrun";
    QTest::newRow("other write error") << w << QByteArray("\x03\x0c\x00", 3) << false
                                       << "the drive could not write to the disc (drive sense "
                                          "3/0C/00)";
    QTest::newRow("unexplained sense")
        << w << QByteArray("\x05\x55\x01", 3) << false << "did not explain (sense 5/55/01)";
    QTest::newRow("drive gone") << w << QByteArray("\x00\x00\x00", 3) << true
                                << "disconnected or switched off";
    QTest::newRow("verify mismatch")
        << int(LD_DataMiscompare) << QByteArray(3, '\0') << false << "verify failed";
    QTest::newRow("status without a row") << int(LD_InvalidLayerBreak) << QByteArray(3, '\0')
                                          << false << "the recorder failed (InvalidLayerBreak)";
    QTest::newRow("cancelled") << int(LD_UserCancelled) << QByteArray(3, '\0') << false
                               << QString();
}

void TestBurnerRecorder::senseText_namesTheCommonCases()
{
    QFETCH(int, status);
    QFETCH(QByteArray, sense);
    QFETCH(bool, gone);
    QFETCH(QString, text);
    uint8_t bytes[21] = {0x70};
    std::memcpy(bytes + 2, sense.constData(), 3);
    const QString said = SenseText::ForFailure(status, bytes, gone);
    QVERIFY2(text.isEmpty() ? said.isEmpty() : said.contains(text), qPrintable(said));
}

void TestBurnerRecorder::burn_reportsVerifyOrTheReason_data()
{
    QTest::addColumn<std::string>("failure"); // libburn's message; empty: the write goes well
    QTest::addColumn<bool>("gone");
    QTest::addColumn<quint32>("result");
    QTest::addColumn<QString>("reason");
    QTest::newRow("written and verified") << std::string() << false << quint32(11) << QString();
    QTest::newRow("write error")
        << std::string("SCSI error condition on command 2Ah WRITE(10): [3 0C 00] Write error")
        << false << quint32(39) << "could not write to the disc (drive sense 3/0C/00)";
    QTest::newRow("drive gone mid-write")
        << std::string("Failed to transfer command to drive: No such device") << true << quint32(39)
        << "disconnected or switched off during the write";
}

void TestBurnerRecorder::burn_reportsVerifyOrTheReason()
{
    QFETCH(std::string, failure);
    QFETCH(bool, gone);
    QFETCH(quint32, result);
    QFETCH(QString, reason);

    auto fake = std::make_shared<FakeRecorderBackend>();
    auto drive = FakeRecorderBackend::recorder("/dev/sr0", m_dir.filePath("sr0.img").toStdString());
    drive.medium = FakeRecorderBackend::disc(0x1b, ld::MediumReport::Status::Blank, 2295104);
    if (!failure.empty()) {
        drive.failAtSector = 32;
        drive.failMessage = failure;
        drive.goneAtFailure = gone;
    }
    fake->add(drive);
    ld::setRecorderBackend(fake);
    LD_SetScanOpticalDrives(1);

    const QString video = m_dir.filePath("holiday.mp4");
    QFile f(video);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(6 << 20, 'h'));
    f.close();

    KavoMediaBurner burner;
    kvtl::RefCountedPtr<PhaseRecorder> callback(new PhaseRecorder);
    burner.SetCallback(callback.get());
    QCOMPARE(burner.SelectFirstDrive(3), 0u);
    QCOMPARE(burner.AddFile(video.toStdU16String()), 0u);
    QCOMPARE(burner.WriteToDisc(std::u16string()), 0u);
    QCOMPARE(burner.Run(), result);
    QVERIFY2(reason.isEmpty() ? burner.FailureReason().isEmpty()
                              : burner.FailureReason().contains(reason),
             qPrintable(burner.FailureReason()));
    if (failure.empty()) {
        // The read-back is a step of its own that ends complete.
        const auto& last = callback->phases.back();
        QCOMPARE(last.phase, quint32(LD_PhaseVerify));
        QVERIFY(last.total > 0);
        QCOMPARE(last.current, last.total);
    }
}

void TestBurnerRecorder::probe_seesBlankDiscInserted()
{
    auto fake = std::make_shared<FakeRecorderBackend>();
    auto drive = FakeRecorderBackend::recorder("/dev/sr0", m_dir.filePath("sr0.img").toStdString());
    drive.tray = ld::TrayState::Empty;
    fake->add(drive);
    ld::setRecorderBackend(fake);
    LD_SetScanOpticalDrives(1);
    KavoMediaBurner burner;
    std::vector<Drive> drives;
    QCOMPARE(burner.GetAvailableDrives(3, drives), 0u);
    const auto probe = burner.DiscStateProbe();
    QCOMPARE(probe(drives.front().record()), quint32(LD_DeviceNotReadyState));
    fake->change("/dev/sr0", [](FakeRecorderBackend::Drive& d) {
        d.medium = FakeRecorderBackend::disc(0x11, ld::MediumReport::Status::Blank, 2295104);
        d.tray = ld::TrayState::Loaded;
    });
    QCOMPARE(probe(drives.front().record()), quint32(LD_DeviceReady));
    fake->change("/dev/sr0", [](FakeRecorderBackend::Drive& d) { d.tray = ld::TrayState::Open; });
    QCOMPARE(probe(drives.front().record()), quint32(LD_DeviceNotReadyState));
}

void TestBurnerRecorder::volumeInfo_labelAndFileSystem_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("udev");
    QTest::addColumn<uint>("fileSystem");
    QTest::addColumn<QString>("label");
    QTest::newRow("written image") << "image" << QByteArray() << 8u << "HOLIDAY_2024";
    QTest::newRow("blank image") << "blank" << QByteArray() << 0u << QString();
    QTest::newRow("drive, labelled disc")
        << "node"
        << QByteArray("E:ID_FS_TYPE=udf\nE:ID_FS_LABEL=Summer_Trip\n"
                      "E:ID_FS_LABEL_ENC=Summer\\x20Trip\n")
        << 8u << "Summer Trip";
    QTest::newRow("drive, blank disc")
        << "node" << QByteArray("E:ID_CDROM_MEDIA=1\n") << 0u << QString();
}

void TestBurnerRecorder::volumeInfo_labelAndFileSystem()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, udev);
    QFETCH(uint, fileSystem);
    QFETCH(QString, label);
    QString root;
    const QString udevDir = m_dir.filePath("udev");
    if (kind == "image") {
        // Made by a writer we did not write.
        if (QStandardPaths::findExecutable("xorriso").isEmpty())
            QSKIP("xorriso is not installed");
        QDir().mkpath(m_dir.filePath("content"));
        QFile(m_dir.filePath("content/a.txt")).open(QIODevice::WriteOnly);
        root = m_dir.filePath("labelled.iso");
        QFile::remove(root);
        QCOMPARE(QProcess::execute("xorriso", {"-as", "mkisofs", "-quiet", "-V", label, "-o", root,
                                               m_dir.filePath("content")}),
                 0);
    } else if (kind == "blank") {
        root = m_dir.filePath("blank.iso");
        QFile(root).open(QIODevice::WriteOnly);
    } else {
        root = m_dir.filePath("sr0");
        QFile::remove(root);
        if (::mknod(root.toUtf8().constData(), S_IFBLK | 0600, makedev(11, 0)) != 0)
            QSKIP("making a device node needs root");
        QDir().mkpath(udevDir);
        QFile record(udevDir + "/b11:0");
        QVERIFY(record.open(QIODevice::WriteOnly));
        record.write(udev);
    }
    const BurnerVolumeInfo info = BurnerVolumeInfo::of(root, udevDir);
    QCOMPARE(info.fileSystem, fileSystem);
    QCOMPARE(info.label, label);
}

QTEST_GUILESS_MAIN(TestBurnerRecorder)
#include "tst_BurnerRecorder.moc"
