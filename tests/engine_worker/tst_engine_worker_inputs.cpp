// The KavoEngine worker on bad sources (clear engine code, no hang, nothing
// left behind) and on unusual ones (converted correctly).

#include "OutputReader.h"
#include "ProfileTable.h"
#include "TestClips.h"
#include "WorkerRun.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TestEngineWorkerInputs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void badSource_givesEngineCode_data();
    void badSource_givesEngineCode();
    void badArguments_giveEngineCode_data();
    void badArguments_giveEngineCode();
    void unusualSource_convertsCorrectly_data();
    void unusualSource_convertsCorrectly();

private:
    QString writeFile(const QString& name, const QByteArray& content);
    QString truncatedCopy(const QString& source, const QString& name, double fraction);
    QString damagedCopy(const QString& source, const QString& name);

    QTemporaryDir m_dir;
    QScopedPointer<TestClips> m_clips;
};

void TestEngineWorkerInputs::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFileInfo::exists(WorkerRun::enginePath()), qPrintable(WorkerRun::enginePath()));
    m_clips.reset(new TestClips(m_dir.path()));
}

QString TestEngineWorkerInputs::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = m_clips->path(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        return {};
    return path;
}

QString TestEngineWorkerInputs::truncatedCopy(const QString& source, const QString& name,
                                              double fraction)
{
    QFile in(source);
    if (source.isEmpty() || !in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = in.readAll();
    return writeFile(name, all.left(int(all.size() * fraction)));
}

QString TestEngineWorkerInputs::damagedCopy(const QString& source, const QString& name)
{
    // Keep the container's header, replace everything after it with noise.
    QFile in(source);
    if (source.isEmpty() || !in.open(QIODevice::ReadOnly))
        return {};
    QByteArray all = in.readAll();
    QRandomGenerator random(42);
    for (int i = 4096; i < all.size(); ++i)
        all[i] = char(random.bounded(256));
    return writeFile(name, all);
}

void TestEngineWorkerInputs::badSource_givesEngineCode_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("code");

    const QString clip = m_clips->standard("good.mp4", 320, 240, 3.0);
    const QString mkv =
        m_clips->make("good.mkv", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=4",
                                   "-c:v", "mpeg4", "-q:v", "3"});
    const QString audioOnly =
        m_clips->make("music.m4a", {"-f", "lavfi", "-i", "sine=duration=2", "-c:a", "aac"});
    const QString textFile = writeFile("letter.avi", "Dear reader,\nthis is not a film.\n");
    const QString zero = writeFile("empty.avi", QByteArray());

    QTest::newRow("missing file") << m_clips->path("no such file.avi")
                                  << int(kvt::CRTL_FILE_DOES_NOT_EXIST);
    QTest::newRow("zero-byte file") << zero << int(kvt::ENG_UNSUPPORTED_FILE_TYPE);
    QTest::newRow("text file named .avi") << textFile << int(kvt::ENG_UNSUPPORTED_FILE_TYPE);
    QTest::newRow("directory") << m_dir.path() << int(kvt::ENG_UNSUPPORTED_FILE_TYPE);
    // Opening a named pipe for reading waits for a writer that never comes; endless zeros never
    // end. Neither is a file to convert.
    const QString fifo = m_clips->path("pipe.avi");
    QTest::newRow("named pipe") << (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0
                                        ? fifo
                                        : QString())
                                << int(kvt::ENG_UNSUPPORTED_FILE_TYPE);
    const QString zeros = m_clips->path("zeros.mp4");
    QTest::newRow("link to endless zeros") << (QFile::link("/dev/zero", zeros) ? zeros : QString())
                                           << int(kvt::ENG_UNSUPPORTED_FILE_TYPE);
    QTest::newRow("audio only") << audioOnly << int(kvt::ENG_INVALID_VID_STREAM);
    // A cover picture is a video stream to libavformat, not a film.
    const QString withCover = m_clips->make(
        "song.mp3",
        QString("-f lavfi -i sine=duration=2 -f lavfi -i color=red:size=64x64:duration=1 "
                "-map 0 -map 1 -c:a libmp3lame -c:v mjpeg -frames:v 1 "
                "-disposition:v attached_pic")
            .split(' '));
    QTest::newRow("music with a cover picture") << withCover << int(kvt::ENG_INVALID_VID_STREAM);
    // MP4 keeps its index at the end: without it nothing can be found.
    QTest::newRow("truncated mp4")
        << truncatedCopy(clip, "cut.mp4", 0.5) << int(kvt::ENG_UNSUPPORTED_FILE_TYPE);
    QTest::newRow("truncated mkv")
        << truncatedCopy(mkv, "cut.mkv", 0.5) << int(kvt::ENG_INVALID_STREAM);
    QTest::newRow("garbage after the header")
        << damagedCopy(mkv, "noise.mkv") << int(kvt::ENG_INVALID_STREAM);
    // The container intact, most bytes of every picture scrambled.
    const QString damaged =
        m_clips->make("damaged.mkv", {"-i", mkv, "-c", "copy", "-bsf:v", "noise=amount=3"});
    QTest::newRow("damaged pictures") << damaged << int(kvt::ENG_DECODER);
}

