#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "FakeDriveTree.h"
#include "HttpRecorder.h"
#include "OutputReader.h"
#include "SettingsAccessors.h"
#include "TestClips.h"
#include "TestFiles.h"
#include "TransferDevice.h"
#include "TransferDevices.h"
#include "TransferRun.h"

// The real program, driven through its unattended mode, copying videos to a USB destination:
// what arrives must play, the device must be recorded and announced, the pings sent; a
// destination that fills, a file too large for FAT32, a cancel and a vanished drive must each
// end honestly, naming the file and the reason and leaving no part file behind.
class TestTransferUsb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void threeClips_arrivePlayAndAreRecorded();
    void refusedBeforeStart_data();
    void refusedBeforeStart();
    void hugeFileToFat32_refusedBeforeStart();
    void driveFillsDuringTransfer_failsNamingFileAndReason_data();
    void driveFillsDuringTransfer_failsNamingFileAndReason();
    void cancelMidCopy_leavesNoPartFile();
    void killedMidCopy_rerunDeliversTheFileWhole();
    void driveRemovedMidTransfer_cancels();

private:
    QString folder(const QString& name) const;
    QString clip(const QString& name, const QStringList& codecArguments, double seconds = 2);
    QString bigClip();
    static QStringList partFiles(const QString& dir);
    QString tempDir() const { return m_root.path() + "/cache/Kavo/TransferWizard/tmp"; }

    QTemporaryDir m_root;
    std::unique_ptr<HttpRecorder> m_pings;
    QProcess m_listener;
    QByteArray m_announced;
    QString m_holiday;
    QString m_birthday;
    QString m_fete;
};

QString TestTransferUsb::folder(const QString& name) const
{
    const QString path = m_root.path() + "/" + name;
    QDir().mkpath(path);
    return path;
}

QString TestTransferUsb::clip(const QString& name, const QStringList& codecArguments,
                              double seconds)
{
    TestClips clips(folder("videos"));
    const QString d = QString::number(seconds);
    const QString path = clips.make(
        name, QStringList{"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=" + d, "-f",
                          "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=" + d} +
                  codecArguments + QStringList{"-shortest"});
    if (path.isEmpty())
        qWarning() << clips.lastError();
    return path;
}

QString TestTransferUsb::bigClip()
{
    // Large enough that a copy takes a while: 18 Mbit/s H.264 High, which the brand's HD
    // profile takes as it is.
    TestClips clips(folder("videos"));
    if (QFileInfo::exists(clips.path("big1.mkv")))
        return clips.path("big1.mkv");
    const QString big = clips.make(
        "big1.mkv",
        {"-f",         "lavfi",   "-i",           "testsrc2=size=1280x720:rate=25:duration=12",
         "-c:v",       "libx264", "-preset",      "ultrafast",
         "-profile:v", "high",    "-coder",       "1",
         "-8x8dct",    "1",       "-level",       "4.1",
         "-pix_fmt",   "yuv420p", "-b:v",         "18M",
         "-minrate",   "18M",     "-maxrate",     "18M",
         "-bufsize",   "9M",      "-x264-params", "nal-hrd=cbr"});
    if (big.isEmpty())
        qWarning() << clips.lastError();
    return big;
}

QStringList TestTransferUsb::partFiles(const QString& dir)
{
    return QDir(dir).entryList({"*.part"}, QDir::Files | QDir::Hidden);
}

void TestTransferUsb::initTestCase()
{
    QVERIFY(m_root.isValid());
    TransferRun::useRoot(m_root.path());
    QVERIFY2(QFileInfo(TransferRun::portavo()).isExecutable(), qPrintable(TransferRun::portavo()));
    m_pings = std::make_unique<HttpRecorder>();
    QVERIFY(WriteInstallSetting("TransferWizard", "UsageHost", m_pings->host().toStdString()));

    // One clip the home-theater profile must convert (H.264), one it takes as it is (MPEG-4
    // Part 2 in AVI), and that one again under a name that is not ASCII.
    m_holiday = clip("holiday.mp4", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt",
                                     "yuv420p", "-c:a", "aac"});
    m_birthday = clip("birthday.avi", {"-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame"});
    QVERIFY(!m_holiday.isEmpty() && !m_birthday.isEmpty());
    m_fete = folder("videos") + QString::fromUtf8("/f\xC3\xAAte \xC3\xA9t\xC3\xA9.avi");
    QVERIFY(QFile::copy(m_birthday, m_fete));

    m_listener.start(QCoreApplication::applicationDirPath() + "/platform_helper",
                     {"ipc-listen", "Device/"});
    QVERIFY(m_listener.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT((m_announced += m_listener.readAllStandardOutput()).contains("ready"),
                             20000);
}

