#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

#include "PrivateEnvironment.h"
#include "TestClips.h"
#include "TransferState.h"
#include "TransferWizardController.h"

namespace {

struct Results
{
    QList<TranscodeEstimate> estimates;
    QStringList outputPaths;
    QList<SourceMediaList> sources;
    QStringList directFiles;
    QList<int> codes;
};

bool fetch(TransferWizardController& c, Results& r)
{
    return c.getAnalysisResults(r.estimates, r.outputPaths, r.sources, r.directFiles, r.codes);
}

// KavoEngine workers this process started that are still alive.
int runningWorkers()
{
    int count = 0;
    const QString me = QString::number(getpid());
    QDirIterator it("/proc", QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString dir = it.next();
        QFile stat(dir + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString line = QString::fromLocal8Bit(stat.readAll());
        const int close = int(line.lastIndexOf(')'));
        const QStringList rest = line.mid(close + 2).split(' ');
        const QString comm = line.mid(line.indexOf('(') + 1, close - line.indexOf('(') - 1);
        if (rest.size() > 1 && rest[1] == me && comm == "KavoEngine" && rest[0] != "Z")
            ++count;
    }
    return count;
}

// A folder as a USB drive, made if needed.
USBDriveData folderDrive(const QString& folder)
{
    QDir().mkpath(folder);
    USBDriveData drive;
    drive.root = folder.toStdU16String();
    drive.fileSystem = FS_OTHER;
    return drive;
}

} // namespace

// The controller's file queue and conversion step with the real engine and worker.
class TestQueueController : public QObject
{
    Q_OBJECT

public:
    explicit TestQueueController(const QString& root) : m_root(root) {}

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void startAnalysis_refusesEmptyAndBusy();
    void analysis_results_data();
    void analysis_results();
    void sameBaseName_getsUniqueOutputs();
    void conversion_convertsQueuedFiles();
    void conversion_cancel_stopsWorkerAndLeavesNoOutput();

private:
    QString clip(const QString& name) const { return m_root + "/clips/" + name; }
    bool analyse(const QStringList& files, int profile, Results& r);

    QString m_root;
    std::unique_ptr<TransferWizardController> m_controller;
};

void TestQueueController::initTestCase()
{
    const QString dir = m_root + "/clips";
    QVERIFY(QDir(dir).mkpath("a") && QDir(dir).mkpath("b"));
    QVERIFY(!TestClips(dir).fitting("fit.avi").isEmpty());
    QVERIFY(!TestClips(dir).converting("convert.mp4").isEmpty());
    QVERIFY(!TestClips(dir).converting("second.mkv").isEmpty());
    QVERIFY(!TestClips(dir).converting("a.b.avi").isEmpty());
    QVERIFY(!TestClips(dir + "/a").converting("clip.avi").isEmpty());
    QVERIFY(!TestClips(dir + "/b").converting("clip.avi").isEmpty());
    QVERIFY(!TestClips(dir).converting("long.mp4", 1280, 720, 20).isEmpty());

    m_controller = std::make_unique<TransferWizardController>();
    QVERIFY(m_controller->transcoder()->isEngineReady());
    // Only the controller is under test here; the dialog's transfer page stays out of it.
    QObject::disconnect(m_controller->transcoder(), nullptr, m_controller->dialog(), nullptr);
}

void TestQueueController::init()
{
    QVERIFY(m_controller->waitForWorker(60000));
    m_controller->transcoder()->initEngine();
    m_controller->setTransferState(TransferState::Idle);
}

void TestQueueController::cleanupTestCase()
{
    m_controller.reset();
}

bool TestQueueController::analyse(const QStringList& files, int profile, Results& r)
{
    if (!m_controller->startAnalysis(files, profile))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!fetch(*m_controller, r)) {
        if (clock.elapsed() > 120000)
            return false;
        QTest::qWait(20);
    }
    return true;
}

