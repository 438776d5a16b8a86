#include "MediaProbe.h"
#include "OutputReader.h"
#include "TestClips.h"
#include "TranscodeEngine.h"
#include "TranscodeEngineInfo.h"
#include "TranscodeEnumNames.h"
#include "TranscodeEnums.h"
#include "WorkerRun.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
}

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace kvt;

using SourceList = std::vector<kvtl::RefCountedPtr<ISourceMedia>>;

class TestEngineAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void analysis_resultCodes_data();
    void analysis_resultCodes();
    void analysis_unreadableFile_isPermissionDenied();
    void analysis_truncatedAvi_neverCrashes();
    void analysis_cancelledBeforeStart_returnsAborted();
    void analysis_overTimeLimit_stops();
    void analysis_reportsTracks();
    void analysis_libraryErrorsMapToEngineCodes_data();
    void analysis_libraryErrorsMapToEngineCodes();

    void compatibility_data();
    void compatibility();

    void estimates_passThrough_useFileSizeAndNoTime();
    void estimates_conversion_fitResolutionAndGrowWithDuration();
    void outputSettings_rejectBadValues();

    void engine_init_findsWorker_data();
    void engine_init_findsWorker();
    void engine_fileTypesAndText();

private:
    SourceList analyse(const QString& path, int32_t* code = nullptr);
    QString clip(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

SourceList TestEngineAnalysis::analyse(const QString& path, int32_t* code)
{
    kvtl::RefCountedPtr<ITranscodeSession> session;
    CreateTranscodeSession(session);
    SourceList sources;
    int32_t streams = -1, flags = -1;
    const int32_t rc =
        session->CreateMediaSource(path.toStdU16String(), streams, flags, u"", sources);
    if (code)
        *code = rc;
    return sources;
}

void TestEngineAnalysis::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString d = m_dir.path();
    const QStringList mpeg4Mp3 = {"-c:v", "mpeg4", "-b:v", "400k", "-c:a", "libmp3lame",
                                  "-b:a", "128k",  "-ac",  "2",    "-ar",  "44100"};
    QVERIFY(!TestClips(d).picture("mobile.avi", 320, 240, 2, mpeg4Mp3).isEmpty());
    QVERIFY(!TestClips(d).picture("vga.avi", 640, 480, 2, mpeg4Mp3).isEmpty());
    QVERIFY(!TestClips(d).picture("silent.avi", 320, 240, 2, {"-c:v", "mpeg4"}, false).isEmpty());
    QVERIFY(!TestClips(d).picture("fast.avi", 320, 240, 1, mpeg4Mp3, true, 60).isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("highrate.avi", 320, 240, 2,
                          {"-c:v", "mpeg4", "-b:v", "3M", "-minrate", "3M", "-maxrate", "3M",
                           "-bufsize", "1M", "-c:a", "libmp3lame", "-b:a", "128k"})
                 .isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("mp3-320k.avi", 320, 240, 2,
                          {"-c:v", "mpeg4", "-c:a", "libmp3lame", "-b:a", "320k"})
                 .isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("ac3.avi", 640, 480, 2, {"-c:v", "mpeg4", "-c:a", "ac3", "-ac", "2"})
                 .isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("ac3-51.avi", 640, 480, 2, {"-c:v", "mpeg4", "-c:a", "ac3", "-ac", "6"})
                 .isEmpty());
    // x264's fastest preset writes Constrained Baseline whatever profile is asked for; "superfast"
    // keeps CABAC and B-frames, so the clips are the Main and High they are named after. Level 3.1
    // fits every H.264 profile, so only the profile decides.
    const QStringList h264 = {"-c:v",   "libx264", "-preset",  "superfast",
                              "-level", "3.1",     "-pix_fmt", "yuv420p"};
    const QStringList h264High = h264 + QStringList{"-profile:v", "high", "-c:a", "aac"};
    QVERIFY(!TestClips(d).picture("high.mkv", 640, 360, 2, h264High).isEmpty());
    QVERIFY(!TestClips(d).picture("high.mp4", 640, 360, 2, h264High).isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("main.mp4", 640, 360, 2,
                          h264 + QStringList{"-profile:v", "main", "-c:a", "aac"})
                 .isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("aac-51.mkv", 640, 360, 2, h264High + QStringList{"-ac", "6"})
                 .isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("ac3-51.mkv", 640, 360, 2,
                          h264 + QStringList{"-profile:v", "high", "-c:a", "ac3", "-ac", "6"})
                 .isEmpty());
    QVERIFY(!TestClips(d)
                 .picture("high444.mkv", 640, 360, 2,
                          {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv444p", "-c:a",
                           "aac"})
                 .isEmpty());
    QVERIFY(!TestClips(d).picture("long.mp4", 640, 480, 8, h264High).isEmpty());
    QVERIFY(!TestClips(d)
                 .make("tone.m4a",
                       {"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-c:a", "aac"})
                 .isEmpty());

    // The compatibility rows rest on these: a clip that is not what its name says stops here.
    const struct
    {
        const char* file;
        int profile;
        int channels;
    } expected[] = {{"high.mp4", FF_PROFILE_H264_HIGH, 1},
                    {"high.mkv", FF_PROFILE_H264_HIGH, 1},
                    {"main.mp4", FF_PROFILE_H264_MAIN, 1},
                    {"aac-51.mkv", FF_PROFILE_H264_HIGH, 6},
                    {"ac3-51.mkv", FF_PROFILE_H264_HIGH, 6},
                    {"high444.mkv", FF_PROFILE_H264_HIGH_444_PREDICTIVE, 1},
                    {"ac3-51.avi", FF_PROFILE_UNKNOWN, 6}};
    for (const auto& e : expected) {
        OutputReader r;
        QVERIFY2(r.read(clip(e.file)), qPrintable(r.error()));
        const int profile = r.first("video") ? r.first("video")->profile : 0;
        const int channels = r.first("audio") ? r.first("audio")->channels : 0;
        if (e.profile != FF_PROFILE_UNKNOWN)
            QVERIFY2(profile == e.profile,
                     qPrintable(QString("%1 has profile %2").arg(e.file).arg(profile)));
        QVERIFY2(channels == e.channels,
                 qPrintable(QString("%1 has %2 channels").arg(e.file).arg(channels)));
    }

    // Broken and misleading files.
    QFile empty(clip("empty.avi"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile text(clip("text.avi"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("This is not a video file, only a shopping list.\nmilk\neggs\n");
    text.close();
    QFile garbage(clip("noise.mp4"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    QByteArray noise(256 * 1024, Qt::Uninitialized);
    quint32 x = 12345;
    for (char& c : noise) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    garbage.write(noise);
    garbage.close();
    // An MP4 cut in half loses its index (written at the end).
    QFile whole(clip("long.mp4"));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(clip("truncated.mp4"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();
    QVERIFY(QDir(m_dir.path()).mkdir("folder.avi"));
    // Opening either of these for reading would block or never end.
    QVERIFY(::mkfifo(QFile::encodeName(clip("pipe.avi")).constData(), 0600) == 0);
    QVERIFY(QFile::link("/dev/zero", clip("zeros.mp4")));
}

void TestEngineAnalysis::analysis_resultCodes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("hasSource");
    QTest::newRow("good AVI") << "mobile.avi" << int(SUCCESS) << true;
    QTest::newRow("good MKV") << "high.mkv" << int(SUCCESS) << true;
    QTest::newRow("video without audio") << "silent.avi" << int(SUCCESS) << true;
    QTest::newRow("missing file") << "nothere.avi" << int(CRTL_FILE_DOES_NOT_EXIST) << false;
    QTest::newRow("zero bytes") << "empty.avi" << int(ENG_UNSUPPORTED_FILE_TYPE) << false;
    QTest::newRow("text named .avi") << "text.avi" << int(ENG_UNSUPPORTED_FILE_TYPE) << false;
    QTest::newRow("random bytes named .mp4")
        << "noise.mp4" << int(ENG_UNSUPPORTED_FILE_TYPE) << false;
    QTest::newRow("MP4 without its index")
        << "truncated.mp4" << int(ENG_UNSUPPORTED_FILE_TYPE) << false;
    QTest::newRow("audio only") << "tone.m4a" << int(ENG_INVALID_VID_STREAM) << false;
    QTest::newRow("a directory") << "folder.avi" << int(ENG_UNSUPPORTED_FILE_TYPE) << false;
    QTest::newRow("a named pipe") << "pipe.avi" << int(ENG_UNSUPPORTED_FILE_TYPE) << false;
    QTest::newRow("link to endless zeros")
        << "zeros.mp4" << int(ENG_UNSUPPORTED_FILE_TYPE) << false;
}

void TestEngineAnalysis::analysis_resultCodes()
{
    QFETCH(QString, file);
    QFETCH(int, code);
    QFETCH(bool, hasSource);
    int32_t rc = NOT_SET;
    const SourceList sources = analyse(clip(file), &rc);
    QCOMPARE(QString(resultCodeName(rc)), QString(resultCodeName(code)));
    QCOMPARE(sources.size(), size_t(hasSource ? 1 : 0));
    if (hasSource) {
        std::u16string name;
        QCOMPARE(sources[0]->GetFileName(name), int32_t(SUCCESS));
        QCOMPARE(QString::fromStdU16String(name), clip(file));
    }
}

void TestEngineAnalysis::analysis_unreadableFile_isPermissionDenied()
{
    if (::geteuid() == 0)
        QSKIP("root reads every file");
    const QString path = clip("locked.avi");
    QVERIFY(QFile::copy(clip("mobile.avi"), path));
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    int32_t rc = NOT_SET;
    QVERIFY(analyse(path, &rc).empty());
    QCOMPARE(rc, int32_t(CRTL_FILE_PERMISSION_DENIED));
}

void TestEngineAnalysis::analysis_truncatedAvi_neverCrashes()
{
    // An AVI cut short keeps its header: it is analysed (and later converted
    // as far as it goes) or refused with a code, never a crash.
    QFile whole(clip("vga.avi"));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    for (int cut : {64, 4096, int(bytes.size() / 3)}) {
        const QString path = clip(QString("cut%1.avi").arg(cut));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.left(cut));
        f.close();
        int32_t rc = NOT_SET;
        const SourceList sources = analyse(path, &rc);
        QVERIFY2(rc != NOT_SET, qPrintable(path));
        if (sources.empty())
            QVERIFY2(rc != SUCCESS, qPrintable(path));
    }
}

void TestEngineAnalysis::analysis_cancelledBeforeStart_returnsAborted()
{
    kvtl::RefCountedPtr<ITranscodeSession> session;
    CreateTranscodeSession(session);
    QCOMPARE(session->Cancel(), int32_t(SUCCESS));
    SourceList sources;
    int32_t streams = 0, flags = 0;
    QCOMPARE(session->CreateMediaSource(clip("mobile.avi").toStdU16String(), streams, flags, u"",
                                        sources),
             int32_t(Aborted));
    QVERIFY(sources.empty());
}

void TestEngineAnalysis::analysis_overTimeLimit_stops()
{
    // The limit that keeps a stalled or hostile file from hanging analysis.
    MediaProbe probe(nullptr, std::chrono::milliseconds(0));
    MediaInfo info;
    QCOMPARE(probe.probe(clip("vga.avi").toStdU16String(), info), int32_t(ENG_ANALYSIS));
    QVERIFY(info.video.empty());
    QVERIFY(!info.details.empty());
}

void TestEngineAnalysis::analysis_reportsTracks()
{
    int32_t rc = NOT_SET;
    SourceList sources = analyse(clip("vga.avi"), &rc);
    QCOMPARE(rc, int32_t(SUCCESS));
    ISourceMedia* s = sources.at(0).get();
    int32_t count = -1;
    QCOMPARE(s->GetVideoTrackCount(count), int32_t(SUCCESS));
    QCOMPARE(count, 1);
    kvtl::RefCountedPtr<ISourceMediaVideoTrack> track;
    QCOMPARE(s->GetVideoTrack(0, track), int32_t(SUCCESS));
    int32_t w = 0, h = 0;
    track->GetWidth(w);
    track->GetHeight(h);
    QCOMPARE(w, 640);
    QCOMPARE(h, 480);
    int32_t codec = -2;
    track->GetCodec(codec);
    QCOMPARE(codec, int32_t(VC_ASP));
    QCOMPARE(s->GetVideoTrack(1, track), int32_t(ENG_OUTOFRANGE_ERR));

    QCOMPARE(s->GetAudioTrackCount(count), int32_t(SUCCESS));
    QCOMPARE(count, 1);
    kvtl::RefCountedPtr<ISourceMediaAudioTrack> audio;
    QCOMPARE(s->GetAudioTrack(0, audio), int32_t(SUCCESS));
    audio->GetCodec(codec);
    QCOMPARE(codec, int32_t(AC_MP3));
    int32_t channels = 0;
    audio->GetChannels(channels);
    QCOMPARE(channels, 2);

    uint64_t duration = 0;
    s->GetDuration(duration);
    QVERIFY2(duration > 1800000 && duration < 2300000, qPrintable(QString::number(duration)));
    uint64_t size = 0;
    s->GetFileSize(size);
    QCOMPARE(qint64(size), QFileInfo(clip("vga.avi")).size());
}

void TestEngineAnalysis::analysis_libraryErrorsMapToEngineCodes_data()
{
    QTest::addColumn<int>("averror");
    QTest::addColumn<int>("code");
    QTest::newRow("no such file") << AVERROR(ENOENT) << int(CRTL_FILE_DOES_NOT_EXIST);
    QTest::newRow("access denied") << AVERROR(EACCES) << int(CRTL_FILE_PERMISSION_DENIED);
    QTest::newRow("invalid data") << AVERROR_INVALIDDATA << int(ENG_UNSUPPORTED_FILE_TYPE);
    QTest::newRow("no demuxer") << AVERROR_DEMUXER_NOT_FOUND << int(ENG_UNSUPPORTED_FILE_TYPE);
    QTest::newRow("no decoder") << AVERROR_DECODER_NOT_FOUND << int(ENG_DECODER);
    QTest::newRow("interrupted") << AVERROR_EXIT << int(Aborted);
    QTest::newRow("disk full") << AVERROR(ENOSPC) << int(ENG_WRITING_ERROR);
    QTest::newRow("anything else") << AVERROR(ENOMEM) << int(ENG_ERR);
}

void TestEngineAnalysis::analysis_libraryErrorsMapToEngineCodes()
{
    QFETCH(int, averror);
    QFETCH(int, code);
    QCOMPARE(MediaProbe::resultFromAvError(averror), int32_t(code));
}

void TestEngineAnalysis::compatibility_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("profile");
    QTest::addColumn<bool>("compatible");
    QTest::newRow("mobile clip on mobile") << "mobile.avi" << int(DP_Mobile) << true;
    QTest::newRow("mobile clip on home theater") << "mobile.avi" << int(DP_HomeTheater) << true;
    QTest::newRow("silent clip on mobile") << "silent.avi" << int(DP_Mobile) << true;
    QTest::newRow("VGA too large for mobile") << "vga.avi" << int(DP_Mobile) << false;
    QTest::newRow("VGA on home theater") << "vga.avi" << int(DP_HomeTheater) << true;
    QTest::newRow("60 fps on mobile") << "fast.avi" << int(DP_Mobile) << false;
    QTest::newRow("60 fps on HD720") << "fast.avi" << int(DP_HD720) << true;
    QTest::newRow("3 Mbit/s on mobile") << "highrate.avi" << int(DP_Mobile) << false;
    QTest::newRow("3 Mbit/s on home theater") << "highrate.avi" << int(DP_HomeTheater) << true;
    QTest::newRow("MP3 at 320k on mobile") << "mp3-320k.avi" << int(DP_Mobile) << false;
    QTest::newRow("AC-3 on mobile") << "ac3.avi" << int(DP_Mobile) << false;
    QTest::newRow("AC-3 on home theater") << "ac3.avi" << int(DP_HomeTheater) << true;
    QTest::newRow("5.1 AC-3 on home theater") << "ac3-51.avi" << int(DP_HomeTheater) << true;
    QTest::newRow("5.1 AC-3 MKV on Plus HD") << "ac3-51.mkv" << int(DP_KavoPlusHD) << true;
    QTest::newRow("5.1 AAC MKV on Plus HD") << "aac-51.mkv" << int(DP_KavoPlusHD) << false;
    QTest::newRow("H.264 MKV on Plus HD") << "high.mkv" << int(DP_KavoPlusHD) << true;
    QTest::newRow("H.264 MKV on HD1080") << "high.mkv" << int(DP_HD1080) << false;
    QTest::newRow("H.264 MP4 on Plus HD") << "high.mp4" << int(DP_KavoPlusHD) << false;
    QTest::newRow("4:4:4 H.264 on Plus HD") << "high444.mkv" << int(DP_KavoPlusHD) << false;
    QTest::newRow("High MP4 on iPad") << "high.mp4" << int(DP_iPadMP4H264) << true;
    QTest::newRow("High MP4 on iPhone") << "high.mp4" << int(DP_iPhoneMP4H264) << false;
    QTest::newRow("Main MP4 on iPhone") << "main.mp4" << int(DP_iPhoneMP4H264) << true;
    QTest::newRow("MPEG-4 AVI on iPad") << "mobile.avi" << int(DP_iPadMP4H264) << false;
}

void TestEngineAnalysis::compatibility()
{
    QFETCH(QString, file);
    QFETCH(int, profile);
    QFETCH(bool, compatible);
    int32_t rc = NOT_SET;
    SourceList sources = analyse(clip(file), &rc);
    QCOMPARE(rc, int32_t(SUCCESS));
    bool answer = !compatible;
    QCOMPARE(sources.at(0)->IsCompatible(profile, answer), int32_t(SUCCESS));
    QCOMPARE(answer, compatible);
    QCOMPARE(sources.at(0)->IsCompatible(_DP_count_, answer), int32_t(ENG_OUTOFRANGE_ERR));
}

// Prepares a session for file and profile as the converter does; returns the
// properties.
static kvtl::RefCountedPtr<ITranscodeOutputProperties>
prepare(const QString& file, int profile, int reqW, int reqH, int32_t* rcOut = nullptr)
{
    kvtl::RefCountedPtr<ITranscodeSession> analysis;
    CreateTranscodeSession(analysis);
    SourceList sources;
    int32_t a = 0, b = 0;
    analysis->CreateMediaSource(file.toStdU16String(), a, b, u"", sources);
    kvtl::RefCountedPtr<ITranscodeOutputProperties> props;
    if (sources.empty())
        return props;
    kvtl::RefCountedPtr<ITranscodeOutputSettings> settings;
    CreateDefaultTranscodeOutputSettings(profile, settings);
    if (reqW || reqH)
        settings->SetResolution(reqW, reqH);
    kvtl::RefCountedPtr<ITranscodeSession> session;
    CreateTranscodeSession(session);
    session->AddSource(sources[0].get());
    session->SetOutputSettings(settings.get());
    const int32_t rc = session->GetOutputProperties(props);
    if (rcOut)
        *rcOut = rc;
    return props;
}

void TestEngineAnalysis::estimates_passThrough_useFileSizeAndNoTime()
{
    auto props = prepare(clip("mobile.avi"), DP_Mobile, 320, 240);
    QVERIFY(props);
    uint64_t size = 0;
    uint32_t seconds = 99;
    props->GetEstimatedOutputSize(size);
    props->GetEstimatedTranscodeTime(seconds);
    QCOMPARE(qint64(size), QFileInfo(clip("mobile.avi")).size());
    QCOMPARE(seconds, 0u);
    bool pass = false;
    props->IsPassThrough(pass);
    QVERIFY(pass);
}

void TestEngineAnalysis::estimates_conversion_fitResolutionAndGrowWithDuration()
{
    auto shortProps = prepare(clip("high.mp4"), DP_Mobile, 0, 0);
    auto longProps = prepare(clip("long.mp4"), DP_Mobile, 0, 0);
    QVERIFY(shortProps && longProps);
    int32_t w = 0, h = 0;
    shortProps->GetResolution(w, h);
    QCOMPARE(w, 320);
    QCOMPARE(h, 180);
    uint64_t shortSize = 0, longSize = 0;
    shortProps->GetEstimatedOutputSize(shortSize);
    longProps->GetEstimatedOutputSize(longSize);
    // 2 s of 320x180 at the mobile rate plus MP3 (about 125 kB) and the mpeg4
    // encoder's start-up excess (about 80 kB).
    QVERIFY2(shortSize > 150000 && shortSize < 260000, qPrintable(QString::number(shortSize)));
    QVERIFY(longSize > 3 * shortSize);
    uint32_t shortTime = 0, longTime = 0;
    shortProps->GetEstimatedTranscodeTime(shortTime);
    longProps->GetEstimatedTranscodeTime(longTime);
    QVERIFY(shortTime >= 1);
    QVERIFY(longTime >= shortTime);
    bool pass = true;
    shortProps->IsPassThrough(pass);
    QVERIFY(!pass);
}

void TestEngineAnalysis::outputSettings_rejectBadValues()
{
    kvtl::RefCountedPtr<ITranscodeOutputSettings> settings;
    QCOMPARE(CreateDefaultTranscodeOutputSettings(_DP_count_, settings),
             int32_t(ENG_OUTOFRANGE_ERR));
    QVERIFY(!settings);
    QCOMPARE(CreateDefaultTranscodeOutputSettings(-1, settings), int32_t(ENG_OUTOFRANGE_ERR));
    QCOMPARE(CreateDefaultTranscodeOutputSettings(DP_KavoPlusHD, settings), int32_t(SUCCESS));
    QCOMPARE(settings->SetResolution(640, 480), int32_t(SUCCESS));
    // A refused size leaves the last good one.
    QCOMPARE(settings->SetResolution(-2, 480), int32_t(ENG_INVALID_INPUT_ERR));
    QCOMPARE(settings->SetResolution(640, 0), int32_t(ENG_INVALID_INPUT_ERR));
    int32_t w = 0, h = 0;
    settings->GetResolution(w, h);
    QCOMPARE(w, 640);
    QCOMPARE(h, 480);
}

void TestEngineAnalysis::engine_init_findsWorker_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("code");
    QTest::newRow("directory") << "DIR" << int(SUCCESS);
    QTest::newRow("executable") << "DIR/KavoEngine" << int(SUCCESS);
    QTest::newRow("Windows name") << "DIR/KavoEngine.exe" << int(SUCCESS);
    QTest::newRow("empty: beside the program") << "" << int(SUCCESS);
    QTest::newRow("empty directory plus name") << "/KavoEngine.exe" << int(SUCCESS);
    QTest::newRow("missing directory") << "DIR/nowhere" << int(CRTL_FILE_DOES_NOT_EXIST);
    QTest::newRow("not executable") << "DIR/plain" << int(CRTL_FILE_DOES_NOT_EXIST);
}

void TestEngineAnalysis::engine_init_findsWorker()
{
    QFETCH(QString, given);
    QFETCH(int, code);
    QTemporaryDir dir;
    const QString fake = WorkerRun::writeFake(dir.path(), "exit 0\n");
    QFile plain(dir.filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    given.replace("DIR", dir.path());
    const bool besideUs = !given.startsWith(dir.path());
    if (besideUs && !QFileInfo::exists(QCoreApplication::applicationDirPath() + "/KavoEngine"))
        QSKIP("no KavoEngine beside the test program");

    kvtl::RefCountedPtr<ITranscodeEngineInfo> info;
    LoggerSettings logger;
    QCOMPARE(InitTranscodeEngine(given.toStdU16String(), &logger, info), int32_t(code));
    QCOMPARE(bool(info), code == SUCCESS);
    if (info) {
        std::u16string path;
        info->GetEnginePath(path);
        QCOMPARE(QString::fromStdU16String(path),
                 besideUs ? QCoreApplication::applicationDirPath() + "/KavoEngine" : fake);
    }
}

void TestEngineAnalysis::engine_fileTypesAndText()
{
    kvtl::RefCountedPtr<ITranscodeEngineInfo> info;
    QTemporaryDir dir;
    WorkerRun::writeFake(dir.path(), "exit 0\n");
    QCOMPARE(InitTranscodeEngine(dir.path().toStdU16String(), nullptr, info), int32_t(SUCCESS));
    std::string text;
    QCOMPARE(info->GetEngineText(text), int32_t(SUCCESS));
    // The label goes into the window title: versions of the libraries stay out of it.
    QVERIFY(!text.empty());
    QVERIFY(!QString::fromStdString(text).contains("lib"));
    QVERIFY(QString::fromStdString(TranscodeEngineInfo::libraryVersions()).contains("libavformat"));
    std::map<std::string, std::string> types;
    QCOMPARE(info->GetFileTypes(types), int32_t(SUCCESS));
    QVERIFY(types.size() >= 4);
    // The list of every type comes first, and reads naturally as "<name> files".
    QCOMPARE(types.begin()->first, std::string("All Video"));
    const QString all = QString::fromStdString(types.begin()->second);
    for (const char* p : {"*.avi", "*.mp4", "*.mkv", "*.mpg", "*.wmv", "*.kavo"})
        QVERIFY2(all.split(' ').contains(p), p);
    for (const auto& [name, patterns] : types) {
        QVERIFY(!name.empty());
        for (const QString& p : QString::fromStdString(patterns).split(' '))
            QVERIFY2(p.startsWith("*.") && p.size() > 2, qPrintable(p));
    }
}

QTEST_GUILESS_MAIN(TestEngineAnalysis)
#include "test_engine_analysis.moc"
