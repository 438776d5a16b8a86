#include "ProfileCompatibility.h"
#include "ProfileTable.h"
#include "TranscodeEnumNames.h"
#include "TranscodeEstimator.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QtTest>

using namespace kvt;

class TestEngineProfiles : public QObject
{
    Q_OBJECT

private slots:
    void everyProfile_hasUsableEncodersAndMuxer_data();
    void everyProfile_hasUsableEncodersAndMuxer();
    void lookup_rejectsValuesOutsideTheTable();
    void fitResolution_data();
    void fitResolution();
    void frameRate_data();
    void frameRate();
    void bitrate_data();
    void bitrate();
    void estimate_data();
    void estimate();
    void compatibility_atTheLimits_data();
    void compatibility_atTheLimits();
};

void TestEngineProfiles::everyProfile_hasUsableEncodersAndMuxer_data()
{
    QTest::addColumn<int>("profile");
    for (int p = DP_Mobile; p < _DP_count_; ++p)
        QTest::newRow(deviceProfileName(p)) << p;
}

void TestEngineProfiles::everyProfile_hasUsableEncodersAndMuxer()
{
    QFETCH(int, profile);
    const DeviceProfileSpec* spec = findDeviceProfile(profile);
    QVERIFY(spec);
    QCOMPARE(int(spec->profile), profile);
    QCOMPARE(QString(spec->name), QString(deviceProfileName(profile)));
    const AVCodec* video = avcodec_find_encoder_by_name(spec->videoEncoder);
    QVERIFY2(video, spec->videoEncoder);
    QCOMPARE(QString(avcodec_get_name(video->id)), QString(spec->videoCodecName));
    QVERIFY2(avcodec_find_encoder_by_name(spec->audioEncoder), spec->audioEncoder);
    QVERIFY2(av_guess_format(spec->containerFormat, nullptr, nullptr), spec->containerFormat);
    QVERIFY(profileAcceptsAudio(*spec, spec->audioCodecs[0]));
    QVERIFY(spec->videoBitrate <= spec->videoBitrateMax);
    QVERIFY(spec->maxWidth % 2 == 0 && spec->maxHeight % 2 == 0);
    QVERIFY(QString(spec->extension).startsWith('.'));
}

void TestEngineProfiles::lookup_rejectsValuesOutsideTheTable()
{
    QVERIFY(!findDeviceProfile(-1));
    QVERIFY(!findDeviceProfile(_DP_count_));
    QVERIFY(findDeviceProfile(DP_KavoPlusHD));
    QCOMPARE(QString(findDeviceProfile(DP_KavoPlusHD)->extension), QString(".mkv"));
    QCOMPARE(QString(findDeviceProfile(DP_Mobile)->extension), QString(".kavo"));
}

void TestEngineProfiles::fitResolution_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("inW");
    QTest::addColumn<int>("inH");
    QTest::addColumn<int>("outW");
    QTest::addColumn<int>("outH");
    QTest::newRow("1080p to mobile") << 0 << 1920 << 1080 << 320 << 180;
    QTest::newRow("4:3 fills mobile") << 0 << 640 << 480 << 320 << 240;
    QTest::newRow("small is not enlarged") << 1 << 320 << 240 << 320 << 240;
    QTest::newRow("odd size becomes even") << 3 << 641 << 481 << 642 << 482;
    QTest::newRow("odd size at the limit stays inside") << 3 << 719 << 577 << 718 << 576;
    QTest::newRow("PAL anamorphic 16:9 shown 1024 wide") << 3 << 1024 << 576 << 720 << 406;
    QTest::newRow("tall portrait video") << 4 << 1080 << 1920 << 608 << 1080;
    QTest::newRow("2160p to 1080 profile") << 4 << 3840 << 2160 << 1920 << 1080;
    QTest::newRow("tiny") << 0 << 1 << 1 << 2 << 2;
    QTest::newRow("zero size") << 0 << 0 << 480 << 0 << 0;
    QTest::newRow("negative size") << 0 << -640 << 480 << 0 << 0;
}

void TestEngineProfiles::fitResolution()
{
    QFETCH(int, profile);
    QFETCH(int, inW);
    QFETCH(int, inH);
    QFETCH(int, outW);
    QFETCH(int, outH);
    int w = -1, h = -1;
    const bool ok = kvt::fitResolution(*findDeviceProfile(profile), inW, inH, w, h);
    QCOMPARE(ok, outW > 0);
    QCOMPARE(w, outW);
    QCOMPARE(h, outH);
}

