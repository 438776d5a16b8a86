#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <vector>

#include "HttpRecorder.h"
#include "KavoMediaBurner.h"
#include "PingManager.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"
#include "TestClips.h"
#include "TestFiles.h"
#include "ToolRun.h"
#include "TransferDevice.h"
#include "TransferDevices.h"
#include "TransferPrompts.h"
#include "TransferSaveStep.h"
#include "TransferSession.h"
#include "USBDriveData.h"
#include "VideoFileTranscoder.h"

namespace {

// The rules of a run without a user: go on after a conversion error, and count the questions.
class CountingPrompts : public TransferPrompts
{
public:
    bool continueAfterConversionError(int, const QString&, bool) override
    {
        ++questions;
        return goOn;
    }
    int questions = 0;
    bool goOn = true;
};

std::unique_ptr<TransferDevicesLibrary::TransferDevice> storedDevice(uint id)
{
    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    return std::unique_ptr<TransferDevicesLibrary::TransferDevice>(library->GetDevice(id));
}

// Processes this one started that are still there (an engine worker not waited for).
int childProcesses()
{
    int children = 0;
    for (const QString& task :
         QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QByteArray& pid :
             TestFiles::read("/proc/self/task/" + task + "/children").split(' '))
            children += pid.trimmed().isEmpty() ? 0 : 1;
    }
    return children;
}

} // namespace

// The transfer core without a window: one session from Start to finished, with the real engine,
// the real copier and libburn writing an image file.
class TestTransferSession : public QObject
{
    Q_OBJECT

public:
    explicit TestTransferSession(const QString& root) : m_root(root) {}

private slots:
    void initTestCase();
    void usbTransfer_convertsCopiesAndRecordsNewDevice();
    void imageBurn_readBackByXorriso();
    void failedWrite_endsFailed_recordsNothing_data();
    void failedWrite_endsFailed_recordsNothing();
    void cancel_finishesOnce_data();
    void cancel_finishesOnce();
    void cancelDuringCopy_reportsCancelledNotArrived();
    void discNames_reportTheNamesUsed_data();
    void discNames_reportTheNamesUsed();
    void imagePathProblem_reachesTheUserWithItsReason_data();
    void imagePathProblem_reachesTheUserWithItsReason();
    void overlap_copiesEachConvertedFileWhileTheNextConverts();
    void overlap_cancel_leavesNoHalfFile_data();
    void overlap_cancel_leavesNoHalfFile();
    void overlap_conversionFailure_data();
    void overlap_conversionFailure();

private:
    // A fresh conversion queue holding these files, converted into the test's folder (or
    // where outputs says).
    bool queueConversions(const QStringList& files, const QStringList& outputs = {});
    // The session's reports in order: "start N", "end N", "converted N", "written N".
    void record(TransferSession& session, QStringList& log);
    // Every file on the stick is whole and exactly the arrived ones are there; no part file.
    void checkStick(const TransferSession& session, const QString& stick);
    // Runs a write step over files to its end and gives what became of them.
    QList<FileOutcome> save(const TransferDestination& destination, const QStringList& files,
                            std::atomic<bool>& cancelled);
    // The image burner of the setting "ImageBurners" set to medium:image.
    TransferDestination imageBurner(const QString& medium, const QString& image);
    // Runs the session to its end; the number of finished signals it gave.
    int run(TransferSession& session);
    TransferSession::Plan plan(const QStringList& sources, const QString& folder, uint device);

    QString m_root;
    std::unique_ptr<HttpRecorder> m_pings;
    VideoFileTranscoder m_transcoder;
    KavoMediaBurner m_burner;
    CountingPrompts m_prompts;
    QString m_fitting;
    QString m_convert;
    QString m_converted;
};

void TestTransferSession::initTestCase()
{
    m_pings = std::make_unique<HttpRecorder>();
    QVERIFY(WriteInstallSetting("TransferWizard", "UsageHost", m_pings->host().toStdString()));
    QVERIFY(m_transcoder.initEngine());
    QDir().mkpath(m_root + "/converted");
    m_converted = m_transcoder.useConversionFolder(m_root + "/converted");
    QVERIFY(!m_converted.isEmpty());
    m_burner.Initialize(3, false);
    m_fitting = TestClips(m_root + "/clips").fitting("fits.avi", 1);
    m_convert = TestClips(m_root + "/clips").converting("holiday.mp4");
    QVERIFY(!m_fitting.isEmpty() && !m_convert.isEmpty());
}