void TestTransferUsb::cleanupTestCase()
{
    m_listener.closeWriteChannel();
    m_listener.waitForFinished(20000);
}

void TestTransferUsb::threeClips_arrivePlayAndAreRecorded()
{
    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    QVERIFY(library && library->IsOpen());
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> device(library->CreateDevice("Den TV"));
    QVERIFY(device);
    QVERIFY(device->SetType(2));
    const uint id = device->GetDeviceId();

    const QString stick = folder("stick");
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives",
                         (stick + ";" + folder("gone") + "x").toStdString()));
    const QByteArray sourceBefore = TestFiles::read(m_birthday);
    const int pingsBefore = int(m_pings->requestLines().size());

    const TransferRun::Result run = TransferRun::run(
        TransferRun::arguments(id, {m_holiday, m_birthday, m_fete}, stick, {"-profile", "3"}));
    QVERIFY2(run.exitCode == 0, qPrintable(run.output + run.errors));
    QCOMPARE(run.files.size(), 3);

    const QStringList expected{stick + "/holiday.kavo", stick + "/birthday.avi",
                               stick + QString::fromUtf8("/f\xC3\xAAte \xC3\xA9t\xC3\xA9.avi")};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(run.files[i][1], QString("arrived"));
        QCOMPARE(run.files[i][2], expected[i]);
        OutputReader reader;
        QVERIFY2(reader.read(expected[i]), qPrintable(reader.error()));
        QVERIFY(reader.videoFrames() >= 40);
        QCOMPARE(reader.decodeErrors(), 0);
    }
    OutputReader converted;
    QVERIFY(converted.read(expected[0]));
    QCOMPARE(converted.first("video")->codec, QString("mpeg4"));
    // Taken as it is: the same bytes, and the source untouched.
    QCOMPARE(TestFiles::read(expected[1]), sourceBefore);
    QCOMPARE(TestFiles::read(m_birthday), sourceBefore);
    QVERIFY(partFiles(stick).isEmpty());

    // The device record, read with a reader we did not write.
    QProcess sqlite;
    sqlite.start("sqlite3", {"-readonly", m_root.path() + "/data/Kavo/TransferWizard/Devices",
                             QString("SELECT profile, last_used_method, last_used_drive_name, "
                                     "has_been_configured FROM device WHERE device_id = %1")
                                 .arg(id)});
    QVERIFY(sqlite.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed(),
             QString("1|2|%1|1").arg(stick));

    QByteArray idHex;
    for (int b = 0; b < 4; ++b)
        idHex += char((id >> (8 * b)) & 0xff);
    QTRY_VERIFY_WITH_TIMEOUT((m_announced += m_listener.readAllStandardOutput())
                                 .contains("Device/Change 12 01000000" + idHex.toHex()),
                             20000);

    const QByteArray base = "GET /hint/d9-WindowTransferWizard";
    QTRY_VERIFY_WITH_TIMEOUT(m_pings->requestLines().size() >= pingsBefore + 6, 20000);
    const QList<QByteArray> pings = m_pings->requestLines().mid(pingsBefore);
    for (const QByteArray& word :
         {QByteArray("DeviceTypeAndMedium-TV-USB"), QByteArray("TranscodeProfile-HomeTheater576"),
          QByteArray("FileExtension-mp4"), QByteArray("LastPage-FINISHPAGE")})
        QVERIFY2(pings.contains(base + word + " HTTP/1.1"), word.constData());
    QCOMPARE(pings.count(base + "FileExtension-avi HTTP/1.1"), 2);
}

