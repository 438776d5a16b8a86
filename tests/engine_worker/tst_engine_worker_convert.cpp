// Conversions by the KavoEngine worker for the device profiles, its progress
// lines, cancel by signal and a full disk.

#include "OutputReader.h"
#include "ProfileTable.h"
#include "TestClips.h"
#include "WorkerRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
constexpr int kCancelExit = kvt::Aborted & 0xff;
} // namespace

class TestEngineWorkerConvert : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void convert_writesPlayableFile_forProfile_data();
    void convert_writesPlayableFile_forProfile();
    void progress_risesTo100_andEndsWithDone();
    void requestedSize_letterboxesPicture();
    void requestedSize_isClampedToProfileLimits();
    void audio_staysInSyncWithPicture_data();
    void audio_staysInSyncWithPicture();
    void cancel_bySignal_leavesNeitherOutputNorTemp_data();
    void cancel_bySignal_leavesNeitherOutputNorTemp();
    void progressReaderGone_cancelsAndLeavesNoFile();
    void fullDisk_reportsWritingError_andLeavesNoTemp();
    void failure_keepsExistingOutputUntouched();
    void missingOutputFolder_reportsWritingError();

private:
    QString out(const QString& name) const { return m_dir.path() + "/" + name; }

    QTemporaryDir m_dir;
    QString m_clip;     // 640x360, 25 fps, 3 s, with audio
    QString m_longClip; // 640x360, 25 fps, 60 s: still running when cancelled
};

void TestEngineWorkerConvert::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFileInfo::exists(WorkerRun::enginePath()), qPrintable(WorkerRun::enginePath()));
    TestClips clips(m_dir.path());
    m_clip = clips.standard("clip.mp4", 640, 360, 3.0);
    QVERIFY2(!m_clip.isEmpty(), qPrintable(clips.lastError()));
    m_longClip = clips.standard("long.mp4", 640, 360, 60.0);
    QVERIFY2(!m_longClip.isEmpty(), qPrintable(clips.lastError()));
}

void TestEngineWorkerConvert::convert_writesPlayableFile_forProfile_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("videoCodec");
    QTest::addColumn<QString>("audioCodec");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    // A 640x360 source: shrunk to fit the phone, never enlarged for the others.
    const auto row = [](const char* tag, int profile, const char* container, const char* video,
                        const char* audio, int width, int height) {
        QTest::newRow(tag) << profile << QString(container) << QString(video) << QString(audio)
                           << width << height;
    };
    row("0 mobile", 0, "avi", "mpeg4", "mp3", 320, 180);
    row("1 hd1080", 1, "avi", "mpeg4", "mp3", 640, 360);
    row("3 home theater", 3, "avi", "mpeg4", "mp3", 640, 360);
    row("4 plus hd", 4, "matroska,webm", "h264", "aac", 640, 360);
}