void TestEngineProfiles::frameRate_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("num");
    QTest::addColumn<int>("den");
    QTest::addColumn<int>("outNum");
    QTest::addColumn<int>("outDen");
    QTest::newRow("25 kept") << 0 << 25 << 1 << 25 << 1;
    QTest::newRow("NTSC kept") << 1 << 30000 << 1001 << 30000 << 1001;
    QTest::newRow("59.94 halved for 30 fps profile") << 1 << 60000 << 1001 << 60000 << 2002;
    QTest::newRow("59.94 kept for 60 fps profile") << 2 << 60000 << 1001 << 60000 << 1001;
    QTest::newRow("120 capped") << 1 << 120 << 1 << 30 << 1;
    QTest::newRow("unknown") << 0 << 0 << 0 << 25 << 1;
    QTest::newRow("broken time base") << 0 << 90000 << 1 << 25 << 1;
}

void TestEngineProfiles::frameRate()
{
    QFETCH(int, profile);
    QFETCH(int, num);
    QFETCH(int, den);
    QFETCH(int, outNum);
    QFETCH(int, outDen);
    int n = 0, d = 0;
    outputFrameRate(*findDeviceProfile(profile), num, den, n, d);
    QCOMPARE(n, outNum);
    QCOMPARE(d, outDen);
}

void TestEngineProfiles::bitrate_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<double>("fps");
    QTest::addColumn<qint64>("bitrate");
    QTest::newRow("mobile full size") << 0 << 320 << 240 << 25.0 << qint64(480000);
    QTest::newRow("mobile capped at target") << 0 << 320 << 240 << 60.0 << qint64(640000);
    QTest::newRow("HD1080 full size capped") << 1 << 1920 << 1080 << 30.0 << qint64(12000000);
    QTest::newRow("small picture floor") << 1 << 64 << 48 << 25.0 << qint64(200000);
    QTest::newRow("unknown fps counts as 25") << 0 << 320 << 240 << 0.0 << qint64(480000);
}

void TestEngineProfiles::bitrate()
{
    QFETCH(int, profile);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(double, fps);
    QFETCH(qint64, bitrate);
    const DeviceProfileSpec& spec = *findDeviceProfile(profile);
    const int64_t got = targetVideoBitrate(spec, w, h, fps);
    QCOMPARE(qint64(got), bitrate);
    QVERIFY(got <= spec.videoBitrateMax);
}

void TestEngineProfiles::estimate_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("withAudio");
    QTest::addColumn<int>("outW");
    QTest::addColumn<int>("outH");
    QTest::addColumn<qint64>("videoBitrate");
    QTest::addColumn<qint64>("audioBitrate");
    // A 1280x720 25 fps Windows Media source, converted by every profile.
    QTest::newRow("mobile with audio")
        << int(DP_Mobile) << 10 << true << 320 << 180 << qint64(360000) << qint64(128000);
    QTest::newRow("mobile silent")
        << int(DP_Mobile) << 10 << false << 320 << 180 << qint64(360000) << qint64(0);
    QTest::newRow("Plus HD with audio")
        << int(DP_KavoPlusHD) << 4 << true << 1280 << 720 << qint64(2764800) << qint64(160000);
    QTest::newRow("Plus HD silent")
        << int(DP_KavoPlusHD) << 4 << false << 1280 << 720 << qint64(2764800) << qint64(0);
    QTest::newRow("zero length") << int(DP_KavoPlusHD) << 0 << true << 1280 << 720
                                 << qint64(2764800) << qint64(160000);
}

