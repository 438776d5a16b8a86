#include "DummySourceMedia.h"
#include "ProgressCallback.h"
#include "TestClips.h"
#include "TranscodeEngine.h"
#include "TranscodeEnumNames.h"
#include "TranscodeEnums.h"
#include "WorkerRun.h"

#include <QtTest>

#include <cerrno>
#include <sys/resource.h>

using namespace kvt;

using SourceList = std::vector<kvtl::RefCountedPtr<ISourceMedia>>;

namespace {

// Every way a conversion can report back, recorded.
struct Spies
{
    explicit Spies(ProgressCallback& cb)
        : progress(&cb, &ProgressCallback::progress), done(&cb, &ProgressCallback::done),
          fatal(&cb, &ProgressCallback::fatalError), cancel(&cb, &ProgressCallback::cancel)
    {
    }
    QSignalSpy progress, done, fatal, cancel;
};

} // namespace

class TestEngineSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void conversion_progressRisesTo100ThenDone();
    void cancel_inTheMiddle_leavesNeitherOutputNorTemp();
    void release_whileRunning_stopsWithoutCallbacks();
    void worker_argumentsCarryProfileAndFittedSize();
    void worker_failures_data();
    void worker_failures();
    void worker_ignoringStop_isKilledAndReportedCancelled();
    void priority_setsTheWorkersNiceValue_data();
    void priority_setsTheWorkersNiceValue();
    void start_refusals();
    void badInputs_neverStart_data();
    void badInputs_neverStart();
    void logging_writesEngineAndWorkerLogs();
    void logging_unwritableDirectory_doesNotStopConversions();

private:
    struct Job
    {
        kvtl::RefCountedPtr<ITranscodeSession> session;
        SourceList sources;
        int32_t startResult = NOT_SET;
    };
    Job start(const QString& input, const QString& output, int profile,
              ITranscodeEngineInfo* engine, ProgressCallback& cb, bool analyse = true,
              int priority = TP_Low);
    kvtl::RefCountedPtr<ITranscodeEngineInfo> fakeEngine(const QByteArray& script);
    QString clip(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QTemporaryDir m_fakeDir;
    kvtl::RefCountedPtr<ITranscodeEngineInfo> m_engine;
};