void TestEngineWorkerConvert::convert_writesPlayableFile_forProfile()
{
    QFETCH(int, profile);
    QFETCH(QString, container);
    QFETCH(QString, videoCodec);
    QFETCH(QString, audioCodec);
    QFETCH(int, width);
    QFETCH(int, height);
    const kvt::DeviceProfileSpec* device = kvt::findDeviceProfile(profile);
    QVERIFY(device);

    const QString target = out(QString("profile%1%2").arg(profile).arg(device->extension));
    WorkerRun run;
    QVERIFY(
        run.run({"--input", m_clip, "--output", target, "--profile", QString::number(profile)}));
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(run.lastLine(), QString("DONE"));
    QVERIFY(QFileInfo::exists(target));
    QVERIFY(!QFileInfo::exists(target + ".temp"));

    OutputReader probe;
    QVERIFY2(probe.read(target), qPrintable(probe.error()));
    QCOMPARE(probe.formatName(), container);
    QCOMPARE(probe.streamCount("video"), 1);
    QCOMPARE(probe.streamCount("audio"), 1);
    const OutputReader::Stream* video = probe.first("video");
    const OutputReader::Stream* audio = probe.first("audio");
    QCOMPARE(video->codec, videoCodec);
    QCOMPARE(audio->codec, audioCodec);
    QCOMPARE(video->width, width);
    QCOMPARE(video->height, height);
    QVERIFY(video->width <= device->maxWidth && video->height <= device->maxHeight);
    QVERIFY(video->frameRate > 0 && video->frameRate <= device->maxFps + 0.01);
    QCOMPARE(audio->sampleRate, device->audioSampleRate);
    QCOMPARE(audio->channels, device->audioChannels);
    if (videoCodec == "mpeg4")
        QCOMPARE(video->tag, QString("XVID"));
    else
        QVERIFY2(video->level > 0 && video->level <= device->h264MaxLevel,
                 qPrintable(QString::number(video->level)));

    if (videoCodec == "h264")
        QCOMPARE(video->profile, device->h264Profile);
    // The rate the device was promised: near the target, never above the peak.
    const double videoBitrate = probe.videoBytes() * 8.0 / probe.durationSeconds();
    const double targetRate = double(kvt::targetVideoBitrate(*device, width, height, 25.0));
    QVERIFY2(videoBitrate <= device->videoBitrateMax && videoBitrate > 0.5 * targetRate &&
                 videoBitrate < 1.5 * targetRate,
             qPrintable(QString("%1 bit/s for a target of %2").arg(videoBitrate).arg(targetRate)));

    QVERIFY2(qAbs(probe.durationSeconds() - 3.0) <= 0.2,
             qPrintable(QString::number(probe.durationSeconds())));
    QCOMPARE(probe.decodeErrors(), 0);
    QVERIFY2(qAbs(probe.videoFrames() - 75) <= 1, qPrintable(QString::number(probe.videoFrames())));
    QVERIFY(probe.audioFrames() > 0);
}

void TestEngineWorkerConvert::progress_risesTo100_andEndsWithDone()
{
    WorkerRun run;
    QVERIFY(run.run({"--input", m_clip, "--output", out("progress.mkv"), "--profile", "4"}));
    QCOMPARE(run.exitCode(), 0);
    const QStringList lines = run.lines();
    QVERIFY(lines.size() >= 4);
    QCOMPARE(lines.first().section(' ', 0, 0), QString("DURATION"));
    const qint64 duration = lines.first().section(' ', 1, 1).toLongLong();
    QVERIFY2(qAbs(duration - 3000000) < 100000, qPrintable(lines.first()));

    int previousPercent = -1;
    qint64 previousUs = -1;
    int progressLines = 0;
    for (int i = 1; i < lines.size() - 1; ++i) {
        const QStringList parts = lines[i].split(' ');
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], QString("PROGRESS"));
        const int percent = parts[1].toInt();
        const qint64 us = parts[2].toLongLong();
        QVERIFY2(percent > previousPercent, qPrintable(lines[i]));
        QVERIFY2(us >= previousUs, qPrintable(lines[i]));
        QVERIFY(percent >= 0 && percent <= 100);
        previousPercent = percent;
        previousUs = us;
        ++progressLines;
    }
    QVERIFY(progressLines >= 10);
    QCOMPARE(previousPercent, 100);
    QCOMPARE(lines.last(), QString("DONE"));
}

void TestEngineWorkerConvert::requestedSize_letterboxesPicture()
{
    // 16:9 into a 720x576 frame: bands above and below, the picture not stretched.
    const QString target = out("letterbox.kavo");
    WorkerRun run;
    QVERIFY(run.run({"--input", m_clip, "--output", target, "--profile", "3", "--width", "720",
                     "--height", "576"}));
    QCOMPARE(run.exitCode(), 0);
    OutputReader probe;
    QVERIFY(probe.read(target));
    const OutputReader::Stream* video = probe.first("video");
    QVERIFY(video);
    QCOMPARE(video->width, 720);
    QCOMPARE(video->height, 576);
    QVERIFY(video->sarNum == 0 || video->sarNum == video->sarDen);
    QVERIFY2(probe.topRowLuma() < 24.0, qPrintable(QString::number(probe.topRowLuma())));
    QVERIFY2(probe.middleRowLuma() > 40.0, qPrintable(QString::number(probe.middleRowLuma())));
}