void TestEngineWorkerInputs::badSource_givesEngineCode()
{
    QFETCH(QString, source);
    QFETCH(int, code);
    QVERIFY2(!source.isEmpty(), qPrintable(m_clips->lastError()));

    const QString target = m_clips->path("bad-output.kavo");
    WorkerRun run;
    QVERIFY2(run.run({"--input", source, "--output", target, "--profile", "0"}, 30000),
             "the worker hung");
    QVERIFY(!run.crashed());
    QCOMPARE(run.exitCode(), code & 0xff);
    QVERIFY2(run.lastLine().startsWith(QString("ERROR %1 ").arg(code)), qPrintable(run.lastLine()));
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(!QFileInfo::exists(target + ".temp"));
}

void TestEngineWorkerInputs::badArguments_giveEngineCode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    const QString src = m_clips->path("good.mp4");
    const QString dst = m_clips->path("args.kavo");
    QTest::newRow("no arguments") << QStringList() << int(kvt::ENG_INVALID_INPUT_ERR);
    QTest::newRow("unknown option")
        << QStringList{"--input", src, "--output", dst, "--profile", "0", "--speed", "9"}
        << int(kvt::ENG_INVALID_INPUT_ERR);
    QTest::newRow("profile out of range")
        << QStringList{"--input", src, "--output", dst, "--profile", "7"}
        << int(kvt::ENG_OUTOFRANGE_ERR);
    QTest::newRow("negative profile")
        << QStringList{"--input", src, "--output", dst, "--profile", "-1"}
        << int(kvt::ENG_OUTOFRANGE_ERR);
    QTest::newRow("width without height")
        << QStringList{"--input", src, "--output", dst, "--profile", "0", "--width", "320"}
        << int(kvt::ENG_INVALID_INPUT_ERR);
    QTest::newRow("zero width") << QStringList{"--input", src, "--output", dst,  "--profile", "0",
                                               "--width", "0", "--height", "240"}
                                << int(kvt::ENG_OUTOFRANGE_ERR);
    QTest::newRow("output is the source")
        << QStringList{"--input", src, "--output", src, "--profile", "0"}
        << int(kvt::ENG_INVALID_INPUT_ERR);
}

void TestEngineWorkerInputs::badArguments_giveEngineCode()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    const QFileInfo before(m_clips->path("good.mp4"));
    WorkerRun run;
    QVERIFY(run.run(arguments, 30000));
    QCOMPARE(run.exitCode(), code & 0xff);
    QVERIFY2(run.lastLine().startsWith(QString("ERROR %1 ").arg(code)), qPrintable(run.lastLine()));
    QVERIFY(!QFileInfo::exists(m_clips->path("args.kavo")));
    QCOMPARE(QFileInfo(m_clips->path("good.mp4")).size(), before.size());
}