void TestQueueController::startAnalysis_refusesEmptyAndBusy()
{
    QVERIFY(!m_controller->startAnalysis({}, 0));
    QSignalSpy items(m_controller.get(), &TransferWizardController::analyzeItem);
    const QStringList files = {clip("convert.mp4"), clip("second.mkv"), clip("a.b.avi")};
    QVERIFY(m_controller->startAnalysis(files, 0));
    QVERIFY(!m_controller->startAnalysis(files, 0));
    Results r;
    QTRY_VERIFY_WITH_TIMEOUT(fetch(*m_controller, r), 120000);
    QCOMPARE(r.codes, QList<int>({0, 0, 0}));
    QCOMPARE(items.count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(items.at(i).at(0).toInt(), i);
        QCOMPARE(items.at(i).at(1).toInt(), 3);
    }
}

void TestQueueController::analysis_results_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<QString>("extension");
    QTest::newRow("mobile") << 0 << ".kavo";
    QTest::newRow("Plus HD") << 4 << ".mkv";
}

void TestQueueController::analysis_results()
{
    QFETCH(int, profile);
    QFETCH(QString, extension);
    // A file that vanishes between adding and analysing.
    const QString gone = clip("gone.avi");
    QFile::remove(gone);
    const QStringList files = {clip("fit.avi"), clip("convert.mp4"), clip("a.b.avi"), gone};
    Results r;
    QVERIFY(analyse(files, profile, r));
    QCOMPARE(r.codes, QList<int>({0, 0, 0, 0}));
    const QString temp = TransferWizardController::tempDir().absolutePath();
    QCOMPARE(r.outputPaths[0], temp + "/fit" + extension);
    QCOMPARE(r.outputPaths[1], temp + "/convert" + extension);
    QCOMPARE(r.outputPaths[2], temp + "/a.b" + extension);
    QCOMPARE(r.outputPaths[3], QString());

    TranscodeJob job;
    QVERIFY(m_controller->findQueuedFile(clip("convert.mp4"), job));
    QCOMPARE(job.outputPath, r.outputPaths[1]);
    QVERIFY(r.estimates[1].transcodeTime >= 1);
    QVERIFY(r.estimates[1].outputSize > 0);
    QVERIFY(!m_controller->findQueuedFile(gone, job));
    QCOMPARE(r.estimates[3].transcodeTime, 0u);
    QCOMPARE(r.estimates[3].outputSize, 0ull);
    QCOMPARE(int(r.sources[3].size()), 1);

    if (profile == 0) {
        // Plays on the device as it is: written unchanged, through one pass-through source.
        QCOMPARE(r.directFiles, QStringList{clip("fit.avi")});
        QVERIFY(!m_controller->findQueuedFile(clip("fit.avi"), job));
        QCOMPARE(r.estimates[0].transcodeTime, 0u);
        QCOMPARE(int(r.sources[0].size()), 1);
        uint64_t bytes = 0;
        QCOMPARE(r.sources[0].front()->GetFileSize(bytes), 0);
        QCOMPARE(qint64(bytes), QFileInfo(clip("fit.avi")).size());
        QCOMPARE(m_controller->transcoder()->queueLength(), 2);
    } else {
        QVERIFY(r.directFiles.isEmpty());
        QCOMPARE(m_controller->transcoder()->queueLength(), 3);
    }
}

void TestQueueController::sameBaseName_getsUniqueOutputs()
{
    const QString temp = TransferWizardController::tempDir().absolutePath();
    Results r;
    QVERIFY(analyse({clip("a/clip.avi"), clip("b/clip.avi")}, 0, r));
    QCOMPARE(r.outputPaths, QStringList({temp + "/clip.kavo", temp + "/clip (2).kavo"}));
    // Analysed again on its own (the profile changed), a file keeps its name and does not take
    // the other one's.
    QVERIFY(analyse({clip("b/clip.avi")}, 3, r));
    QCOMPARE(r.outputPaths, QStringList({temp + "/clip (2).kavo"}));
    QCOMPARE(m_controller->transcoder()->queueLength(), 2);
}