void TestEngineWorkerConvert::requestedSize_isClampedToProfileLimits()
{
    const QString target = out("clamped.kavo");
    WorkerRun run;
    QVERIFY(run.run({"--input", m_clip, "--output", target, "--profile", "0", "--width", "1921",
                     "--height", "1081"}));
    QCOMPARE(run.exitCode(), 0);
    OutputReader probe;
    QVERIFY(probe.read(target));
    QCOMPARE(probe.first("video")->width, 320);
    QCOMPARE(probe.first("video")->height, 240);
}

void TestEngineWorkerConvert::audio_staysInSyncWithPicture_data()
{
    // A white flash and a beep, both at 1.0 s of the source.
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("profile");
    TestClips clips(m_dir.path());
    const QStringList flash{"-f", "lavfi", "-i",
                            "color=black:size=320x240:rate=25:duration=3,"
                            "drawbox=color=white:thickness=fill:enable='between(t,1,1.2)'"};
    const auto beep = [](double at) {
        return QStringList{"-f", "lavfi", "-i",
                           QString("aevalsrc='if(between(t,%1,%2),0.8*sin(2*PI*1000*t),0)'"
                                   ":s=44100:d=3")
                               .arg(at)
                               .arg(at + 0.2)};
    };
    const QStringList encode{"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"};
    const QString aligned = clips.make("sync.mp4", flash + beep(1.0) + encode);
    // Audio that starts 0.4 s after the picture: the beep sits at 0.6 s of its own track.
    const QString late =
        clips.make("sync-late.mkv", flash + QStringList{"-itsoffset", "0.4"} + beep(0.6) + encode);
    // Audio that starts 0.4 s before the picture.
    const QString early =
        clips.make("sync-early.mkv", QStringList{"-itsoffset", "0.4"} + flash + beep(1.4) + encode);
    for (int profile : {0, 4}) {
        QTest::addRow("aligned, profile %d", profile) << aligned << profile;
        QTest::addRow("audio starts late, profile %d", profile) << late << profile;
        QTest::addRow("audio starts early, profile %d", profile) << early << profile;
    }
}

void TestEngineWorkerConvert::audio_staysInSyncWithPicture()
{
    QFETCH(QString, source);
    QFETCH(int, profile);
    QVERIFY(!source.isEmpty());
    OutputReader original;
    QVERIFY(original.read(source));
    const double sourceSkew = original.firstLoudSampleTime() - original.firstBrightPictureTime();
    QVERIFY2(qAbs(sourceSkew) < 0.03, qPrintable(QString::number(sourceSkew)));

    const QString target =
        out(QString("sync-%1%2").arg(profile).arg(kvt::findDeviceProfile(profile)->extension));
    WorkerRun run;
    QVERIFY(
        run.run({"--input", source, "--output", target, "--profile", QString::number(profile)}));
    QCOMPARE(run.exitCode(), 0);
    OutputReader probe;
    QVERIFY(probe.read(target));
    QVERIFY(probe.firstBrightPictureTime() >= 0);
    QVERIFY(probe.firstLoudSampleTime() >= 0);
    // Lip sync is lost to the eye beyond about 45 ms.
    const double skew = probe.firstLoudSampleTime() - probe.firstBrightPictureTime();
    QVERIFY2(qAbs(skew) <= 0.045, qPrintable(QString("picture %1 s, sound %2 s")
                                                 .arg(probe.firstBrightPictureTime())
                                                 .arg(probe.firstLoudSampleTime())));
}

void TestEngineWorkerConvert::cancel_bySignal_leavesNeitherOutputNorTemp_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("waitForProgress");
    QTest::newRow("SIGTERM while converting") << int(SIGTERM) << true;
    QTest::newRow("SIGINT while converting") << int(SIGINT) << true;
    QTest::newRow("SIGTERM right after opening") << int(SIGTERM) << false;
}