void TestEngineWorkerInputs::unusualSource_convertsCorrectly_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("profile");
    QTest::addColumn<double>("displayAspect"); // width / height as shown
    QTest::addColumn<double>("frameRate");     // expected output rate
    QTest::addColumn<bool>("hasAudio");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<double>("pictureSpan"); // seconds; < 0: the source's

    const QStringList tone{"-f", "lavfi", "-i", "sine=frequency=300:duration=3"};
    QTest::newRow("odd size 641x481")
        << m_clips->make("odd.mkv", QStringList{"-f", "lavfi", "-i",
                                                "testsrc2=size=641x481:rate=25:duration=3"} +
                                        tone +
                                        QStringList{"-c:v", "ffv1", "-c:a", "flac", "-shortest"})
        << 3 << 641.0 / 481.0 << 25.0 << true << "odd.kavo" << -1.0;
    // 30 fps for 1.5 s, then one frame every 1/15 s: the output stays at a constant rate.
    QTest::newRow("variable frame rate")
        << m_clips->make("vfr.mkv",
                         {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=30:duration=3", "-vf",
                          "setpts='if(lt(N,45),N/30,1.5+(N-45)/15)/TB'", "-fps_mode", "passthrough",
                          "-c:v", "libx264", "-preset", "ultrafast"})
        << 4 << 4.0 / 3.0 << 30.0 << false << "vfr-converted.mkv" << -1.0;
    QTest::newRow("anamorphic 16:9 PAL")
        << m_clips->make(
               "anamorphic.mp4",
               QStringList{"-f", "lavfi", "-i", "testsrc2=size=720x576:rate=25:duration=3"} + tone +
                   QStringList{"-vf", "setsar=64/45", "-c:v", "libx264", "-preset", "ultrafast",
                               "-c:a", "aac", "-shortest"})
        << 3 << 16.0 / 9.0 << 25.0 << true << "anamorphic.kavo" << -1.0;
    QTest::newRow("interlaced MPEG-2 in TS")
        << m_clips->make(
               "interlaced.ts",
               QStringList{"-f", "lavfi", "-i", "testsrc2=size=720x576:rate=50:duration=3"} + tone +
                   QStringList{"-vf", "tinterlace=mode=interleave_top,setfield=tff", "-c:v",
                               "mpeg2video", "-flags", "+ilme+ildct", "-top", "1", "-b:v", "4M",
                               "-c:a", "mp2", "-shortest"})
        << 3 << 720.0 / 576.0 << 25.0 << true << "interlaced.kavo" << -1.0;
    QTest::newRow("10-bit HEVC")
        << m_clips->make(
               "hevc.mp4",
               QStringList{"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=3"} + tone +
                   QStringList{"-c:v", "libx265", "-preset", "ultrafast", "-pix_fmt", "yuv420p10le",
                               "-x265-params", "log-level=error", "-c:a", "aac", "-shortest"})
        << 0 << 4.0 / 3.0 << 25.0 << true << "hevc.kavo" << -1.0;
    // A film's 5.1 AC-3 track, mixed down to the device's stereo.
    QTest::newRow("5.1 AC-3 sound")
        << m_clips->make("surround.mkv",
                         QStringList{"-f", "lavfi", "-i",
                                     "testsrc2=size=320x240:rate=25:duration=3", "-f", "lavfi",
                                     "-i", "sine=frequency=300:duration=3:sample_rate=48000"} +
                             QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-af",
                                         "pan=5.1|FL=c0|FR=c0|FC=c0|LFE=c0|BL=c0|BR=c0", "-c:a",
                                         "ac3", "-shortest"})
        << 3 << 4.0 / 3.0 << 25.0 << true << "surround.kavo" << -1.0;
    QTest::newRow("60 fps source for a 30 fps device")
        << m_clips->standard("sixty.mp4", 320, 240, 3.0, 60) << 0 << 4.0 / 3.0 << 30.0 << true
        << "sixty.kavo" << -1.0;
    // Low frame rates: the last picture lasts as long as the others, and counts.
    QTest::newRow("0.1 fps for 30 s")
        << m_clips->make("slow.mp4",
                         {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=0.1:duration=30", "-c:v",
                          "libx264", "-preset", "ultrafast"})
        << 0 << 4.0 / 3.0 << 25.0 << false << "slow.kavo" << 30.0 - 1.0 / 25;
    QTest::newRow("one picture for 1 s")
        << m_clips->make("one.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=1:duration=1",
                                     "-c:v", "libx264", "-preset", "ultrafast"})
        << 0 << 4.0 / 3.0 << 1.0 << false << "one.kavo" << 0.0;
    QTest::newRow("no audio") << m_clips->make("silent.mp4",
                                               {"-f", "lavfi", "-i",
                                                "testsrc2=size=320x240:rate=25:duration=3", "-c:v",
                                                "libx264", "-preset", "ultrafast"})
                              << 1 << 4.0 / 3.0 << 25.0 << false << "silent.kavo" << -1.0;
    // Portrait phone video: a landscape picture with a quarter-turn rotation.
    QTest::newRow("rotated portrait video")
        << m_clips->make("rotated.mp4", {"-i", m_clips->standard("upright.mp4", 320, 240, 3.0),
                                         "-c", "copy", "-metadata:s:v:0", "rotate=90"})
        << 0 << 3.0 / 4.0 << 25.0 << true << "rotated.kavo" << -1.0;
    // Two recordings joined byte for byte.
    const auto joinedRecordings = [this](const QString& name, const QStringList& secondPart) {
        const QString first = m_clips->make(
            name + "-1.ts",
            {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=3", "-f", "lavfi", "-i",
             "sine=duration=3:sample_rate=44100", "-c:v", "mpeg2video", "-c:a", "aac", "-ac", "2"});
        const QString second = m_clips->make(
            name + "-2.ts",
            QStringList{"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=3", "-f",
                        "lavfi", "-i", "sine=duration=3:sample_rate=48000", "-c:v", "mpeg2video",
                        "-c:a", "aac"} +
                secondPart);
        QFile a(first), b(second);
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
            return QString();
        return writeFile(name + ".ts", a.readAll() + b.readAll());
    };
    // The second recording's clock 1000 s later.
    QTest::newRow("joined recordings with a time jump")
        << joinedRecordings("jump", {"-ac", "2", "-output_ts_offset", "1000"}) << 0 << 4.0 / 3.0
        << 25.0 << true << "joined.kavo" << 5.96;
    // Stereo at 44.1 kHz, then 5.1 at 48 kHz, as between broadcast programmes.
    QTest::newRow("sound changes from stereo to 5.1")
        << joinedRecordings("switch", {"-ac", "6", "-output_ts_offset", "3"}) << 0 << 4.0 / 3.0
        << 25.0 << true << "switch.kavo" << 5.96;
    QTest::newRow("spaces and non-ASCII letters in the names")
        << m_clips->standard(QString::fromUtf8("Fête d'été à Zürich – 日本 clip.mp4"), 320, 240,
                             3.0)
        << 0 << 4.0 / 3.0 << 25.0 << true << QString::fromUtf8("Fête à Zürich 日本.kavo") << -1.0;
}