int TestTransferSession::run(TransferSession& session)
{
    QSignalSpy finished(&session, &TransferSession::finished);
    session.start();
    if (!finished.wait(120000))
        return 0;
    // Anything still queued would come now.
    QTest::qWait(50);
    return int(finished.size());
}

TransferSession::Plan TestTransferSession::plan(const QStringList& sources, const QString& folder,
                                                uint device)
{
    TransferSession::Plan p;
    p.device.deviceID = int(device);
    p.device.type = int(device) - 10000;
    p.profile = 3;
    p.sources = sources;
    p.destination.kind = TransferDestination::UsbDrive;
    p.destination.root = folder;
    p.destination.fileSystem = FS_OTHER;
    QDir().mkpath(folder);
    return p;
}

void TestTransferSession::usbTransfer_convertsCopiesAndRecordsNewDevice()
{
    // Analysed as the file page does: the H.264 clip gets a conversion, the other fits.
    for (const QString& file : {m_convert, m_fitting}) {
        VideoFileTranscoder::SourceList sources;
        quint32 seconds = 0;
        quint64 bytes = 0;
        bool needsConversion = true;
        const QString output =
            m_root + "/converted/" + QFileInfo(file).completeBaseName() + ".kavo";
        QCOMPARE(
            m_transcoder.analyzeFile(file, output, 3, sources, seconds, bytes, needsConversion), 0);
        QCOMPARE(needsConversion, file == m_convert);
        if (!needsConversion)
            m_transcoder.removeJob(file);
    }
    QTRY_COMPARE_WITH_TIMEOUT(pingManager()->pendingCount(), 0, 10000);
    const int pingsBefore = int(m_pings->requestLines().size());

    // A TV chosen by its type: no row in the device library yet.
    const uint device = 10002;
    QVERIFY(!storedDevice(device));
    const QString stick = m_root + "/stick";
    TransferSession session(plan({m_convert, m_fitting}, stick, device), m_transcoder, m_burner,
                            m_prompts);
    QSignalSpy converted(&session, &TransferSession::converted);
    QElapsedTimer wall;
    wall.start();
    QCOMPARE(run(session), 1);
    const qint64 wallMilliseconds = qMax<qint64>(1, wall.elapsed());

    const TransferResult& result = session.result();
    QCOMPARE(result.end, TransferResult::Completed);
    QCOMPARE(m_prompts.questions, 0);
    QCOMPARE(result.count(FileOutcome::Arrived), 2);
    QCOMPARE(converted.size(), 1);
    QCOMPARE(result.files[0].destination, stick + "/holiday.kavo");
    QVERIFY2(TestClips::probe(stick + "/holiday.kavo").startsWith("avi,mpeg4"),
             qPrintable(TestClips::probe(stick + "/holiday.kavo")));
    QCOMPARE(TestFiles::read(stick + "/fits.avi"), TestFiles::read(m_fitting));

    const auto stored = storedDevice(device);
    QVERIFY(stored && stored->HasBeenConfigured());
    QCOMPARE(stored->GetType(), 2u);
    QCOMPARE(stored->GetLastUsedMethod(), 2);
    QCOMPARE(stored->GetProfile(), 1u); // home theater
    QCOMPARE(QString::fromStdString(stored->GetLastDriveName()), stick);
    // The drive's rate comes from the copies' own time, which is shorter than the whole run:
    // copies of under a second each must not leave it unmeasured.
    const quint64 copied =
        quint64(QFileInfo(stick + "/holiday.kavo").size() + QFileInfo(stick + "/fits.avi").size());
    QVERIFY2(stored->GetDataRate() >= copied * 1000 / quint64(wallMilliseconds),
             qPrintable(QString::number(stored->GetDataRate())));

    // The end-of-transfer events, after the conversion's own.
    const QByteArray base = "GET /hint/d9-WindowTransferWizard";
    QList<QByteArray> lines;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            lines.clear();
            for (const QByteArray& line : m_pings->requestLines().mid(pingsBefore))
                if (line.startsWith(base))
                    lines << line;
            return lines.size() == 4;
        }(),
        10000);
    QCOMPARE(lines.at(0), base + "DeviceTypeAndMedium-TV-USB HTTP/1.1");
    QCOMPARE(lines.at(1), base + "TranscodeProfile-HomeTheater576 HTTP/1.1");
    QCOMPARE(lines.at(2), base + "FileExtension-mp4 HTTP/1.1");
    QCOMPARE(lines.at(3), base + "FileExtension-avi HTTP/1.1");
}