void TestEngineSession::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString worker = WorkerRun::enginePath();
    QVERIFY2(QFileInfo(worker).isExecutable(), qPrintable(worker));
    // Logging on, level 0: the engine then logs everything.
    LoggerSettings logger;
    logger.enable = true;
    logger.logDirectory = m_dir.filePath("logs").toStdString();
    QCOMPARE(InitTranscodeEngine(worker.toStdU16String(), &logger, m_engine), int32_t(SUCCESS));
    QVERIFY(!TestClips(m_dir.path())
                 .picture("small.mp4", 640, 480, 3,
                          {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a",
                           "aac"})
                 .isEmpty());
    // Long enough that a conversion to H.264 is still running when cancelled.
    QVERIFY(!TestClips(m_dir.path())
                 .picture("long.avi", 1280, 720, 20,
                          {"-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame"})
                 .isEmpty());
    QFile text(clip("text.avi"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("plain words, no pictures\n");
    text.close();
}

TestEngineSession::Job TestEngineSession::start(const QString& input, const QString& output,
                                                int profile, ITranscodeEngineInfo* engine,
                                                ProgressCallback& cb, bool analyse, int priority)
{
    Job job;
    kvtl::RefCountedPtr<ISourceMedia> source;
    if (analyse) {
        kvtl::RefCountedPtr<ITranscodeSession> analysis;
        CreateTranscodeSession(analysis);
        int32_t a = 0, b = 0;
        analysis->CreateMediaSource(input.toStdU16String(), a, b, u"", job.sources);
        if (job.sources.empty())
            return job;
        source = job.sources[0];
    } else {
        source = new DummySourceMedia(input);
        job.sources.push_back(source);
    }
    kvtl::RefCountedPtr<ITranscodeOutputSettings> settings;
    CreateDefaultTranscodeOutputSettings(profile, settings);
    kvtl::RefCountedPtr<ISourceMediaVideoTrack> track;
    if (source->GetVideoTrack(0, track) == SUCCESS) {
        int32_t w = 0, h = 0;
        track->GetWidth(w);
        track->GetHeight(h);
        settings->SetResolution(w, h);
    }
    CreateTranscodeSession(job.session);
    job.session->AddSource(source.get());
    job.session->SetOutputSettings(settings.get());
    job.session->SetTranscodeEngineInfo(engine);
    job.session->SetPriority(priority);
    cb.AddRef(); // as the converter does: the callback outlives every job
    job.startResult = job.session->StartTranscode(output.toStdU16String(), &cb);
    return job;
}

kvtl::RefCountedPtr<ITranscodeEngineInfo> TestEngineSession::fakeEngine(const QByteArray& script)
{
    WorkerRun::writeFake(m_fakeDir.path(), script);
    kvtl::RefCountedPtr<ITranscodeEngineInfo> info;
    InitTranscodeEngine(m_fakeDir.path().toStdU16String(), nullptr, info);
    return info;
}

void TestEngineSession::conversion_progressRisesTo100ThenDone()
{
    ProgressCallback cb;
    Spies spy(cb);
    const QString out = m_dir.filePath("small.kavo");
    Job job = start(clip("small.mp4"), out, DP_Mobile, m_engine.get(), cb);
    QCOMPARE(job.startResult, int32_t(SUCCESS));
    int32_t status = -1;
    job.session->GetStatus(status);
    QVERIFY(status == TS_Running || status == TS_Done);

    QTRY_COMPARE_WITH_TIMEOUT(spy.done.count() + spy.fatal.count(), 1, 60000);
    QCOMPARE(spy.fatal.count(), 0);
    QCOMPARE(spy.cancel.count(), 0);
    QCOMPARE(spy.done.at(0).at(0).toString(), clip("small.mp4"));
    QVERIFY(spy.progress.count() >= 2);
    quint32 last = 0;
    for (const QList<QVariant>& p : spy.progress) {
        QVERIFY(p.at(0).value<quint32>() >= last);
        last = p.at(0).value<quint32>();
        QCOMPARE(p.at(1).value<quint32>(), 100000u);
        QCOMPARE(p.at(2).toString(), clip("small.mp4"));
    }
    QCOMPARE(last, 100000u);
    job.session->GetStatus(status);
    QCOMPARE(status, int32_t(TS_Done));
    QVERIFY(QFileInfo(out).size() > 0);
    QVERIFY(!QFileInfo::exists(out + ".temp"));
    // Nothing more arrives after the end.
    QTest::qWait(200);
    QCOMPARE(spy.done.count(), 1);
}

void TestEngineSession::cancel_inTheMiddle_leavesNeitherOutputNorTemp()
{
    ProgressCallback cb;
    Spies spy(cb);
    const QString out = m_dir.filePath("long.mkv");
    Job job = start(clip("long.avi"), out, DP_KavoPlusHD, m_engine.get(), cb);
    QCOMPARE(job.startResult, int32_t(SUCCESS));
    QTRY_VERIFY_WITH_TIMEOUT(spy.progress.count() >= 2, 60000);
    // Really in the middle: far from the end when the cancel goes out.
    QVERIFY(spy.progress.last().at(0).value<quint32>() < 90000);
    QCOMPARE(job.session->Cancel(), int32_t(SUCCESS));
    // Cancel returns once the worker is gone and OnCancel was called.
    QCOMPARE(spy.cancel.count(), 1);
    QCOMPARE(spy.cancel.at(0).at(0).toString(), QString());
    QCOMPARE(spy.done.count(), 0);
    QCOMPARE(spy.fatal.count(), 0);
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(!QFileInfo::exists(out + ".temp"));
    int32_t status = -1;
    job.session->GetStatus(status);
    QCOMPARE(status, int32_t(TS_Failed));
    const int progressAtCancel = spy.progress.count();
    QTest::qWait(300);
    QCOMPARE(spy.progress.count(), progressAtCancel);
    QCOMPARE(job.session->Cancel(), int32_t(SUCCESS)); // a second cancel is harmless
    QCOMPARE(spy.cancel.count(), 1);
}

void TestEngineSession::release_whileRunning_stopsWithoutCallbacks()
{
    ProgressCallback cb;
    Spies spy(cb);
    const QString out = m_dir.filePath("released.mkv");
    {
        Job job = start(clip("long.avi"), out, DP_KavoPlusHD, m_engine.get(), cb);
        QCOMPARE(job.startResult, int32_t(SUCCESS));
        QTRY_VERIFY_WITH_TIMEOUT(spy.progress.count() >= 1, 60000);
    } // last reference to the session goes here
    QCOMPARE(spy.done.count() + spy.fatal.count() + spy.cancel.count(), 0);
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(!QFileInfo::exists(out + ".temp"));
}

void TestEngineSession::worker_argumentsCarryProfileAndFittedSize()
{
    const QString argsFile = m_fakeDir.filePath("args.txt");
    auto engine = fakeEngine(QByteArray("printf '%s\\n' \"$@\" > '") + argsFile.toUtf8() +
                             "'\n: > \"$4\"; echo PROGRESS 100 0; echo DONE; exit 0\n");
    ProgressCallback cb;
    Spies spy(cb);
    const QString out = m_dir.filePath("args.kavo");
    Job job = start(clip("small.mp4"), out, DP_Mobile, engine.get(), cb);
    QCOMPARE(job.startResult, int32_t(SUCCESS));
    // The fake writes an empty output: an empty file is not a conversion.
    QTRY_COMPARE_WITH_TIMEOUT(spy.done.count() + spy.fatal.count(), 1, 10000);
    QFile f(argsFile);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList args = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(args, (QStringList{"--input", clip("small.mp4"), "--output", out, "--profile", "0",
                                "--width", "320", "--height", "240"}));
}

void TestEngineSession::worker_failures_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("code");
    // $4 is the output path.
    QTest::newRow("crash leaves a temp file")
        << QByteArray("echo 'PROGRESS 10 0'; echo junk > \"$4.temp\"; kill -SEGV $$\n")
        << int(ENG_DECODER);
    QTest::newRow("reported error")
        << QByteArray("echo 'PROGRESS 3 0'; echo 'ERROR 136 disk full'; exit 136\n")
        << int(ENG_WRITING_ERROR);
    QTest::newRow("bare exit status") << QByteArray("exit 23\n") << int(ENG_INVALID_VID_STREAM);
    QTest::newRow("claims success without output")
        << QByteArray("echo 'PROGRESS 100 0'; echo DONE; exit 0\n") << int(ENG_WRITING_ERROR);
    QTest::newRow("output but no DONE")
        << QByteArray("echo data > \"$4\"; exit 0\n") << int(ENG_WRITING_ERROR);
    QTest::newRow("error that reads as success")
        << QByteArray("echo 'ERROR 0 odd'; exit 1\n") << int(ENG_ERR);
}

