#include "TranscodeEstimator.h"

#include "ProfileCompatibility.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>

namespace kvt {

namespace {

// Measured with bench/estimates on a 2-core x86-64 machine (FFmpeg 5.1):
// processor nanoseconds per pixel. Decoding includes scaling and pixel format
// conversion, which grow with the source size.
constexpr double kDecodeNsH264 = 4.8;
constexpr double kDecodeNsHeavy = 8.0; // HEVC, VP9, AV1: about twice H.264
constexpr double kDecodeNsWindowsMedia = 3.0;
constexpr double kDecodeNsSimple = 2.2; // MPEG-1/2, MPEG-4 Visual, MJPEG, DV, raw
constexpr double kEncodeNsAsp = 1.4;    // mpeg4
constexpr double kEncodeNsH264 = 9.0;   // libx264, preset veryfast
// Process start, probing, muxer set-up (wall seconds).
constexpr double kStartupSeconds = 0.15;
// Audio decode, resample and encode, processor seconds per second of audio.
constexpr double kAudioCpuPerSecond = 0.005;
// Decoder frame threads and encoder threads keep this share of each extra
// core busy.
constexpr double kExtraCoreEfficiency = 0.75;
constexpr unsigned kMaxUsefulCores = 8;
// Container bytes per video frame (AVI chunk header and index entry, Matroska
// block header) and per second of audio.
constexpr double kAviBytesPerFrame = 24.0;
constexpr double kOtherBytesPerFrame = 12.0;
constexpr double kAudioPacketBytesPerSecond = 40.0 * 24.0;
// The mpeg4 encoder's rate control spends this much above its target at the
// start of every file, whatever its length.
constexpr double kAspStartBytes = 80000.0;

double decodeNsPerPixel(const VideoTrackInfo& v)
{
    switch (v.codec) {
    case VC_H264:
        return kDecodeNsH264;
    case VC_WMV:
    case VC_VC1:
    case VC_RM_VR:
        return kDecodeNsWindowsMedia;
    case VC_Compressed:
    case VC_UNKNOWN:
        return kDecodeNsHeavy;
    default:
        return kDecodeNsSimple;
    }
}

} // namespace

namespace {
std::atomic<double> g_speedFactor{1.0};
} // namespace

void TranscodeEstimator::setSpeedFactor(double factor)
{
    if (std::isfinite(factor) && factor > 0)
        g_speedFactor = std::clamp(factor, 0.05, 20.0);
}

double TranscodeEstimator::speedFactor()
{
    return g_speedFactor;
}

double TranscodeEstimator::parallelSpeedup()
{
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxUsefulCores);
    return 1.0 + kExtraCoreEfficiency * double(cores - 1);
}

namespace {

double fpsOf(int num, int den)
{
    return num > 0 && den > 0 ? double(num) / den : 25.0;
}

} // namespace

uint64_t TranscodeEstimator::estimateBytes(const DeviceProfileSpec& spec, double seconds, int width,
                                           int height, double fps, bool hasAudio)
{
    if (seconds <= 0)
        return 0;
    const double video = double(targetVideoBitrate(spec, width, height, fps)) / 8.0;
    const double audio = hasAudio ? double(spec.audioBitrate) / 8.0 : 0.0;
    const bool avi = std::string(spec.containerFormat) == "avi";
    const double perFrame = avi ? kAviBytesPerFrame : kOtherBytesPerFrame;
    const double overhead = fps * perFrame + (hasAudio ? kAudioPacketBytesPerSecond : 0.0);
    const double start = spec.videoCodec == VC_ASP ? kAspStartBytes : 0.0;
    return uint64_t(std::llround(seconds * (video + audio + overhead) + start));
}

double TranscodeEstimator::estimateSeconds(const MediaInfo& info, const DeviceProfileSpec& spec,
                                           int width, int height, double fps)
{
    const double seconds = double(info.durationUs) / 1e6;
    double decodeNs = 0;
    if (!info.video.empty()) {
        const VideoTrackInfo& v = info.video.front();
        decodeNs =
            double(v.codedWidth) * v.codedHeight * fpsOf(v.fpsNum, v.fpsDen) * decodeNsPerPixel(v);
    }
    const double encodeNs =
        double(width) * height * fps * (spec.videoCodec == VC_H264 ? kEncodeNsH264 : kEncodeNsAsp);
    double cpu = seconds * (decodeNs + encodeNs) * 1e-9;
    if (!info.audio.empty())
        cpu += seconds * kAudioCpuPerSecond;
    return (kStartupSeconds + cpu / parallelSpeedup()) * speedFactor();
}

TranscodePlan TranscodeEstimator::plan(const MediaInfo& info, const DeviceProfileSpec& spec,
                                       int requestedWidth, int requestedHeight)
{
    TranscodePlan p;
    if (info.video.empty())
        return p;
    const VideoTrackInfo& v = info.video.front();
    p.passThrough = ProfileCompatibility::isCompatible(info, spec);
    if (p.passThrough) {
        p.width = v.codedWidth;
        p.height = v.codedHeight;
        p.fpsNum = v.fpsNum;
        p.fpsDen = v.fpsDen;
        p.videoBitrate = v.bitrate;
        p.audioBitrate = info.audio.empty() ? 0 : info.audio.front().bitrate;
        p.estimatedBytes = info.fileSize;
        p.estimatedSeconds = 0;
        return p;
    }
    const int w = requestedWidth > 0 && requestedHeight > 0 ? requestedWidth : v.displayWidth;
    const int h = requestedWidth > 0 && requestedHeight > 0 ? requestedHeight : v.displayHeight;
    fitResolution(spec, w, h, p.width, p.height);
    outputFrameRate(spec, v.fpsNum, v.fpsDen, p.fpsNum, p.fpsDen);
    const double fps = fpsOf(p.fpsNum, p.fpsDen);
    p.videoBitrate = targetVideoBitrate(spec, p.width, p.height, fps);
    p.audioBitrate = info.audio.empty() ? 0 : spec.audioBitrate;
    const double seconds = double(info.durationUs) / 1e6;
    p.estimatedBytes = estimateBytes(spec, seconds, p.width, p.height, fps, !info.audio.empty());
    // Never promise "no time" for a conversion that has to run.
    p.estimatedSeconds =
        uint32_t(std::max(1.0, std::round(estimateSeconds(info, spec, p.width, p.height, fps))));
    return p;
}

} // namespace kvt