void TestTransferSession::imageBurn_readBackByXorriso()
{
    const QString image = m_root + "/disc.iso";
    QVERIFY(WriteSetting("TransferWizard", "ImageBurners", ("cd-r:" + image).toStdString()));
    std::vector<Drive> drives;
    QCOMPARE(m_burner.GetAvailableDrives(3, drives), quint32(KavoMediaBurner::Success));
    TransferSession::Plan p = plan({m_fitting}, m_root, 1000);
    p.writeAsIs = true;
    p.destination.kind = TransferDestination::Burner;
    p.destination.root = image;
    for (const Drive& drive : drives) {
        if (QString::fromStdU16String(drive.path()) == image)
            p.destination.drive = drive;
    }
    QVERIFY(!p.destination.drive.isEmpty());
    drives.clear();

    TransferSession session(p, m_transcoder, m_burner, m_prompts);
    QCOMPARE(run(session), 1);
    QCOMPARE(session.result().end, TransferResult::Completed);
    QCOMPARE(session.result().files[0].state, FileOutcome::Arrived);

    const QString out = m_root + "/readback";
    QVERIFY(ToolRun::extractImage(image, out).ok() || QFile::exists(out + "/fits.avi"));
    QCOMPARE(TestFiles::read(out + "/fits.avi"), TestFiles::read(m_fitting));
}

void TestTransferSession::failedWrite_endsFailed_recordsNothing_data()
{
    QTest::addColumn<bool>("toUSB");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disc: recorder gone") << false << "the recorder /dev/sr9 is not available";
    QTest::newRow("usb: a video vanished") << true << "the file was not found";
}

void TestTransferSession::failedWrite_endsFailed_recordsNothing()
{
    QFETCH(bool, toUSB);
    QFETCH(QString, reason);
    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> device(library->CreateDevice("Den"));
    QVERIFY(device);
    const uint id = device->GetDeviceId();

    QStringList sources{m_fitting, m_root + "/gone.avi"};
    const QString late = m_root + "/late.avi";
    if (toUSB) {
        // A file that cannot be read as a video fails alone: the one after it still arrives.
        QDir().mkpath(m_root + "/folder.avi");
        QFile::remove(late);
        QVERIFY(QFile::copy(m_fitting, late));
        sources << m_root + "/folder.avi" << late;
    }
    const QString stick = m_root + "/stick-" + QTest::currentDataTag();
    TransferSession::Plan p = plan(sources, stick, id);
    p.writeAsIs = true;
    if (!toUSB) {
        p.destination.kind = TransferDestination::Burner;
        p.destination.root = "/dev/sr9";
    }
    TransferSession session(p, m_transcoder, m_burner, m_prompts);
    QCOMPARE(run(session), 1);
    const TransferResult& result = session.result();
    QCOMPARE(result.end, TransferResult::Failed);
    QVERIFY2(result.failureText.contains(toUSB ? "gone.avi" : "fits.avi") &&
                 result.failureText.contains(reason),
             qPrintable(result.failureText));
    QCOMPARE(result.files[0].state, toUSB ? FileOutcome::Arrived : FileOutcome::Failed);
    QCOMPARE(result.files[1].state, toUSB ? FileOutcome::Failed : FileOutcome::NotWritten);
    if (toUSB) {
        QCOMPARE(result.files[2].state, FileOutcome::Failed);
        QCOMPARE(result.files[3].state, FileOutcome::Arrived);
        QCOMPARE(TestFiles::read(stick + "/late.avi"), TestFiles::read(late));
    }
    QCOMPARE(session.state(), int(TransferState::Stopped));
    const auto stored = storedDevice(id);
    QVERIFY(stored && !stored->HasBeenConfigured());
}