void TestEngineSession::worker_failures()
{
    QFETCH(QByteArray, script);
    QFETCH(int, code);
    auto engine = fakeEngine(script);
    ProgressCallback cb;
    Spies spy(cb);
    const QString out = m_dir.filePath("failing.kavo");
    Job job = start(clip("small.mp4"), out, DP_Mobile, engine.get(), cb);
    QCOMPARE(job.startResult, int32_t(SUCCESS));
    QTRY_COMPARE_WITH_TIMEOUT(spy.fatal.count(), 1, 10000);
    QCOMPARE(QString(resultCodeName(spy.fatal.at(0).at(0).toInt())), QString(resultCodeName(code)));
    QCOMPARE(spy.fatal.at(0).at(1).toString(), clip("small.mp4"));
    QCOMPARE(spy.done.count() + spy.cancel.count(), 0);
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(!QFileInfo::exists(out + ".temp"));
    int32_t status = -1;
    job.session->GetStatus(status);
    QCOMPARE(status, int32_t(TS_Failed));
}

void TestEngineSession::worker_ignoringStop_isKilledAndReportedCancelled()
{
    auto engine = fakeEngine("trap '' TERM INT; echo x > \"$4.temp\"; echo 'PROGRESS 1 0'\n"
                             "while :; do sleep 0.1; done\n");
    ProgressCallback cb;
    Spies spy(cb);
    const QString out = m_dir.filePath("stubborn.kavo");
    Job job = start(clip("small.mp4"), out, DP_Mobile, engine.get(), cb);
    QCOMPARE(job.startResult, int32_t(SUCCESS));
    QTRY_COMPARE_WITH_TIMEOUT(spy.progress.count(), 1, 10000);
    QCOMPARE(job.session->Cancel(), int32_t(SUCCESS));
    QCOMPARE(spy.cancel.count(), 1);
    QVERIFY(!QFileInfo::exists(out + ".temp"));
}

void TestEngineSession::priority_setsTheWorkersNiceValue_data()
{
    QTest::addColumn<int>("priority");
    QTest::addColumn<int>("nice");
    QTest::newRow("idle") << int(TP_Idle) << 19;
    QTest::newRow("low") << int(TP_Low) << 10;
}

void TestEngineSession::priority_setsTheWorkersNiceValue()
{
    QFETCH(int, priority);
    QFETCH(int, nice);
    errno = 0;
    if (getpriority(PRIO_PROCESS, 0) != 0 || errno != 0)
        QSKIP("the test does not run at nice 0");
    // The fake worker waits until its nice value changes (it is set right
    // after the start) and reports it through its exit status.
    auto engine = fakeEngine("for i in $(seq 100); do\n"
                             "  n=$(cut -d' ' -f19 /proc/$$/stat); [ \"$n\" != 0 ] && break\n"
                             "  sleep 0.05\n"
                             "done\n"
                             "echo \"ERROR $n nice\"; exit 1\n");
    ProgressCallback cb;
    Spies spy(cb);
    Job job = start(clip("small.mp4"), m_dir.filePath("nice.kavo"), DP_Mobile, engine.get(), cb,
                    true, priority);
    QCOMPARE(job.startResult, int32_t(SUCCESS));
    QTRY_COMPARE_WITH_TIMEOUT(spy.fatal.count(), 1, 15000);
    QCOMPARE(spy.fatal.at(0).at(0).toInt(), nice);
}