void TestEngineProfiles::estimate()
{
    QFETCH(int, profile);
    QFETCH(int, seconds);
    QFETCH(bool, withAudio);
    QFETCH(int, outW);
    QFETCH(int, outH);
    QFETCH(qint64, videoBitrate);
    QFETCH(qint64, audioBitrate);

    MediaInfo info;
    info.resultCode = SUCCESS;
    info.containerName = "asf";
    info.extension = ".wmv";
    info.durationUs = uint64_t(seconds) * 1000000;
    info.fileSize = 123456789;
    VideoTrackInfo video;
    video.codec = VC_WMV;
    video.codecName = "wmv2";
    video.codedWidth = video.displayWidth = 1280;
    video.codedHeight = video.displayHeight = 720;
    video.fpsNum = 25;
    video.fpsDen = 1;
    info.video.push_back(video);
    if (withAudio) {
        AudioTrackInfo audio;
        audio.codec = AC_WMA;
        audio.codecName = "wmav2";
        audio.channels = 2;
        audio.sampleRate = 44100;
        audio.bitrate = 128000;
        info.audio.push_back(audio);
    }

    const TranscodePlan plan = TranscodeEstimator::plan(info, *findDeviceProfile(profile));
    QVERIFY(!plan.passThrough);
    QCOMPARE(plan.width, outW);
    QCOMPARE(plan.height, outH);
    QCOMPARE(plan.fpsNum, 25);
    QCOMPARE(plan.fpsDen, 1);
    QCOMPARE(qint64(plan.videoBitrate), videoBitrate);
    QCOMPARE(qint64(plan.audioBitrate), audioBitrate);
    // The size holds the streams at their bit rates plus a container overhead of a few
    // percent; nothing to write for no time.
    const qint64 payload = (videoBitrate + audioBitrate) / 8 * seconds;
    if (seconds == 0) {
        QCOMPARE(plan.estimatedBytes, uint64_t(0));
    } else {
        QVERIFY2(qint64(plan.estimatedBytes) >= payload, qPrintable(QString::number(payload)));
        QVERIFY(qint64(plan.estimatedBytes) <= payload + payload / 20 + 100000);
    }
}

void TestEngineProfiles::compatibility_atTheLimits_data()
{
    QTest::addColumn<int>("extraWidth");
    QTest::addColumn<int>("extraFps");
    QTest::addColumn<qint64>("extraBitrate");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("extraChannels");
    QTest::addColumn<int>("misfit");
    QTest::newRow("exactly at every limit") << 0 << 0 << qint64(0) << ".avi" << 0 << int(CR_NONE);
    QTest::newRow("2 pixels wider") << 2 << 0 << qint64(0) << ".avi" << 0 << int(CR_PICTURE_SIZE);
    QTest::newRow("1 frame per second faster")
        << 0 << 1 << qint64(0) << ".avi" << 0 << int(CR_FRAME_RATE);
    QTest::newRow("1 bit/s more") << 0 << 0 << qint64(1) << ".avi" << 0 << int(CR_VIDEO_BITRATE);
    QTest::newRow("another container") << 0 << 0 << qint64(0) << ".mkv" << 0 << int(CR_CONTAINER);
    QTest::newRow("surround audio") << 0 << 0 << qint64(0) << ".avi" << 4 << int(CR_AUDIO_CHANNELS);
}

// A mobile-profile AVI right at the profile's limits plays as it is; one step over any limit
// needs a conversion, and the misfit names that limit.
void TestEngineProfiles::compatibility_atTheLimits()
{
    QFETCH(int, extraWidth);
    QFETCH(int, extraFps);
    QFETCH(qint64, extraBitrate);
    QFETCH(QString, extension);
    QFETCH(int, extraChannels);
    QFETCH(int, misfit);
    const DeviceProfileSpec& spec = *findDeviceProfile(DP_Mobile);
    MediaInfo info;
    info.resultCode = SUCCESS;
    info.containerName = extension == ".avi" ? "avi" : "matroska,webm";
    info.extension = extension.toStdString();
    VideoTrackInfo video;
    video.codec = spec.videoCodec;
    video.codecName = spec.videoCodecName;
    video.codedWidth = spec.maxWidth + extraWidth;
    video.codedHeight = spec.maxHeight;
    video.fpsNum = spec.maxFps + extraFps;
    video.fpsDen = 1;
    video.pixelFormat = AV_PIX_FMT_YUV420P;
    video.bitrate = spec.videoBitrateMax + extraBitrate;
    info.video.push_back(video);
    AudioTrackInfo audio;
    audio.codec = spec.audioCodecs[0];
    audio.channels = spec.audioChannels + extraChannels;
    audio.bitrate = spec.audioBitrateMax;
    info.audio.push_back(audio);
    ProfileCompatibility::Misfit found;
    const bool fits = ProfileCompatibility::check(info, spec, &found);
    QVERIFY2(fits == (misfit == CR_NONE), found.text.c_str());
    QCOMPARE(int(found.code), misfit);
    QCOMPARE(found.text.empty(), fits);
}

QTEST_APPLESS_MAIN(TestEngineProfiles)
#include "test_engine_profiles.moc"