void TestTransferSession::cancel_finishesOnce_data()
{
    QTest::addColumn<int>("when");
    QTest::addColumn<int>("end");
    // Before the start, right after it (the copy may or may not have ended: either way the
    // result says what happened), and once the file is there. -1: either end.
    QTest::newRow("before start") << 0 << int(TransferResult::Cancelled);
    QTest::newRow("while copying") << 1 << -1;
    QTest::newRow("after the last file arrived") << 2 << int(TransferResult::Completed);
}

void TestTransferSession::cancel_finishesOnce()
{
    QFETCH(int, when);
    QFETCH(int, end);
    // Large enough that a copy is still under way right after the start.
    const QString big = m_root + "/big.avi";
    if (!QFile::exists(big)) {
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64(256) << 20));
    }
    const QString stick = m_root + "/cancel-" + QTest::currentDataTag();
    TransferSession::Plan p = plan({when == 2 ? m_fitting : big}, stick, 1000);
    p.writeAsIs = true;
    auto session = std::make_unique<TransferSession>(p, m_transcoder, m_burner, m_prompts);
    QSignalSpy finished(session.get(), &TransferSession::finished);
    if (when == 0) {
        session->cancel();
    } else {
        session->start();
        if (when == 2)
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(stick + "/fits.avi"), 60000);
        session->cancelAndWait();
    }
    QCOMPARE(finished.size(), 1);
    const TransferResult& result = session->result();
    if (end >= 0)
        QCOMPARE(int(result.end), end);
    // Nothing is left behind: no part file, and the file arrived whole or not at all.
    QCOMPARE(QDir(stick).entryList({"*.part"}, QDir::Files), QStringList());
    const bool arrived = result.files[0].state == FileOutcome::Arrived;
    QCOMPARE(arrived, result.end == TransferResult::Completed);
    QCOMPARE(QDir(stick).entryList(QDir::Files).size(), arrived ? 1 : 0);
    session.reset();
    QCoreApplication::processEvents();
    QCOMPARE(finished.size(), 1);
}

QList<FileOutcome> TestTransferSession::save(const TransferDestination& destination,
                                             const QStringList& files, std::atomic<bool>& cancelled)
{
    QList<TransferSaveStep::File> list;
    for (int i = 0; i < files.size(); ++i)
        list.append({i, files[i], files[i]});
    TransferSaveStep step(cancelled, m_burner, destination, list);
    QSignalSpy finished(&step, &TransferStep::finished);
    step.start();
    if (!finished.wait(120000))
        step.wait();
    return step.outcomes();
}

TransferDestination TestTransferSession::imageBurner(const QString& medium, const QString& image)
{
    TransferDestination destination;
    destination.kind = TransferDestination::Burner;
    destination.root = image;
    if (!WriteSetting("TransferWizard", "ImageBurners", (medium + ":" + image).toStdString()))
        return destination;
    std::vector<Drive> drives;
    m_burner.GetAvailableDrives(3, drives);
    for (const Drive& drive : drives) {
        if (QString::fromStdU16String(drive.path()) == image)
            destination.drive = drive;
    }
    return destination;
}