void TestQueueController::conversion_convertsQueuedFiles()
{
    Results r;
    const QStringList files = {clip("convert.mp4"), clip("fit.avi"), clip("second.mkv")};
    QVERIFY(analyse(files, 0, r));
    for (const QString& out : r.outputPaths)
        QFile::remove(out);
    VideoFileTranscoder* tc = m_controller->transcoder();
    QSignalSpy progress(tc, &VideoFileTranscoder::transcoderProgress);
    QSignalSpy done(tc, &VideoFileTranscoder::transcoderDone);
    QSignalSpy fatal(tc, &VideoFileTranscoder::transcoderFatalError);
    QSignalSpy all(tc, &VideoFileTranscoder::transcoderAllFinished);
    QSignalSpy finished(m_controller.get(), &TransferWizardController::transferFinished);
    const QString stick = m_root + "/stick";
    QCOMPARE(m_controller->startTransfer(files, folderDrive(stick), true, false), 2);
    QCOMPARE(m_controller->transferState(), int(TransferState::Transcoding));
    QVERIFY(!m_controller->waitForWorker(0));
    QTRY_COMPARE_WITH_TIMEOUT(all.count(), 1, 180000);
    // Then the copy: the converted files and the one that fits as it is.
    // The copy of small files may end while the conversions are awaited: count, not wait.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
    QCOMPARE(m_controller->session()->result().end, TransferResult::Completed);
    QCOMPARE(QDir(stick).entryList(QDir::Files),
             (QStringList{"convert.kavo", "fit.avi", "second.kavo"}));
    QCOMPARE(fatal.count(), 0);
    QCOMPARE(done.count(), 2);
    QCOMPARE(done.at(0).at(0).toString(), clip("convert.mp4"));
    QCOMPARE(done.at(1).at(0).toString(), clip("second.mkv"));
    QVERIFY(progress.count() >= 2);
    for (const QList<QVariant>& p : progress) {
        QVERIFY(p.at(0).toULongLong() <= p.at(1).toULongLong());
        QCOMPARE(p.at(1).toULongLong(), 100000ull);
        QVERIFY(p.at(2).toUInt() >= 1);
    }
    QVERIFY(m_controller->waitForWorker(0));
    for (int i : {0, 2}) {
        // Read back and decoded: an MPEG-4 AVI with frames in it.
        const QStringList read = TestClips::probe(r.outputPaths[i]).split(',');
        QCOMPARE(read.size(), 3);
        QCOMPARE(read[0], QStringLiteral("avi"));
        QCOMPARE(read[1], QStringLiteral("mpeg4"));
        QVERIFY(read[2].toInt() > 0);
        QVERIFY(!QFileInfo::exists(r.outputPaths[i] + ".temp"));
    }
    QVERIFY(!QFileInfo::exists(r.outputPaths[1]));
}

void TestQueueController::conversion_cancel_stopsWorkerAndLeavesNoOutput()
{
    Results r;
    QVERIFY(analyse({clip("long.mp4")}, 3, r));
    const QString out = r.outputPaths.value(0);
    QVERIFY(!out.isEmpty());
    QFile::remove(out);
    VideoFileTranscoder* tc = m_controller->transcoder();
    QSignalSpy progress(tc, &VideoFileTranscoder::transcoderProgress);
    QSignalSpy done(tc, &VideoFileTranscoder::transcoderDone);
    QSignalSpy cancel(tc, &VideoFileTranscoder::transcoderCancel);
    QSignalSpy all(tc, &VideoFileTranscoder::transcoderAllFinished);
    QCOMPARE(m_controller->startTransfer({clip("long.mp4")}, folderDrive(m_root + "/stick2"), true,
                                         false),
             1);
    QTRY_VERIFY_WITH_TIMEOUT(progress.count() >= 1, 60000);
    QCOMPARE(runningWorkers(), 1);
    m_controller->cancelTransfer();
    QTRY_COMPARE_WITH_TIMEOUT(cancel.count(), 1, 30000);
    // The copy waiting beside the conversion ends on its own thread, after the converter's word.
    QTRY_COMPARE_WITH_TIMEOUT(m_controller->transferState(), int(TransferState::Stopped), 10000);
    QVERIFY(m_controller->waitForWorker(0));
    QTRY_COMPARE_WITH_TIMEOUT(runningWorkers(), 0, 10000);
    QTest::qWait(200);
    QCOMPARE(done.count(), 0);
    QCOMPARE(all.count(), 0);
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(!QFileInfo::exists(out + ".temp"));
}

int main(int argc, char** argv)
{
    return PrivateEnvironment::exec<QApplication, TestQueueController>(argc, argv);
}

#include "tst_queue_controller.moc"
