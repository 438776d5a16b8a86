#include "OutputReader.h"
#include "ProfileTable.h"
#include "ProgressCallback.h"
#include "TestClips.h"
#include "TranscodeEngine.h"
#include "TranscodeEnums.h"
#include "WorkerRun.h"

#include <QtTest>

#include <cmath>

using namespace kvt;

// Conversions through the engine's session interface, read back with
// libavformat: the files must really play on the profile's device.
class TestEngineSessionConvert : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void convert_data();
    void convert();

private:
    QTemporaryDir m_dir;
    kvtl::RefCountedPtr<ITranscodeEngineInfo> m_engine;
};

void TestEngineSessionConvert::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QCOMPARE(InitTranscodeEngine(WorkerRun::enginePath().toStdU16String(), nullptr, m_engine),
             int32_t(SUCCESS));
    const QString d = m_dir.path();
    QVERIFY(!TestClips(d)
                 .picture("wide.mp4", 640, 360, 3,
                          {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a",
                           "aac"})
                 .isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("fast720.mkv", 1280, 720, 2,
                          {"-c:v", "mpeg4", "-q:v", "6", "-c:a", "ac3"}, true, 60)
                 .isEmpty());
    QVERIFY(!TestClips(d).picture("silent.avi", 352, 288, 2, {"-c:v", "mpeg4"}, false).isEmpty());
    QVERIFY(QFile::copy(m_dir.filePath("wide.mp4"), m_dir.filePath("Vidéo d'été #1.mp4")));
}

void TestEngineSessionConvert::convert_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("profile");
    QTest::addColumn<bool>("hasAudio");
    // The worker's own tests cover every profile; these check the session's side of each path.
    QTest::newRow("H.264 to mobile") << "wide.mp4" << int(DP_Mobile) << true;
    QTest::newRow("H.264 to Plus HD") << "wide.mp4" << int(DP_KavoPlusHD) << true;
    QTest::newRow("720p60 to mobile") << "fast720.mkv" << int(DP_Mobile) << true;
    QTest::newRow("silent to home theater") << "silent.avi" << int(DP_HomeTheater) << false;
    QTest::newRow("name with spaces and accents") << "Vidéo d'été #1.mp4" << int(DP_Mobile) << true;
}

void TestEngineSessionConvert::convert()
{
    QFETCH(QString, file);
    QFETCH(int, profile);
    QFETCH(bool, hasAudio);
    const DeviceProfileSpec& spec = *findDeviceProfile(profile);
    const QString input = m_dir.filePath(file);

    // The callback outlives the sessions that call it.
    ProgressCallback cb;
    kvtl::RefCountedPtr<ITranscodeSession> session;
    CreateTranscodeSession(session);
    std::vector<kvtl::RefCountedPtr<ISourceMedia>> sources;
    int32_t a = 0, b = 0;
    QCOMPARE(session->CreateMediaSource(input.toStdU16String(), a, b, u"", sources),
             int32_t(SUCCESS));
    uint64_t sourceUs = 0;
    sources[0]->GetDuration(sourceUs);

    kvtl::RefCountedPtr<ITranscodeOutputSettings> settings;
    CreateDefaultTranscodeOutputSettings(profile, settings);
    kvtl::RefCountedPtr<ISourceMediaVideoTrack> track;
    QCOMPARE(sources[0]->GetVideoTrack(0, track), int32_t(SUCCESS));
    int32_t w = 0, h = 0;
    track->GetWidth(w);
    track->GetHeight(h);
    settings->SetResolution(w, h);
    kvtl::RefCountedPtr<ITranscodeSession> job;
    CreateTranscodeSession(job);
    QCOMPARE(job->AddSource(sources[0].get()), int32_t(SUCCESS));
    QCOMPARE(job->SetOutputSettings(settings.get()), int32_t(SUCCESS));
    QCOMPARE(job->SetTranscodeEngineInfo(m_engine.get()), int32_t(SUCCESS));
    kvtl::RefCountedPtr<ITranscodeOutputProperties> props;
    QCOMPARE(job->GetOutputProperties(props), int32_t(SUCCESS));
    int32_t outW = 0, outH = 0;
    props->GetResolution(outW, outH);

    cb.AddRef();
    QSignalSpy done(&cb, &ProgressCallback::done);
    QSignalSpy fatal(&cb, &ProgressCallback::fatalError);
    const QString output =
        m_dir.filePath(QString("out-%1-%2%3").arg(profile).arg(file, spec.extension));
    QCOMPARE(job->StartTranscode(output.toStdU16String(), &cb), int32_t(SUCCESS));
    QTRY_COMPARE_WITH_TIMEOUT(done.count() + fatal.count(), 1, 120000);
    QVERIFY2(fatal.isEmpty(), fatal.isEmpty() ? "" : qPrintable(fatal.at(0).at(0).toString()));

    OutputReader r;
    QVERIFY2(r.read(output), qPrintable(r.error()));
    const bool avi = QString(spec.containerFormat) == "avi";
    QCOMPARE(r.formatName(), avi ? QString("avi") : QString("matroska,webm"));
    QCOMPARE(r.streamCount("video"), 1);
    const OutputReader::Stream& video = *r.first("video");
    QCOMPARE(video.codec, QString(spec.videoCodecName));
    QCOMPARE(video.width, outW);
    QCOMPARE(video.height, outH);
    QVERIFY(video.width <= spec.maxWidth && video.height <= spec.maxHeight);
    QVERIFY2(video.frameRate <= spec.maxFps + 0.01, qPrintable(QString::number(video.frameRate)));
    QCOMPARE(r.streamCount("audio"), hasAudio ? 1 : 0);
    if (hasAudio) {
        QCOMPARE(r.first("audio")->codec, QString(avi ? "mp3" : "aac"));
        QVERIFY(r.first("audio")->channels >= 1 && r.first("audio")->channels <= 2);
    }
    const double sourceSeconds = double(sourceUs) / 1e6;
    QVERIFY2(std::abs(r.durationSeconds() - sourceSeconds) <= 0.2,
             qPrintable(QString("%1 vs %2").arg(r.durationSeconds()).arg(sourceSeconds)));
    QCOMPARE(r.decodeErrors(), 0);
    const int expectedFrames = int(std::lround(sourceSeconds * video.frameRate));
    QVERIFY2(
        std::abs(r.videoFrames() - expectedFrames) <= 2,
        qPrintable(QString("%1 frames, expected %2").arg(r.videoFrames()).arg(expectedFrames)));
}

QTEST_GUILESS_MAIN(TestEngineSessionConvert)
#include "test_engine_session_convert.moc"