void TestTransferSession::cancelDuringCopy_reportsCancelledNotArrived()
{
    QStringList files;
    for (const char* name : {"one.avi", "two.avi"}) {
        QFile clip(m_root + "/cancelcopy/" + name);
        QDir().mkpath(m_root + "/cancelcopy");
        QVERIFY(clip.open(QIODevice::WriteOnly));
        clip.write(QByteArray(100000, 'v'));
        files << clip.fileName();
    }
    TransferDestination stick;
    stick.root = m_root + "/stick-cancelcopy";
    stick.fileSystem = FS_OTHER;
    QDir().mkpath(stick.root);
    // The user cancels as the first copy reports progress.
    std::atomic<bool> cancelled{false};
    QList<TransferSaveStep::File> list{{0, files[0], files[0]}, {1, files[1], files[1]}};
    TransferSaveStep step(cancelled, m_burner, stick, list);
    connect(
        &step, &TransferStep::progress, &step, [&]() { cancelled = true; }, Qt::DirectConnection);
    QSignalSpy finished(&step, &TransferStep::finished);
    step.start();
    QVERIFY(finished.wait(60000));
    const QList<FileOutcome> outcomes = step.outcomes();
    QCOMPARE(outcomes.size(), 2);
    QCOMPARE(outcomes[0].state, FileOutcome::Cancelled);
    QVERIFY(outcomes[0].destination.isEmpty());
    QCOMPARE(outcomes[1].state, FileOutcome::NotWritten);
    QVERIFY(QDir(stick.root).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestTransferSession::discNames_reportTheNamesUsed_data()
{
    QTest::addColumn<QString>("medium");
    QTest::newRow("CD image") << "cd-r";
    QTest::newRow("DVD image") << "dvd+r";
}

void TestTransferSession::discNames_reportTheNamesUsed()
{
    // A backslash is part of a Linux file name; twins by case and by name are renamed on the
    // disc, and the outcome says so.
    QFETCH(QString, medium);
    const QString image = m_root + "/names-" + medium + ".iso";
    const TransferDestination burner = imageBurner(medium, image);
    QVERIFY(!burner.drive.isEmpty());
    QStringList files;
    for (const char* path : {"a/back\\slash.avi", "b/Clip.avi", "c/clip.avi"}) {
        QDir().mkpath(m_root + "/names/" + QFileInfo(path).path());
        QFile clip(m_root + "/names/" + path);
        QVERIFY(clip.open(QIODevice::WriteOnly));
        clip.write(path);
        files << clip.fileName();
    }
    std::atomic<bool> cancelled{false};
    QStringList arrived;
    for (const FileOutcome& outcome : save(burner, files, cancelled)) {
        QCOMPARE(outcome.state, FileOutcome::Arrived);
        arrived << outcome.destination;
    }
    const QStringList names{"back\\slash.avi", "Clip.avi", "clip (2).avi"};
    QCOMPARE(arrived,
             QStringList({image + "/" + names[0], image + "/" + names[1], image + "/" + names[2]}));

    // What a reader we did not write finds: Rock Ridge on the CD, UDF on the DVD.
    const QString out = m_root + "/names-out-" + medium;
    QVERIFY(medium == "cd-r" ? ToolRun::extractImage(image, out).ok()
                             : ToolRun::run("7z", {"x", "-tudf", "-y", "-o" + out, image}).ok());
    QStringList found = QDir(out).entryList(QDir::Files);
    QStringList expected = names;
    found.sort();
    expected.sort();
    QCOMPARE(found, expected);
}

void TestTransferSession::imagePathProblem_reachesTheUserWithItsReason_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("reason"); // %1: the image's folder
    QTest::newRow("folder removed") << "gone"
                                    << "the folder %1 does not exist";
    QTest::newRow("folder made read-only")
        << "readonly"
        << "the folder %1 is not writable: Read-only file system";
}

void TestTransferSession::imagePathProblem_reachesTheUserWithItsReason()
{
    QFETCH(QString, problem);
    const QString folder = m_root + "/images-" + problem;
    QDir().mkpath(folder);
    const QString image = folder + "/disc.iso";
    QFETCH(QString, reason);
    reason = reason.arg(folder);
    const TransferDestination burner = imageBurner("dvd+r", image);
    QVERIFY(!burner.drive.isEmpty());
    std::u16string found;
    QCOMPARE(m_burner.SetCurrentDrive(burner.drive), quint32(KavoMediaBurner::Success));
    QCOMPARE(m_burner.GetWriteProblem(found), quint32(KavoMediaBurner::Success));
    QVERIFY(found.empty());

    // The folder goes, or turns read-only, after the drives were listed: the write fails
    // saying why.
    const QByteArray path = QFile::encodeName(folder);
    if (problem == "gone") {
        QVERIFY(QDir(folder).removeRecursively());
    } else {
        // A read-only mount of the folder over itself, in a mount namespace of this process.
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            QSKIP("needs root to mount in a private mount namespace");
        QVERIFY(::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0);
        QVERIFY(::mount(nullptr, path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                        nullptr) == 0);
    }
    std::atomic<bool> cancelled{false};
    const QList<FileOutcome> outcomes = save(burner, {m_fitting}, cancelled);
    QCOMPARE(outcomes.size(), 1);
    QCOMPARE(outcomes[0].state, FileOutcome::Failed);
    QCOMPARE(outcomes[0].reason, reason);

    // Asked again, as the file page does before Start, the recorder names the same reason.
    QCOMPARE(m_burner.SetCurrentDrive(burner.drive), quint32(KavoMediaBurner::Success));
    QCOMPARE(m_burner.GetWriteProblem(found), quint32(KavoMediaBurner::Success));
    QCOMPARE(QString::fromStdU16String(found), reason);
    m_burner.SetCurrentDrive(Drive());
    if (problem == "readonly")
        QVERIFY(::umount(path.constData()) == 0);
}

bool TestTransferSession::queueConversions(const QStringList& files, const QStringList& outputs)
{
    if (!m_transcoder.initEngine())
        return false;
    for (int i = 0; i < files.size(); ++i) {
        VideoFileTranscoder::SourceList sources;
        quint32 seconds = 0;
        quint64 bytes = 0;
        bool needsConversion = true;
        const QString output =
            i < outputs.size()
                ? outputs[i]
                : m_converted + "/" + QFileInfo(files[i]).completeBaseName() + ".kavo";
        if (m_transcoder.analyzeFile(files[i], output, 3, sources, seconds, bytes,
                                     needsConversion) != 0 ||
            !needsConversion)
            return false;
    }
    return true;
}

void TestTransferSession::record(TransferSession& session, QStringList& log)
{
    const QStringList sources = session.plan().sources;
    connect(&session, &TransferSession::fileStarted,
            [&log](int row) { log << QString("start %1").arg(row); });
    connect(&session, &TransferSession::fileEnded,
            [&log](const FileOutcome& o) { log << QString("end %1").arg(o.index); });
    connect(&session, &TransferSession::converted, [&log, sources](const QString& source) {
        log << QString("converted %1").arg(sources.indexOf(source));
    });
    connect(&session, &TransferSession::writeStarted,
            [&log](int files) { log << QString("written %1").arg(files); });
}

void TestTransferSession::checkStick(const TransferSession& session, const QString& stick)
{
    QCOMPARE(QDir(stick).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
    int arrived = 0;
    for (const FileOutcome& outcome : session.result().files) {
        if (outcome.state != FileOutcome::Arrived)
            continue;
        ++arrived;
        TranscodeJob job;
        const QString written =
            m_transcoder.findJob(outcome.source, job) ? job.outputPath : outcome.source;
        QVERIFY2(TestFiles::read(outcome.destination) == TestFiles::read(written),
                 qPrintable(outcome.destination));
    }
    QCOMPARE(QDir(stick).entryList(QDir::Files).size(), arrived);
}

void TestTransferSession::overlap_copiesEachConvertedFileWhileTheNextConverts()
{
    // Two conversions, the second long enough to be running while the first is copied, and a
    // file taken as it is.
    const QString first = TestClips(m_root + "/clips").converting("first.mp4");
    const QString second = TestClips(m_root + "/clips").converting("second.mp4", 320, 240, 4);
    QVERIFY(queueConversions({first, second}));
    const QString stick = m_root + "/stick-overlap";
    TransferSession session(plan({first, second, m_fitting}, stick, 1000), m_transcoder, m_burner,
                            m_prompts);
    QStringList log;
    record(session, log);
    QCOMPARE(run(session), 1);
    QCOMPARE(session.result().end, TransferResult::Completed);
    QCOMPARE(session.result().count(FileOutcome::Arrived), 3);
    const auto at = [&](const char* event) { return log.indexOf(event); };
    const QByteArray seen = log.join(", ").toUtf8();
    // The file taken as it is goes at once; each converted file once it is complete, the
    // first while the second still converts; the write as the user sees it follows the
    // conversions.
    QVERIFY2(at("start 2") >= 0 && at("start 2") < at("converted 0"), seen);
    QVERIFY2(at("converted 0") >= 0 && at("converted 0") < at("start 0"), seen);
    QVERIFY2(at("start 0") < at("converted 1"), seen);
    QVERIFY2(at("converted 1") < at("start 1"), seen);
    QVERIFY2(at("converted 1") < at("written 3"), seen);
    checkStick(session, stick);
    QVERIFY2(TestClips::probe(stick + "/second.kavo").startsWith("avi,mpeg4"),
             qPrintable(TestClips::probe(stick + "/second.kavo")));
}

void TestTransferSession::overlap_cancel_leavesNoHalfFile_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("wait");
    QTest::newRow("copying the file taken as it is") << 2 << false;
    QTest::newRow("copying the first converted file") << 0 << false;
    QTest::newRow("window closed while the first converted file copies") << 0 << true;
}

void TestTransferSession::overlap_cancel_leavesNoHalfFile()
{
    QFETCH(int, row);
    QFETCH(bool, wait);
    const QString big = m_root + "/overlap-big.avi";
    if (!QFile::exists(big)) {
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray block(1 << 20, 'b');
        for (int i = 0; i < 96; ++i)
            f.write(block);
    }
    const QString first = TestClips(m_root + "/clips").converting("cancel-first.mp4");
    const QString second =
        TestClips(m_root + "/clips").converting("cancel-second.mp4", 320, 240, 4);
    QVERIFY(queueConversions({first, second}));
    static int round = 0;
    const QString stick = m_root + "/stick-overlap-cancel-" + QString::number(++round);
    auto session = std::make_unique<TransferSession>(plan({first, second, big}, stick, 1000),
                                                     m_transcoder, m_burner, m_prompts);
    TransferSession* s = session.get();
    bool asked = false;
    connect(s, &TransferSession::fileStarted, s, [&, s](int index) {
        if (index == row && !asked) {
            asked = true;
            if (!wait)
                s->cancel();
        }
    });
    QSignalSpy finished(s, &TransferSession::finished);
    s->start();
    if (wait) {
        QTRY_VERIFY_WITH_TIMEOUT(asked, 120000);
        s->cancelAndWait();
    } else {
        QVERIFY(finished.wait(120000));
    }
    QCOMPARE(finished.size(), 1);
    QCOMPARE(s->result().end, TransferResult::Cancelled);
    QVERIFY(s->result().files[1].state != FileOutcome::Arrived);
    checkStick(*s, stick);
    // The conversion that was stopped left nothing behind either.
    QCOMPARE(QDir(m_converted).entryList({"cancel-second*"}, QDir::Files), QStringList());
    QCOMPARE(childProcesses(), 0);
    session.reset();
    QCoreApplication::processEvents();
    QCOMPARE(finished.size(), 1);
}

void TestTransferSession::overlap_conversionFailure_data()
{
    QTest::addColumn<bool>("goOn");
    QTest::newRow("go on with the others") << true;
    QTest::newRow("stop") << false;
}

void TestTransferSession::overlap_conversionFailure()
{
    // The second conversion cannot write its output; the first is copied meanwhile.
    QFETCH(bool, goOn);
    const QString first = TestClips(m_root + "/clips").converting("fail-first.mp4");
    const QString broken = TestClips(m_root + "/clips").converting("fail-second.mp4");
    QVERIFY(queueConversions({first, broken},
                             {m_converted + "/fail-first.kavo", m_root + "/no/such/dir/x.kavo"}));
    const QString stick = m_root + "/stick-overlap-fail-" + QString::number(goOn);
    m_prompts.questions = 0;
    m_prompts.goOn = goOn;
    TransferSession session(plan({first, broken, m_fitting}, stick, 1000), m_transcoder, m_burner,
                            m_prompts);
    QCOMPARE(run(session), 1);
    m_prompts.goOn = true;
    const TransferResult& result = session.result();
    QCOMPARE(m_prompts.questions, 1);
    QCOMPARE(result.files[1].state, FileOutcome::Failed);
    QVERIFY(result.files[1].conversionFailed);
    if (goOn) {
        QCOMPARE(result.end, TransferResult::Completed);
        QCOMPARE(result.files[0].state, FileOutcome::Arrived);
        QCOMPARE(result.files[2].state, FileOutcome::Arrived);
    } else {
        QCOMPARE(result.end, TransferResult::Stopped);
    }
    checkStick(session, stick);
    QCOMPARE(childProcesses(), 0);
}

int main(int argc, char** argv)
{
    return PrivateEnvironment::exec<QCoreApplication, TestTransferSession>(argc, argv);
}

#include "tst_transfer_session.moc"
