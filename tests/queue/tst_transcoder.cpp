#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ConversionReason.h"
#include "EngineSpeedCalibration.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"
#include "TestClips.h"
#include "TranscodeEnums.h"
#include "TranscodeEstimator.h"
#include "VideoFileTranscoder.h"

namespace {

// One call of analyzeFile with everything it hands back.
struct Analysis
{
    int code = -1;
    VideoFileTranscoder::SourceList sources;
    quint32 time = 0;
    quint64 size = 0;
    bool needsConversion = true;
};

Analysis analyse(VideoFileTranscoder& tc, const QString& file, const QString& output, int profile)
{
    Analysis a;
    a.code = tc.analyzeFile(file, output, profile, a.sources, a.time, a.size, a.needsConversion);
    return a;
}

} // namespace

// The converter against the real engine: analysis, the job queue, the slots' signals, and a
// conversion that cannot start.
class TestTranscoder : public QObject
{
    Q_OBJECT

public:
    explicit TestTranscoder(const QString& root) : m_root(root) {}

private slots:
    void initTestCase();
    void initEngine_findsWorkerBesideProgram();
    void initEngine_installDirWithoutEngine_fails();
    void analyzeFile_beforeEngine_refuses();
    void analyzeFile_data();
    void analyzeFile();
    void queueLookups_ignoreCase_andRemove();
    void reanalysis_replacesJob();
    void uniqueOutputPath_data();
    void uniqueOutputPath();
    void emptyQueue_onlyAllFinished();
    void progress_scaledAndTimeAtLeastOne();
    void cancelled_suppressesLateSignals();
    void cancelWithNothingRunning_reportsCancel();
    void failedStart_reportedAsFatalError_andQueueGoesOn();
    void logging_defaultsToMoviesFolder();
    void conversionFolder_clearedForNextRun_removedAtEnd();
    void speedFactor_data();
    void speedFactor();
    void speedCalibration_storedAndUsedByTheNextAnalysis();

private:
    QString clip(const QString& name) const { return m_root + "/clips/" + name; }

    QString m_root;
};