void TestEngineWorkerConvert::cancel_bySignal_leavesNeitherOutputNorTemp()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, waitForProgress);
    const QString target = out("cancelled.mkv");
    WorkerRun run;
    run.start({"--input", m_longClip, "--output", target, "--profile", "4"});
    if (waitForProgress)
        QTRY_VERIFY_WITH_TIMEOUT(run.lastPercent() >= 2, 30000);
    else
        QTRY_VERIFY_WITH_TIMEOUT(run.lines().size() >= 1, 30000);
    QVERIFY(run.process().state() == QProcess::Running);
    QVERIFY(run.lastPercent() < 90);
    ::kill(pid_t(run.process().processId()), signalNumber);
    QVERIFY(run.wait(20000));
    QVERIFY(!run.crashed());
    QCOMPARE(run.exitCode(), kCancelExit);
    QVERIFY2(run.lastLine().startsWith("ERROR -998 "), qPrintable(run.lastLine()));
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(!QFileInfo::exists(target + ".temp"));
}

void TestEngineWorkerConvert::progressReaderGone_cancelsAndLeavesNoFile()
{
    // The reader of the progress goes away after two lines: nobody will
    // collect the file, so the worker stops as if cancelled.
    const QString target = out("orphan.mkv");
    QProcess shell;
    shell.start("bash", {"-c", "\"$@\" | head -n 2 >/dev/null; exit ${PIPESTATUS[0]}", "_",
                         WorkerRun::enginePath(), "--input", m_longClip, "--output", target,
                         "--profile", "4"});
    QVERIFY(shell.waitForFinished(60000));
    QCOMPARE(shell.exitCode(), kCancelExit);
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(!QFileInfo::exists(target + ".temp"));
}

void TestEngineWorkerConvert::fullDisk_reportsWritingError_andLeavesNoTemp()
{
    // A file-size limit in the child makes writes fail with EFBIG, as a full
    // disk fails them with ENOSPC.
    const QString target = out("full.kavo");
    WorkerRun run;
    run.start({"--input", m_clip, "--output", target, "--profile", "1"}, [] {
        struct rlimit limit = {64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_IGN);
    });
    QVERIFY(run.wait());
    QVERIFY(!run.crashed());
    QCOMPARE(run.exitCode(), int(kvt::ENG_WRITING_ERROR));
    QVERIFY2(run.lastLine().startsWith("ERROR 136 "), qPrintable(run.lastLine()));
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(!QFileInfo::exists(target + ".temp"));
}

void TestEngineWorkerConvert::failure_keepsExistingOutputUntouched()
{
    const QString target = out("existing.kavo");
    const QString text = out("notavideo.avi");
    {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("previous conversion");
        QFile g(text);
        QVERIFY(g.open(QIODevice::WriteOnly));
        g.write("just some text, not a video\n");
    }
    WorkerRun run;
    QVERIFY(run.run({"--input", text, "--output", target, "--profile", "0"}));
    QVERIFY(run.exitCode() != 0);
    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("previous conversion"));
    QVERIFY(!QFileInfo::exists(target + ".temp"));
}

void TestEngineWorkerConvert::missingOutputFolder_reportsWritingError()
{
    const QString target = out("no such folder/out.kavo");
    WorkerRun run;
    QVERIFY(run.run({"--input", m_clip, "--output", target, "--profile", "0"}));
    QCOMPARE(run.exitCode(), int(kvt::ENG_WRITING_ERROR));
    QVERIFY2(run.lastLine().startsWith("ERROR 136 "), qPrintable(run.lastLine()));
    QVERIFY2(run.lastLine().contains("no such folder"), qPrintable(run.lastLine()));
}

QTEST_GUILESS_MAIN(TestEngineWorkerConvert)
#include "tst_engine_worker_convert.moc"