void TestTransferUsb::refusedBeforeStart_data()
{
    QTest::addColumn<uint>("deviceId");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("reason");

    const QString stick = folder("stick");
    QTest::newRow("unknown destination") << 10002u << m_birthday << m_root.path() + "/nowhere"
                                         << QStringList{"-profile", "3"} << "is not a USB drive";
    QTest::newRow("no file exists") << 10002u << m_root.path() + "/none.avi" << stick
                                    << QStringList{"-profile", "3"} << "none of the files exists";
    QTest::newRow("no video among the files")
        << 10002u << m_root.path() + "/notes.avi" << stick << QStringList{"-profile", "3"}
        << "none of the files can be transferred";
    QTest::newRow("profile page would ask")
        << 10002u << m_birthday << stick << QStringList{} << "needs a transcode profile";
    QTest::newRow("not a profile code")
        << 10002u << m_birthday << stick << QStringList{"-profile", "2"}
        << "\"2\" is not a transcode profile";
}

void TestTransferUsb::refusedBeforeStart()
{
    QFETCH(uint, deviceId);
    QFETCH(QString, file);
    QFETCH(QString, destination);
    QFETCH(QStringList, extra);
    QFETCH(QString, reason);
    QFile notes(m_root.path() + "/notes.avi");
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a video");
    notes.close();
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", folder("stick").toStdString()));
    const QStringList before = QDir(folder("stick")).entryList(QDir::Files);

    const TransferRun::Result run =
        TransferRun::run(TransferRun::arguments(deviceId, {file}, destination, extra));
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.errors.contains(reason), qPrintable(run.errors));
    QCOMPARE(run.files.size(), 1);
    QCOMPARE(run.files[0][1], QString("not started"));
    QCOMPARE(QDir(folder("stick")).entryList(QDir::Files), before);
}

void TestTransferUsb::hugeFileToFat32_refusedBeforeStart()
{
    // A FAT32 stick of a fake mount table and sysfs tree, and a 5 GiB (sparse) video written as
    // it is (device 1000 burns files unchanged).
    FakeDriveTree tree(folder("fattree"));
    const QString stick = folder("fattree/media/STICK");
    tree.addMount("8:17", stick, "vfat", true);
    const QString huge = folder("videos") + "/huge.avi";
    QVERIFY(QFile::copy(m_birthday, huge));
    QVERIFY(QFile::resize(huge, qint64(5) << 30));
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", std::string()));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KAVO_MOUNTINFO", tree.mountInfo());
    env.insert("KAVO_SYSFS_ROOT", tree.sysfs());
    const TransferRun::Result run =
        TransferRun::run(TransferRun::arguments(1000, {huge}, stick), env);
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.errors.contains("huge.avi") && run.errors.contains("FAT32") &&
                 run.errors.contains("4 GB"),
             qPrintable(run.errors));
    QCOMPARE(run.file("huge.avi").value(1), QString("not started"));
    QVERIFY(QDir(stick).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QFile::remove(huge);
}

void TestTransferUsb::driveFillsDuringTransfer_failsNamingFileAndReason_data()
{
    // Either the converted video comes first and the drive is full for both, or the other
    // video arrives first and only the last one fails: both are failed transfers.
    QTest::addColumn<bool>("beachFirst");
    QTest::newRow("first file fails, the rest is not written") << true;
    QTest::newRow("last file fails, the others arrive") << false;
}