void TestEngineSession::start_refusals()
{
    ProgressCallback cb;
    Spies spy(cb);
    // Writing over the source would destroy it.
    Job job = start(clip("small.mp4"), clip("small.mp4"), DP_Mobile, m_engine.get(), cb);
    QCOMPARE(job.startResult, int32_t(ENG_DUPLICATE_FILE_ERR));
    QVERIFY(QFileInfo(clip("small.mp4")).size() > 0);

    // An engine that vanished after start-up.
    QTemporaryDir gone;
    WorkerRun::writeFake(gone.path(), "exit 0\n");
    kvtl::RefCountedPtr<ITranscodeEngineInfo> info;
    QCOMPARE(InitTranscodeEngine(gone.path().toStdU16String(), nullptr, info), int32_t(SUCCESS));
    QVERIFY(QFile::remove(gone.filePath("KavoEngine")));
    job = start(clip("small.mp4"), m_dir.filePath("x.kavo"), DP_Mobile, info.get(), cb);
    QCOMPARE(job.startResult, int32_t(ENG_RES_NOTFOUND_ERR));

    // A session converts once.
    job = start(clip("small.mp4"), m_dir.filePath("once.kavo"), DP_Mobile, m_engine.get(), cb);
    QCOMPARE(job.startResult, int32_t(SUCCESS));
    QCOMPARE(job.session->StartTranscode(m_dir.filePath("twice.kavo").toStdU16String(), &cb),
             int32_t(Working));
    QTRY_COMPARE_WITH_TIMEOUT(spy.done.count(), 1, 60000);
    QCOMPARE(job.session->StartTranscode(m_dir.filePath("twice.kavo").toStdU16String(), &cb),
             int32_t(ENG_CONTROLLER_ERR));
    QCOMPARE(job.session->SetPriority(7), int32_t(ENG_OUTOFRANGE_ERR));
}

void TestEngineSession::badInputs_neverStart_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("code");
    QTest::newRow("text named .avi") << "text.avi" << int(ENG_UNSUPPORTED_FILE_TYPE);
    QTest::newRow("missing") << "gone.avi" << int(CRTL_FILE_DOES_NOT_EXIST);
}

void TestEngineSession::badInputs_neverStart()
{
    // A program-made source for a file nobody analysed: the engine looks at
    // the file itself before it spends a worker on it.
    QFETCH(QString, file);
    QFETCH(int, code);
    ProgressCallback cb;
    Spies spy(cb);
    Job job = start(clip(file), m_dir.filePath("bad.kavo"), DP_Mobile, m_engine.get(), cb, false);
    QCOMPARE(job.startResult, int32_t(code));
    kvtl::RefCountedPtr<ITranscodeOutputProperties> props;
    QCOMPARE(job.session->GetOutputProperties(props), int32_t(code));
    QVERIFY(!props);
    QCOMPARE(spy.fatal.count(), 0);
}

void TestEngineSession::logging_writesEngineAndWorkerLogs()
{
    QFile engineLog(m_dir.filePath("logs/KavoTranscode.log"));
    QVERIFY(engineLog.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(engineLog.readAll());
    QVERIFY(text.contains("InitTranscodeEngine: " + WorkerRun::enginePath()));
    QVERIFY(text.contains("StartTranscode"));
    QVERIFY(text.contains("transcode done: " + m_dir.filePath("small.kavo")));
    QVERIFY(text.contains("transcode cancelled: " + m_dir.filePath("long.mkv")));
    // The worker's own diagnostics land beside it.
    QVERIFY(QFileInfo(m_dir.filePath("logs/KavoEngine.log")).size() > 0);
}

void TestEngineSession::logging_unwritableDirectory_doesNotStopConversions()
{
    // A "directory" that is a file: nothing can be created below it, even by root.
    LoggerSettings logger;
    logger.enable = true;
    logger.level = KAVO_ALL_MSG;
    logger.logDirectory = clip("text.avi").toStdString();
    kvtl::RefCountedPtr<ITranscodeEngineInfo> engine;
    QCOMPARE(InitTranscodeEngine(WorkerRun::enginePath().toStdU16String(), &logger, engine),
             int32_t(SUCCESS));
    ProgressCallback cb;
    Spies spy(cb);
    Job job = start(clip("small.mp4"), m_dir.filePath("nolog.kavo"), DP_Mobile, engine.get(), cb);
    QCOMPARE(job.startResult, int32_t(SUCCESS));
    QTRY_COMPARE_WITH_TIMEOUT(spy.done.count() + spy.fatal.count(), 1, 60000);
    QCOMPARE(spy.done.count(), 1);
}

QTEST_GUILESS_MAIN(TestEngineSession)
#include "test_engine_session.moc"
