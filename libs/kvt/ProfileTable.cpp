#include "ProfileTable.h"

#include <algorithm>
#include <cmath>

namespace kvt {

namespace {

// clang-format off
const DeviceProfileSpec kProfiles[] = {
    {DP_Mobile, "DP_Mobile",
     VC_ASP, "mpeg4", "mpeg4", 0, 0, 320, 240, 30, 640000, 768000, 0.25,
     {AC_MP3, AC_UNKNOWN, AC_UNKNOWN}, "libmp3lame", 128000, 128000, 2, 44100,
     "avi", ".kavo"},
    {DP_HD1080, "DP_HD1080",
     VC_ASP, "mpeg4", "mpeg4", 0, 0, 1920, 1080, 30, 12000000, 20000000, 0.2,
     {AC_MP3, AC_AC3, AC_UNKNOWN}, "libmp3lame", 192000, 0, 2, 48000,
     "avi", ".kavo"},
    {DP_HD720, "DP_HD720",
     VC_ASP, "mpeg4", "mpeg4", 0, 0, 1280, 720, 60, 8000000, 12000000, 0.2,
     {AC_MP3, AC_AC3, AC_UNKNOWN}, "libmp3lame", 192000, 0, 2, 48000,
     "avi", ".kavo"},
    {DP_HomeTheater, "DP_HomeTheater",
     VC_ASP, "mpeg4", "mpeg4", 0, 0, 720, 576, 30, 3500000, 4800000, 0.25,
     {AC_MP3, AC_AC3, AC_UNKNOWN}, "libmp3lame", 192000, 0, 2, 48000,
     "avi", ".kavo"},
    {DP_KavoPlusHD, "DP_KavoPlusHD",
     VC_H264, "h264", "libx264", 100, 41, 1920, 1080, 30, 8000000, 20000000, 0.12,
     {AC_AAC, AC_AC3, AC_MP3}, "aac", 160000, 0, 2, 48000,
     "matroska", ".mkv"},
    {DP_iPhoneMP4H264, "DP_iPhoneMP4H264",
     VC_H264, "h264", "libx264", 77, 31, 1280, 720, 30, 3000000, 5000000, 0.1,
     {AC_AAC, AC_UNKNOWN, AC_UNKNOWN}, "aac", 160000, 0, 2, 48000,
     "mp4", ".mp4"},
    {DP_iPadMP4H264, "DP_iPadMP4H264",
     VC_H264, "h264", "libx264", 100, 41, 1920, 1080, 30, 6000000, 10000000, 0.1,
     {AC_AAC, AC_UNKNOWN, AC_UNKNOWN}, "aac", 160000, 0, 2, 48000,
     "mp4", ".mp4"},
};
// clang-format on

constexpr int kProfileCount = sizeof(kProfiles) / sizeof(kProfiles[0]);
static_assert(kProfileCount == _DP_count_, "one row per device profile");

int evenDown(double v)
{
    int i = static_cast<int>(std::floor(v));
    i &= ~1;
    return std::max(i, 2);
}

} // namespace

const DeviceProfileSpec* findDeviceProfile(int profile)
{
    if (profile < 0 || profile >= kProfileCount)
        return nullptr;
    return &kProfiles[profile];
}

bool profileAcceptsAudio(const DeviceProfileSpec& spec, AudioCodec codec)
{
    for (AudioCodec c : spec.audioCodecs) {
        if (c == AC_UNKNOWN)
            break;
        if (c == codec)
            return true;
    }
    return false;
}

bool fitResolution(const DeviceProfileSpec& spec, int displayWidth, int displayHeight,
                   int& outWidth, int& outHeight)
{
    outWidth = outHeight = 0;
    if (displayWidth <= 0 || displayHeight <= 0)
        return false;
    double scale = std::min(
        {1.0, double(spec.maxWidth) / displayWidth, double(spec.maxHeight) / displayHeight});
    // Round to the nearest even size, then make sure rounding did not leave the box.
    auto nearestEven = [](double v) { return std::max(2, int(std::lround(v / 2.0)) * 2); };
    outWidth = nearestEven(displayWidth * scale);
    outHeight = nearestEven(displayHeight * scale);
    if (outWidth > spec.maxWidth)
        outWidth = evenDown(spec.maxWidth);
    if (outHeight > spec.maxHeight)
        outHeight = evenDown(spec.maxHeight);
    return true;
}

void outputFrameRate(const DeviceProfileSpec& spec, int srcNum, int srcDen, int& outNum,
                     int& outDen)
{
    // Rates above 240 fps come from broken time bases, not real cameras.
    const bool known = srcNum > 0 && srcDen > 0 && double(srcNum) / srcDen <= 240.0 &&
                       double(srcNum) / srcDen >= 1.0;
    if (!known) {
        outNum = std::min(25, spec.maxFps);
        outDen = 1;
        return;
    }
    const double rate = double(srcNum) / srcDen;
    if (rate <= spec.maxFps + 0.01) {
        outNum = srcNum;
        outDen = srcDen;
        return;
    }
    // Dropping every other frame keeps motion even (59.94 -> 29.97).
    if (rate / 2.0 <= spec.maxFps + 0.01) {
        outNum = srcNum;
        outDen = srcDen * 2;
        return;
    }
    outNum = spec.maxFps;
    outDen = 1;
}

int64_t targetVideoBitrate(const DeviceProfileSpec& spec, int width, int height, double fps)
{
    if (fps <= 0)
        fps = 25.0;
    const double wanted = spec.bitsPerPixel * double(width) * double(height) * fps;
    const int64_t floor = std::min<int64_t>(200000, spec.videoBitrate);
    return std::clamp<int64_t>(int64_t(std::llround(wanted)), floor, spec.videoBitrate);
}

} // namespace kvt