void TestEngineWorkerInputs::unusualSource_convertsCorrectly()
{
    QFETCH(QString, source);
    QFETCH(int, profile);
    QFETCH(double, displayAspect);
    QFETCH(double, frameRate);
    QFETCH(bool, hasAudio);
    QFETCH(QString, outputName);
    QFETCH(double, pictureSpan);
    QVERIFY2(!source.isEmpty(), qPrintable(m_clips->lastError()));
    const kvt::DeviceProfileSpec* device = kvt::findDeviceProfile(profile);
    QVERIFY(device);

    OutputReader original;
    QVERIFY(original.read(source));
    const QString target = m_clips->path(outputName);
    WorkerRun run;
    QVERIFY2(
        run.run({"--input", source, "--output", target, "--profile", QString::number(profile)}),
        "the worker hung");
    QVERIFY2(run.exitCode() == 0, qPrintable(run.lastLine() + run.standardError()));
    QCOMPARE(run.lastLine(), QString("DONE"));
    QVERIFY(!QFileInfo::exists(target + ".temp"));

    OutputReader probe;
    QVERIFY2(probe.read(target), qPrintable(probe.error()));
    const OutputReader::Stream* video = probe.first("video");
    QVERIFY(video);
    QVERIFY(video->width <= device->maxWidth && video->height <= device->maxHeight);
    QVERIFY(video->width % 2 == 0 && video->height % 2 == 0);
    const double sar = video->sarNum > 0 ? double(video->sarNum) / video->sarDen : 1.0;
    const double aspect = video->width * sar / video->height;
    QVERIFY2(qAbs(aspect / displayAspect - 1.0) < 0.02,
             qPrintable(QString("%1x%2 sar %3").arg(video->width).arg(video->height).arg(sar)));
    QVERIFY2(qAbs(video->frameRate - frameRate) < 0.01,
             qPrintable(QString::number(video->frameRate)));
    QCOMPARE(probe.streamCount("audio"), hasAudio ? 1 : 0);
    if (hasAudio) {
        QCOMPARE(probe.first("audio")->channels, device->audioChannels);
        QCOMPARE(probe.first("audio")->sampleRate, device->audioSampleRate);
        QVERIFY(probe.audioFrames() > 0);
    }

    const double sourceSpan =
        pictureSpan >= 0 ? pictureSpan : original.lastVideoTime() - original.firstVideoTime();
    if (pictureSpan < 0) {
        QVERIFY2(
            qAbs(probe.durationSeconds() - original.durationSeconds()) <= 0.2,
            qPrintable(
                QString("%1 vs %2").arg(probe.durationSeconds()).arg(original.durationSeconds())));
    }
    QCOMPARE(probe.decodeErrors(), 0);
    QCOMPARE(probe.interlacedFrames(), 0);
    if (QByteArray(QTest::currentDataTag()).startsWith("interlaced")) {
        // Interlaced motion must not reach the device as combs.
        QVERIFY2(original.combing() > 1.1, qPrintable(QString::number(original.combing())));
        QVERIFY2(probe.combing() < 0.9, qPrintable(QString::number(probe.combing())));
    }
    // Constant frame rate: the pictures cover the source's span, evenly spaced.
    const double span = probe.lastVideoTime() - probe.firstVideoTime();
    QVERIFY2(qAbs(span - sourceSpan) <= 0.1,
             qPrintable(QString("%1 s of pictures for %2 s").arg(span).arg(sourceSpan)));
    QVERIFY2(qAbs(probe.videoFrames() - (span * frameRate + 1.0)) <= 0.5,
             qPrintable(QString("%1 frames over %2 s").arg(probe.videoFrames()).arg(span)));
    for (double step : probe.videoFrameSteps())
        QVERIFY2(qAbs(step - 1.0 / frameRate) < 0.0025, qPrintable(QString::number(step)));
}

QTEST_GUILESS_MAIN(TestEngineWorkerInputs)
#include "tst_engine_worker_inputs.moc"