void TestTransferUsb::driveFillsDuringTransfer_failsNamingFileAndReason()
{
    QFETCH(bool, beachFirst);
    if (!TransferRun::canUnshareMounts())
        QSKIP("no private mount namespace with a tmpfs here");
    // A 2 MiB drive that another program fills while the first video is being converted: the
    // checks before the start pass, the copy runs out of space.
    const QString beach =
        clip("beach.mp4",
             {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}, 4);
    QVERIFY(!beach.isEmpty());
    const QString stick = folder(beachFirst ? "small" : "small2");
    const QString listing = stick + "-listing.txt";
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", stick.toStdString()));
    // Room left for the unconverted video (in 4 KiB pages) and a little more.
    const qint64 roomKiB = (QFileInfo(m_birthday).size() + 4095) / 4096 * 4 + 64;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DEST", stick);
    env.insert("TMPD", tempDir());
    env.insert("LISTING", listing);
    env.insert("FILL", beachFirst ? "" : QString("count=%1").arg(2048 - roomKiB));
    const QString script =
        "mount -t tmpfs -o size=2m tmpfs \"$DEST\" || exit 99\n"
        "( while ! compgen -G \"$TMPD\"/portavo-run-*/beach*.temp >/dev/null; do sleep 0.02; done\n"
        "  dd if=/dev/zero of=\"$DEST/filler\" bs=1k $FILL 2>/dev/null ) &\n"
        "watcher=$!\n"
        "\"$@\"; rc=$?\n"
        "kill $watcher 2>/dev/null; wait\n"
        "ls -A \"$DEST\" > \"$LISTING\"; exit $rc\n";
    const QByteArray sourceBefore = TestFiles::read(m_birthday);
    const QStringList order =
        beachFirst ? QStringList{beach, m_birthday} : QStringList{m_birthday, beach};
    const TransferRun::Result run = TransferRun::run(
        TransferRun::arguments(10002, order, stick, {"-profile", "3"}), env, script);
    QVERIFY2(run.exitCode == 1, qPrintable(run.output + run.errors));
    const QStringList failed = run.file("beach.mp4");
    QCOMPARE(failed.value(1), QString("failed"));
    QVERIFY2(failed.value(2).contains("No space left on device"), qPrintable(failed.value(2)));
    // The video taken as it is is copied while the other converts: it arrives unless the
    // other program filled the drive first.
    const QString birthday = run.file("birthday.avi").value(1);
    QVERIFY2(birthday == "arrived" || (beachFirst && birthday == "failed"), qPrintable(birthday));
    // Nothing else lost: the other program's file stays, no part file, the sources intact.
    QStringList left{"filler"};
    if (birthday == "arrived")
        left.prepend("birthday.avi");
    QCOMPARE(QString::fromUtf8(TestFiles::read(listing)).split('\n', Qt::SkipEmptyParts), left);
    QCOMPARE(TestFiles::read(m_birthday), sourceBefore);
    QVERIFY(QFileInfo(beach).size() > 0);
}

void TestTransferUsb::cancelMidCopy_leavesNoPartFile()
{
    const QString big = bigClip();
    QVERIFY(!big.isEmpty());
    const QString big2 = folder("videos") + "/big2.mkv";
    const QString big3 = folder("videos") + "/big3.mkv";
    QFile::remove(big2);
    QFile::remove(big3);
    QVERIFY(QFile::copy(big, big2) && QFile::copy(big, big3));
    const QString stick = folder("cancelstick");
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", stick.toStdString()));

    // Stop the program as soon as a part file shows; if it is still there, ask to cancel.
    bool signalled = false;
    const auto watch = [&](QProcess& process) {
        if (signalled || partFiles(stick).isEmpty())
            return;
        const pid_t pid = pid_t(process.processId());
        ::kill(pid, SIGSTOP);
        if (!partFiles(stick).isEmpty()) {
            ::kill(pid, SIGINT);
            signalled = true;
        }
        ::kill(pid, SIGCONT);
    };
    const TransferRun::Result run =
        TransferRun::run(TransferRun::arguments(10002, {big, big2, big3}, stick, {"-profile", "4"}),
                         QProcessEnvironment::systemEnvironment(), QString(), watch);
    if (!signalled)
        QSKIP("every copy ended before it could be interrupted");
    QVERIFY2(run.exitCode == 2, qPrintable(run.output + run.errors));
    QVERIFY(partFiles(stick).isEmpty());
    int cancelled = 0;
    for (const QStringList& line : run.files) {
        if (line[1] == "arrived")
            QCOMPARE(QFileInfo(line[2]).size(), QFileInfo(big).size());
        cancelled += line[1] == "cancelled";
    }
    QVERIFY(cancelled >= 1);
    // Only files that arrived are on the drive.
    QCOMPARE(QDir(stick).entryList(QDir::Files).size(), int(run.files.size()) - cancelled);
}

