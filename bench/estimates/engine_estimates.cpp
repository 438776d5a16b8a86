// Prints the engine's estimated output size and conversion time next to the
// real figures of conversions by the KavoEngine worker, over clips of
// different sizes, lengths and profiles. Goal: size within 10 %, time within
// 35 %.
//
//   engine_estimates [--keep DIR] [--quick]

#include "ProfileTable.h"
#include "TranscodeEngine.h"
#include "TranscodeEnumNames.h"
#include "TranscodeEnums.h"
#include "TranscodeEstimator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <sys/resource.h>
#include <thread>

using namespace kvt;

namespace {

// Waits for the end of one conversion without an event loop.
class WaitingCallback : public kvtl::RefCountedImpl<ITranscodeProgressCB>
{
public:
    int32_t OnProgress(ISourceMedia*, int32_t, int32_t, int32_t, double) override { return 0; }
    int32_t OnDone(ISourceMedia*, int32_t) override { return finish(0); }
    int32_t OnCancel() override { return finish(Aborted); }
    int32_t OnFatalError(ISourceMedia*, int32_t code) override { return finish(code); }

    int wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_finished; });
        return m_result;
    }

private:
    int32_t finish(int result)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_result = result;
        m_finished = true;
        m_cv.notify_all();
        return 0;
    }

    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_finished = false;
    int m_result = NOT_SET;
};

struct Case
{
    const char* name;
    int width;
    int height;
    int fps;
    int seconds;
    bool grain; // camera-like noise, which costs the encoder more bits
    int profile;
};

// Bit rate of the generated source, like a camera or phone of that size.
int sourceKbps(const Case& c)
{
    const double pixels = double(c.width) * c.height;
    return int(std::lround(pixels * c.fps * 0.2 / 1000.0));
}

