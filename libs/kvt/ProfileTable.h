#pragma once

#include "TranscodeEnums.h"

#include <cstdint>

namespace kvt {

// What one device profile accepts and what the engine writes for it. This is
// the single table of the product's device profiles: analysis (compatibility,
// estimates) and the KavoEngine worker (encoder settings) both read it, so a
// change here changes both sides together.
struct DeviceProfileSpec
{
    DeviceProfile profile;
    const char* name; // "DP_Mobile", ...

    // Video. Codec names are libavcodec's (avcodec_descriptor_get_by_name).
    VideoCodec videoCodec;      // VC_ASP (MPEG-4 Visual, ASP) or VC_H264
    const char* videoCodecName; // "mpeg4" or "h264"
    const char* videoEncoder;   // preferred encoder: "mpeg4", "libx264"
    int h264Profile;            // highest accepted H.264 profile_idc (77 Main, 100 High), 0 n/a
    int h264MaxLevel;           // highest accepted level_idc x10 (41 = 4.1), 0 n/a
    int maxWidth;
    int maxHeight;
    int maxFps;              // frames per second, a source above is reduced to this rate
    int64_t videoBitrate;    // target bit/s for a full-size picture at maxFps
    int64_t videoBitrateMax; // bit/s the device can play (peak)
    double bitsPerPixel;     // target bits per pixel: smaller pictures get fewer bits

    // Audio. The first accepted codec is the one the engine encodes to.
    AudioCodec audioCodecs[3]; // accepted, AC_UNKNOWN-terminated
    const char* audioEncoder;  // "libmp3lame", "aac"
    int64_t audioBitrate;      // bit/s written
    int64_t audioBitrateMax;   // bit/s accepted in a source used unchanged (0 = no limit)
    int audioChannels;         // channels written (and accepted at most, except AC-3)
    int audioSampleRate;       // Hz written

    // Container: libavformat muxer name and the file-name extension written.
    const char* containerFormat; // "avi", "matroska", "mp4"
    const char* extension;       // ".kavo", ".mkv", ".mp4"
};

// The profile's row, or nullptr for a value outside DP_Mobile..DP_iPadMP4H264.
const DeviceProfileSpec* findDeviceProfile(int profile);

// True when the profile accepts this audio codec unchanged.
bool profileAcceptsAudio(const DeviceProfileSpec& spec, AudioCodec codec);

// Output picture size for a source whose picture shows as displayWidth x
// displayHeight square pixels: the source fitted into the profile's box with
// its aspect ratio kept, never enlarged, both sides even and at least 2.
// Returns false (and 0 x 0) for a non-positive input size.
bool fitResolution(const DeviceProfileSpec& spec, int displayWidth, int displayHeight,
                   int& outWidth, int& outHeight);

// Output frame rate for a source rate num/den (0/0 or nonsense = unknown):
// the source rate when within the profile's limit, else half of it when that
// fits, else the limit. Unknown becomes 25 fps capped to the limit.
void outputFrameRate(const DeviceProfileSpec& spec, int srcNum, int srcDen, int& outNum,
                     int& outDen);

// Video bit rate the engine asks the encoder for at this output size and rate:
// bitsPerPixel x pixels x fps, at most videoBitrate, at least 200 kbit/s (or
// videoBitrate when that is smaller).
int64_t targetVideoBitrate(const DeviceProfileSpec& spec, int width, int height, double fps);

} // namespace kvt