void TestTransferUsb::killedMidCopy_rerunDeliversTheFileWhole()
{
    // Two minutes of the big clip (about 270 MB), so the copy is under way for a while.
    const QString big = bigClip();
    QVERIFY(!big.isEmpty());
    TestClips clips(folder("videos"));
    const QString film =
        QFileInfo::exists(clips.path("film.mkv"))
            ? clips.path("film.mkv")
            : clips.make("film.mkv", {"-stream_loop", "9", "-i", big, "-c", "copy"});
    QVERIFY2(!film.isEmpty(), qPrintable(clips.lastError()));
    const QString stick = folder("killstick");
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", stick.toStdString()));
    // The user's own files in the folder, one of them another program's unfinished download.
    for (const char* name : {"notes.txt", "other.mkv.part"}) {
        QFile file(stick + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("theirs") == 6);
    }
    const QStringList arguments = TransferRun::arguments(10002, {film}, stick, {"-profile", "4"});

    // Killed outright once the part file has data in it.
    const auto ourParts = [&] {
        QStringList parts = partFiles(stick);
        parts.removeOne("other.mkv.part");
        return parts;
    };
    bool killed = false;
    const auto watch = [&](QProcess& process) {
        const QStringList parts = ourParts();
        if (killed || parts.isEmpty() || QFileInfo(stick + "/" + parts[0]).size() == 0)
            return;
        ::kill(pid_t(process.processId()), SIGKILL);
        killed = true;
    };
    TransferRun::run(arguments, QProcessEnvironment::systemEnvironment(), QString(), watch);
    if (!killed)
        QSKIP("the copy ended before it could be killed");
    const QStringList left = ourParts();
    QCOMPARE(left.size(), 1);
    QVERIFY(QFileInfo(stick + "/" + left[0]).size() < QFileInfo(film).size());

    const TransferRun::Result rerun = TransferRun::run(arguments);
    QVERIFY2(rerun.exitCode == 0, qPrintable(rerun.output + rerun.errors));
    QCOMPARE(rerun.file("film.mkv").value(1), QString("arrived"));
    QCOMPARE(QDir(stick).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList({"film.mkv", "notes.txt", "other.mkv.part"}));
    const auto digest = [](const QString& path) {
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result() : QByteArray();
    };
    QCOMPARE(digest(stick + "/film.mkv"), digest(film));
    for (const char* name : {"notes.txt", "other.mkv.part"})
        QCOMPARE(TestFiles::read(stick + "/" + name), QByteArray("theirs"));
}

void TestTransferUsb::driveRemovedMidTransfer_cancels()
{
    if (!TransferRun::canUnshareMounts())
        QSKIP("no private mount namespace with a tmpfs here");
    // A USB stick of the real mount table (a tmpfs made to look like a USB volume in a fake
    // sysfs tree), unmounted while the first video is being converted.
    const QString party =
        clip("party.mp4",
             {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}, 8);
    QVERIFY(!party.isEmpty());
    const QString stick = folder("removable");
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", std::string()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("STICK", stick);
    env.insert("TMPD", tempDir());
    env.insert("KAVO_SYSFS_ROOT", folder("removesys"));
    const QString script =
        "mount -t tmpfs -o size=64m tmpfs \"$STICK\" || exit 99\n"
        "mm=$(awk -v mp=\"$STICK\" '$5 == mp { print $3 }' /proc/self/mountinfo)\n"
        "dev=\"$KAVO_SYSFS_ROOT/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/block/sdz/sdz1\"\n"
        "mkdir -p \"$dev\" \"$KAVO_SYSFS_ROOT/dev/block\"\n"
        "ln -sfn \"$dev\" \"$KAVO_SYSFS_ROOT/dev/block/$mm\"\n"
        "( while ! compgen -G \"$TMPD\"/portavo-run-*/party*.temp >/dev/null; do sleep 0.02; done\n"
        "  umount -l \"$STICK\" ) &\n"
        "watcher=$!\n"
        "\"$@\"; rc=$?\n"
        "kill $watcher 2>/dev/null; wait; exit $rc\n";
    const TransferRun::Result run = TransferRun::run(
        TransferRun::arguments(10002, {party, m_birthday}, stick, {"-profile", "3"}), env, script);
    QVERIFY2(run.exitCode == 2, qPrintable(run.output + run.errors));
    QCOMPARE(run.file("party.mp4").value(1), QString("cancelled"));
    // The video taken as it is may have been copied, whole, while the other one converted.
    const QString birthday = run.file("birthday.avi").value(1);
    QVERIFY2(birthday == "cancelled" || birthday == "arrived", qPrintable(birthday));
}

QTEST_MAIN(TestTransferUsb)
#include "tst_transfer_usb.moc"