double childCpuSeconds()
{
    rusage ru = {};
    getrusage(RUSAGE_CHILDREN, &ru);
    return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

bool makeClip(const QString& path, const Case& c)
{
    QString video = QString("testsrc2=size=%1x%2:rate=%3:duration=%4")
                        .arg(c.width)
                        .arg(c.height)
                        .arg(c.fps)
                        .arg(c.seconds);
    QStringList args = {
        "-hide_banner", "-loglevel",
        "error",        "-y",
        "-f",           "lavfi",
        "-i",           video,
        "-f",           "lavfi",
        "-i",           QString("sine=frequency=330:sample_rate=48000:duration=%1").arg(c.seconds)};
    if (c.grain)
        args << "-vf"
             << "noise=alls=6:allf=t";
    const QString rate = QString("%1k").arg(sourceKbps(c));
    args << "-c:v"
         << "libx264"
         << "-preset"
         << "veryfast"
         << "-b:v" << rate << "-maxrate" << rate << "-bufsize" << rate << "-pix_fmt"
         << "yuv420p"
         << "-c:a"
         << "aac"
         << "-b:a"
         << "160k" << path;
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", args);
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0;
}

QString loadAverage()
{
    QFile f("/proc/loadavg");
    if (!f.open(QIODevice::ReadOnly))
        return "unknown";
    return QString::fromLatin1(f.readAll()).section(' ', 0, 2);
}

double percentOff(double estimate, double actual)
{
    return actual > 0 ? 100.0 * (estimate - actual) / actual : 0.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool quick = args.contains("--quick");
    QTemporaryDir temp;
    QString dir = temp.path();
    const int keep = int(args.indexOf("--keep"));
    if (keep >= 0 && keep + 1 < args.size()) {
        dir = args.at(keep + 1);
        QDir().mkpath(dir);
    }

    kvtl::RefCountedPtr<ITranscodeEngineInfo> engine;
    if (InitTranscodeEngine(std::u16string(), nullptr, engine) != SUCCESS) {
        std::fprintf(stderr, "KavoEngine not found beside this program or in $KAVO_ENGINE_DIR\n");
        return 1;
    }

    // clang-format off
    std::vector<Case> cases = {
        {"VGA 10 s",          640,  480, 25, 10, false, DP_Mobile},
        {"VGA grain 10 s",    640,  480, 25, 10, true,  DP_Mobile},
        {"PAL grain 40 s",    720,  576, 25, 40, true,  DP_Mobile},
        {"VGA 30 s",          640,  480, 25, 30, false, DP_HomeTheater},
        {"720p grain 20 s",  1280,  720, 30, 20, true,  DP_HomeTheater},
        {"720p 20 s",        1280,  720, 30, 20, false, DP_HD1080},
        {"720p grain 20 s",  1280,  720, 30, 20, true,  DP_HD1080},
        {"720p grain 20 s",  1280,  720, 30, 20, true,  DP_KavoPlusHD},
        {"1080p 20 s",       1920, 1080, 25, 20, false, DP_KavoPlusHD},
        {"1080p grain 20 s", 1920, 1080, 25, 20, true,  DP_HD1080},
        {"720p grain 20 s",  1280,  720, 30, 20, true,  DP_iPhoneMP4H264},
    };
    // clang-format on
    if (quick)
        cases.resize(3);

    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::printf("%u cores, load average %s. Wall times grow with whatever else runs; the idle\n"
                "column spreads the worker's processor time over the cores instead.\n\n",
                cores, qPrintable(loadAverage()));
    std::printf("%-18s %-16s %9s %9s %7s %6s %7s %7s %7s %7s   %s\n", "clip", "profile", "est. kB",
                "real kB", "size %", "est. s", "wall s", "wall %", "idle s", "idle %",
                "px/s@rate in -> out");
    double worstSize = 0, worstTime = 0, sumSize = 0, sumTime = 0, worstIdle = 0, sumIdle = 0;
    int counted = 0;
    int timed = 0;
    for (const Case& c : cases) {
        const QString source = QDir(dir).filePath(QString("%1x%2-%3s%4.mp4")
                                                      .arg(c.width)
                                                      .arg(c.height)
                                                      .arg(c.seconds)
                                                      .arg(c.grain ? "-grain" : ""));
        if (!QFileInfo::exists(source) && !makeClip(source, c)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(source));
            return 1;
        }
        kvtl::RefCountedPtr<ITranscodeSession> analysis;
        CreateTranscodeSession(analysis);
        std::vector<kvtl::RefCountedPtr<ISourceMedia>> sources;
        int32_t a = 0, b = 0;
        if (analysis->CreateMediaSource(source.toStdU16String(), a, b, u"", sources) != SUCCESS) {
            std::fprintf(stderr, "analysis of %s failed\n", qPrintable(source));
            return 1;
        }
        kvtl::RefCountedPtr<ITranscodeOutputSettings> settings;
        CreateDefaultTranscodeOutputSettings(c.profile, settings);
        settings->SetResolution(c.width, c.height);
        kvtl::RefCountedPtr<ITranscodeSession> job;
        CreateTranscodeSession(job);
        job->AddSource(sources[0].get());
        job->SetOutputSettings(settings.get());
        job->SetTranscodeEngineInfo(engine.get());
        kvtl::RefCountedPtr<ITranscodeOutputProperties> props;
        job->GetOutputProperties(props);
        uint64_t estBytes = 0;
        uint32_t estSeconds = 0;
        int32_t ow = 0, oh = 0, fn = 0, fd = 1;
        props->GetEstimatedOutputSize(estBytes);
        props->GetEstimatedTranscodeTime(estSeconds);
        props->GetResolution(ow, oh);
        props->GetFrameRate(fn, fd);

        const QString output =
            QDir(dir).filePath(QString("out-%1-%2%3")
                                   .arg(c.profile)
                                   .arg(QFileInfo(source).completeBaseName(),
                                        findDeviceProfile(c.profile)->extension));
        kvtl::RefCountedPtr<WaitingCallback> cb(new WaitingCallback);
        QElapsedTimer timer;
        const double cpuBefore = childCpuSeconds();
        timer.start();
        if (job->StartTranscode(output.toStdU16String(), cb.get()) != SUCCESS) {
            std::fprintf(stderr, "cannot start %s\n", qPrintable(output));
            return 1;
        }
        const int result = cb->wait();
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double cpu = childCpuSeconds() - cpuBefore;
        if (result != SUCCESS) {
            std::fprintf(stderr, "conversion of %s failed: %s\n", qPrintable(source),
                         resultCodeName(result));
            return 1;
        }
        const double realBytes = double(QFileInfo(output).size());
        // The estimate is whole seconds; compare the time unrounded where the
        // rounding alone would dominate a short conversion.
        const double sizeOff = percentOff(double(estBytes), realBytes);
        const double timeOff = percentOff(double(estSeconds), seconds);
        // What the wall time would be with the machine to itself: the
        // worker's processor time spread over the cores it can use.
        const double idle = 0.15 + cpu / TranscodeEstimator::parallelSpeedup();
        const double idleOff = percentOff(double(estSeconds), idle);
        worstSize = std::max(worstSize, std::abs(sizeOff));
        sumSize += std::abs(sizeOff);
        // The estimate is in whole seconds (at least 1): below 2 s the
        // rounding alone is tens of percent, so those runs only show.
        if (idle >= 2.0 || seconds >= 2.0) {
            worstTime = std::max(worstTime, std::abs(timeOff));
            worstIdle = std::max(worstIdle, std::abs(idleOff));
            sumTime += std::abs(timeOff);
            sumIdle += std::abs(idleOff);
            ++timed;
        }
        ++counted;
        std::printf("%-18s %-16s %9.0f %9.0f %+6.1f%% %6u %7.2f %+6.1f%% %7.2f %+6.1f%%   "
                    "%.1fM@%dk -> %dx%d@%.2f\n",
                    c.name, deviceProfileName(c.profile), estBytes / 1000.0, realBytes / 1000.0,
                    sizeOff, estSeconds, seconds, timeOff, idle, idleOff,
                    double(c.width) * c.height * c.fps / 1e6, sourceKbps(c), ow, oh,
                    double(fn) / fd);
        std::fflush(stdout);
        if (keep < 0)
            QFile::remove(output);
    }
    std::printf("\nsize: worst %.1f %%, mean %.1f %% (goal 10 %%)\n", worstSize, sumSize / counted);
    timed = std::max(timed, 1);
    std::printf("time (conversions of 2 s or more) against wall clock: worst %.1f %%, mean %.1f %% "
                "(goal 35 %%)\n",
                worstTime, sumTime / timed);
    std::printf("time (conversions of 2 s or more) against idle-machine time: worst %.1f %%, "
                "mean %.1f %%\n",
                worstIdle, sumIdle / timed);
    std::printf("load average now: %s\n", qPrintable(loadAverage()));
    return 0;
}