void TestTranscoder::conversionFolder_clearedForNextRun_removedAtEnd()
{
    QTemporaryDir base;
    QString folder;
    {
        VideoFileTranscoder transcoder;
        folder = transcoder.useConversionFolder(base.path());
        QVERIFY(folder.startsWith(base.path() + "/portavo-run-"));
        QCOMPARE(transcoder.useConversionFolder(base.path()), folder);
        // The user's alone, as the temporary folder it lies in.
        QCOMPARE(int(QFileInfo(folder).permissions() & 0x0777),
                 int(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser));
        const auto put = [&folder](const QString& name) {
            QFile file(folder + "/" + name);
            return file.open(QIODevice::WriteOnly) && file.write("converted") > 0;
        };
        QVERIFY(put("first run.kavo"));
        QVERIFY(QDir(folder + "/sub").mkpath("."));
        // The wizard restarts for another transfer: the last one's files go, the folder stays.
        transcoder.initEngine();
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"run.lock"});
        QVERIFY(put("second run.mkv"));
        // Another run in the same folder is alive: its folder is not a leftover.
        QCOMPARE(ConversionFolder::removeLeftovers(base.path()), 0);
    }
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(QDir(base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestTranscoder::speedFactor_data()
{
    QTest::addColumn<double>("percent");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<double>("estimate");
    QTest::addColumn<double>("used");
    QTest::addColumn<double>("factor");
    QTest::newRow("twice as fast") << 50.0 << qint64(10000) << 40.0 << 1.0 << 0.5;
    QTest::newRow("estimate made with a factor") << 50.0 << qint64(10000) << 40.0 << 2.0 << 1.0;
    QTest::newRow("done in a tenth") << 100.0 << qint64(2000) << 20.0 << 1.0 << 0.1;
    QTest::newRow("slower than thought") << 10.0 << qint64(6000) << 20.0 << 1.0 << 3.0;
    QTest::newRow("no progress keeps the factor") << 0.0 << qint64(6000) << 20.0 << 1.5 << 1.5;
}

void TestTranscoder::speedFactor()
{
    QFETCH(double, percent);
    QFETCH(qint64, elapsedMs);
    QFETCH(double, estimate);
    QFETCH(double, used);
    QFETCH(double, factor);
    QCOMPARE(EngineSpeedCalibration::factorFor(percent, elapsedMs, estimate, used), factor);
}

// The first seconds of the first conversion set the engine's speed on this machine; it is kept
// in the settings and the next analysis estimates with it.
void TestTranscoder::speedCalibration_storedAndUsedByTheNextAnalysis()
{
    kvt::TranscodeEstimator::setSpeedFactor(1.0);
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    const Analysis plain = analyse(tc, clip("convert.mp4"), m_root + "/cache/a.kavo", 0);
    QCOMPARE(plain.code, 0);
    // Why it is converted for the mobile profile: the first misfit is MP4, not the profile's AVI.
    int32_t reason = 0;
    std::string details;
    QCOMPARE(plain.sources.front()->GetConversionReason(0, reason, details), int32_t(0));
    QCOMPARE(reason, int32_t(kvt::CR_CONTAINER));
    QVERIFY(!details.empty());

    EngineSpeedCalibration calibration;
    QVERIFY(!calibration.sample(50.0, 1000, 10.0, 1.0));    // too early to judge
    QVERIFY(!calibration.sample(1.0, 10000, 10.0, 1.0));    // too little done
    QVERIFY(calibration.sample(10.0, 20000, 10.0, 1.0));    // 200 s for 10 s: slower than the table
    QVERIFY(!calibration.sample(50.0, 1000, 10.0, 1.0));    // one measurement a run
    QCOMPARE(kvt::TranscodeEstimator::speedFactor(), 20.0); // kept within its bounds

    kvt::TranscodeEstimator::setSpeedFactor(1.0);
    QVERIFY(tc.initEngine()); // a new run reads the stored factor
    QCOMPARE(kvt::TranscodeEstimator::speedFactor(), 20.0);
    const Analysis slow = analyse(tc, clip("convert.mp4"), m_root + "/cache/b.kavo", 0);
    QCOMPARE(slow.code, 0);
    QVERIFY2(slow.time >= 3 * plain.time,
             qPrintable(QString("%1 %2").arg(slow.time).arg(plain.time)));
    QVERIFY(DeleteSetting(std::string("TransferWizard"), std::string("EngineSpeedFactor")));
    kvt::TranscodeEstimator::setSpeedFactor(1.0);
}

void TestTranscoder::initTestCase()
{
    const QString dir = m_root + "/clips";
    QVERIFY(!TestClips(dir).fitting("fit.avi").isEmpty());
    QVERIFY(!TestClips(dir).converting("convert.mp4").isEmpty());
    QVERIFY(!TestClips(dir).damaged("damaged.avi").isEmpty());
}

void TestTranscoder::initEngine_findsWorkerBesideProgram()
{
    VideoFileTranscoder tc;
    QVERIFY(!tc.isEngineReady());
    QVERIFY(tc.initEngine());
    QVERIFY(tc.isEngineReady());
    QVERIFY(!tc.engineText().empty());
    const VideoFileTranscoder::FileTypeMap types = tc.engineFileTypes();
    QVERIFY(types.size() >= 2);
    // The dialog reads the first entry as the list of every type it may offer.
    const QStringList all = QString::fromStdString(types.begin()->second).split(' ');
    for (const char* p : {"*.avi", "*.mp4", "*.mkv"})
        QVERIFY2(all.contains(p), p);
    for (const auto& entry : types) {
        for (const QString& p : QString::fromStdString(entry.second).split(' '))
            QVERIFY2(all.contains(p), qPrintable(QString::fromStdString(entry.first) + ": " + p));
    }
    // A second start keeps the engine and only empties the queue.
    QVERIFY(tc.initEngine());
}

void TestTranscoder::initEngine_installDirWithoutEngine_fails()
{
    QTemporaryDir empty;
    QVERIFY(WriteInstallSetting("TranscodeEngine", "InstallDir", empty.path().toStdString()));
    {
        VideoFileTranscoder tc;
        QVERIFY(!tc.initEngine());
        QVERIFY(tc.engineText().empty());
        QVERIFY(tc.engineFileTypes().empty());
    }
    QVERIFY(WriteInstallSetting("TranscodeEngine", "InstallDir", std::string()));
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
}

void TestTranscoder::analyzeFile_beforeEngine_refuses()
{
    VideoFileTranscoder tc;
    const Analysis a = analyse(tc, clip("convert.mp4"), m_root + "/out.kavo", 0);
    QCOMPARE(a.code, int(kvt::ENG_ERR));
    QCOMPARE(tc.queueLength(), 0);
    QVERIFY(a.sources.empty());
}

void TestTranscoder::analyzeFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("profile");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("needsConversion");
    QTest::newRow("fitting clip, mobile") << "fit.avi" << 0 << true << false;
    QTest::newRow("H.264 clip, mobile") << "convert.mp4" << 0 << true << true;
    QTest::newRow("H.264 clip, home theater") << "convert.mp4" << 3 << true << true;
    QTest::newRow("no video in it") << "damaged.avi" << 0 << false << true;
    QTest::newRow("missing file") << "missing.avi" << 0 << false << true;
}

void TestTranscoder::analyzeFile()
{
    QFETCH(QString, file);
    QFETCH(int, profile);
    QFETCH(bool, ok);
    QFETCH(bool, needsConversion);

    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    const QString output = m_root + "/cache/out.kavo";
    const Analysis a = analyse(tc, clip(file), output, profile);
    if (!ok) {
        QVERIFY(a.code != 0);
        QCOMPARE(tc.queueLength(), 0);
        return;
    }
    QCOMPARE(a.code, 0);
    QCOMPARE(a.needsConversion, needsConversion);
    QCOMPARE(int(a.sources.size()), 1);
    QVERIFY(a.size > 0);
    // A file used unchanged costs no conversion time.
    if (needsConversion)
        QVERIFY(a.time >= 1);
    else
        QCOMPARE(a.time, quint32(0));
    QCOMPARE(tc.queueLength(), 1);
    TranscodeJob job;
    QVERIFY(tc.findJob(clip(file), job));
    QCOMPARE(job.outputPath, output);
    QCOMPARE(job.profile, profile);
    QVERIFY(job.session && job.settings && job.properties);
    QVERIFY(job.sources.front().get() == a.sources.front().get());
}

void TestTranscoder::queueLookups_ignoreCase_andRemove()
{
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    const Analysis a = analyse(tc, clip("convert.mp4"), m_root + "/a.kavo", 0);
    QCOMPARE(a.code, 0);
    QCOMPARE(tc.findJob(clip("convert.mp4")), 0);
    QCOMPARE(tc.findJob(clip("CONVERT.MP4")), 0);
    QCOMPARE(tc.findJob(clip("fit.avi")), -1);

    VideoFileTranscoder::SourceList found;
    found.push_back(a.sources.front());
    QVERIFY(!tc.jobSources(clip("fit.avi"), found));
    QVERIFY(found.empty());
    QVERIFY(tc.jobSources(clip("Convert.mp4"), found));
    QCOMPARE(int(found.size()), 1);

    tc.removeJob(clip("fit.avi"));
    QCOMPARE(tc.queueLength(), 1);
    tc.removeJob(clip("convert.MP4"));
    QCOMPARE(tc.queueLength(), 0);
    // The caller's sources outlive the job.
    std::u16string name;
    QCOMPARE(a.sources.front()->GetFileName(name), 0);
    QCOMPARE(QString::fromStdU16String(name), clip("convert.mp4"));
}

void TestTranscoder::reanalysis_replacesJob()
{
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    for (const QString& out : {QStringLiteral("/first.kavo"), QStringLiteral("/second.kavo")}) {
        QCOMPARE(analyse(tc, clip("convert.mp4"), m_root + out, 0).code, 0);
    }
    QCOMPARE(tc.queueLength(), 1);
    TranscodeJob job;
    QVERIFY(tc.findJob(clip("convert.mp4"), job));
    QCOMPARE(job.outputPath, m_root + "/second.kavo");
    // Starting the engine again empties the queue.
    QVERIFY(tc.initEngine());
    QCOMPARE(tc.queueLength(), 0);
}

void TestTranscoder::uniqueOutputPath_data()
{
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("reserved");
    QTest::addColumn<QString>("expected");
    // One job is queued: convert.mp4 -> /t/clip.kavo.
    QTest::newRow("free name") << "/t/other.kavo"
                               << "/x/other.avi" << QStringList() << "/t/other.kavo";
    QTest::newRow("taken by a queued job") << "/t/clip.kavo"
                                           << "/b/clip.avi" << QStringList() << "/t/clip (2).kavo";
    QTest::newRow("taken without case") << "/t/CLIP.kavo"
                                        << "/b/clip.avi" << QStringList() << "/t/CLIP (2).kavo";
    QTest::newRow("the job's own source keeps its name")
        << "/t/clip.kavo"
        << "CONVERT_SOURCE" << QStringList() << "/t/clip.kavo";
    QTest::newRow("taken by queue and this analysis")
        << "/t/clip.kavo"
        << "/c/clip.avi" << QStringList{"/t/clip (2).kavo"} << "/t/clip (3).kavo";
    QTest::newRow("dots in the base name")
        << "/t/a.b.mkv"
        << "/c/a.b.avi" << QStringList{"/t/a.b.mkv"} << "/t/a.b (2).mkv";
}

void TestTranscoder::uniqueOutputPath()
{
    QFETCH(QString, wanted);
    QFETCH(QString, source);
    QFETCH(QStringList, reserved);
    QFETCH(QString, expected);
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    QCOMPARE(analyse(tc, clip("convert.mp4"), "/t/clip.kavo", 0).code, 0);
    if (source == "CONVERT_SOURCE")
        source = clip("convert.mp4");
    QCOMPARE(tc.uniqueOutputPath(wanted, source, reserved), expected);
}

void TestTranscoder::emptyQueue_onlyAllFinished()
{
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    QSignalSpy all(&tc, &VideoFileTranscoder::transcoderAllFinished);
    QSignalSpy fatal(&tc, &VideoFileTranscoder::transcoderFatalError);
    QSignalSpy done(&tc, &VideoFileTranscoder::transcoderDone);
    tc.startNextTranscodeSession();
    QCOMPARE(all.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(fatal.count(), 0);
    QCOMPARE(done.count(), 0);
}

void TestTranscoder::progress_scaledAndTimeAtLeastOne()
{
    VideoFileTranscoder tc;
    QSignalSpy progress(&tc, &VideoFileTranscoder::transcoderProgress);
    tc.progressSlot(37500, 100000, "f.avi");
    QCOMPARE(progress.count(), 1);
    QCOMPARE(progress.at(0).at(0).toULongLong(), 37500ULL);
    QCOMPARE(progress.at(0).at(1).toULongLong(), 100000ULL);
    QCOMPARE(progress.at(0).at(2).toUInt(), 1u);
    QCOMPARE(progress.at(0).at(3).toString(), QStringLiteral("f.avi"));
}

void TestTranscoder::cancelled_suppressesLateSignals()
{
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    QSignalSpy progress(&tc, &VideoFileTranscoder::transcoderProgress);
    QSignalSpy done(&tc, &VideoFileTranscoder::transcoderDone);
    QSignalSpy fatal(&tc, &VideoFileTranscoder::transcoderFatalError);
    QSignalSpy all(&tc, &VideoFileTranscoder::transcoderAllFinished);
    QSignalSpy cancel(&tc, &VideoFileTranscoder::transcoderCancel);
    tc.cancelTranscodeSlot();
    tc.progressSlot(10, 100, "f.avi");
    tc.doneSlot("f.avi");
    tc.fatalErrorSlot(3, "f.avi");
    QTRY_COMPARE_WITH_TIMEOUT(cancel.count(), 1, 5000);
    QCOMPARE(progress.count(), 0);
    QCOMPARE(done.count(), 0);
    QCOMPARE(fatal.count(), 0);
    QCOMPARE(all.count(), 0);
    // The next run starts afresh.
    QVERIFY(tc.initEngine());
    tc.doneSlot("f.avi");
    QCOMPARE(done.count(), 1);
    QCOMPARE(all.count(), 1);
}

void TestTranscoder::cancelWithNothingRunning_reportsCancel()
{
    // Between files (or after a start that failed) no engine cancellation can arrive; the
    // controller still has to hear that the conversion step ended.
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    QSignalSpy cancel(&tc, &VideoFileTranscoder::transcoderCancel);
    tc.cancelTranscodeSlot();
    QTRY_COMPARE_WITH_TIMEOUT(cancel.count(), 1, 5000);
}

void TestTranscoder::failedStart_reportedAsFatalError_andQueueGoesOn()
{
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    // Writing over the source is refused by the engine: the conversion never starts.
    QCOMPARE(analyse(tc, clip("convert.mp4"), clip("convert.mp4"), 0).code, 0);
    QSignalSpy fatal(&tc, &VideoFileTranscoder::transcoderFatalError);
    QSignalSpy all(&tc, &VideoFileTranscoder::transcoderAllFinished);
    QSignalSpy done(&tc, &VideoFileTranscoder::transcoderDone);
    tc.startNextTranscodeSession();
    QCOMPARE(fatal.count(), 0); // reported after the call returns, not from inside it
    QTRY_COMPARE_WITH_TIMEOUT(fatal.count(), 1, 5000);
    QVERIFY(fatal.at(0).at(0).toInt() != 0);
    QCOMPARE(fatal.at(0).at(1).toString(), clip("convert.mp4"));
    QCOMPARE(done.count(), 0);
    // The user chose to go on: nothing is left.
    tc.startNextTranscodeSession();
    QCOMPARE(all.count(), 1);
    QVERIFY(QFileInfo(clip("convert.mp4")).size() > 0);
}

void TestTranscoder::logging_defaultsToMoviesFolder()
{
    // Logging switched on without a folder: the engine logs into the user's movies folder.
    QVERIFY(WriteInstallSetting("TranscodeEngine", "LoggerEnable", true));
    VideoFileTranscoder tc;
    QVERIFY(tc.initEngine());
    const QString logs =
        QStandardPaths::writableLocation(QStandardPaths::MoviesLocation) + "/Kavo Logs";
    QVERIFY2(QFileInfo(logs).isDir(), qPrintable(logs));
    QVERIFY(QFileInfo(logs + "/KavoTranscode.log").size() > 0);
    QVERIFY(WriteInstallSetting("TranscodeEngine", "LoggerEnable", false));
}

int main(int argc, char** argv)
{
    return PrivateEnvironment::exec<QCoreApplication, TestTranscoder>(argc, argv);
}

#include "tst_transcoder.moc"
