#pragma once

#include "MediaInfo.h"
#include "ProfileTable.h"

#include <cstdint>

namespace kvt {

// The plan for converting one file to one profile, and what it will cost.
struct TranscodePlan
{
    bool passThrough = false; // the file already fits: used unchanged
    int width = 0;            // output picture
    int height = 0;
    int fpsNum = 0;
    int fpsDen = 1;
    int64_t videoBitrate = 0; // bit/s asked of the encoder
    int64_t audioBitrate = 0; // 0 when the output has no audio
    uint64_t estimatedBytes = 0;
    uint32_t estimatedSeconds = 0;
};

// Estimates output size and conversion time. Size follows from the bit rates
// the worker asks of its encoders; time from the pixels decoded and encoded at
// speeds measured on real conversions (see bench/estimates).
class TranscodeEstimator
{
public:
    // requestedWidth/Height: a size asked through SetResolution (0 = none);
    // it is fitted into the profile's limits like the source's own size.
    static TranscodePlan plan(const MediaInfo& info, const DeviceProfileSpec& spec,
                              int requestedWidth = 0, int requestedHeight = 0);

    static uint64_t estimateBytes(const DeviceProfileSpec& spec, double seconds, int width,
                                  int height, double fps, bool hasAudio);
    static double estimateSeconds(const MediaInfo& info, const DeviceProfileSpec& spec, int width,
                                  int height, double fps);
    // How much faster than one core the worker runs on this machine when
    // nothing else competes for it.
    static double parallelSpeedup();

    // The measured speed of the engine on this machine against the table's: a conversion
    // that took twice its estimate gives 2. Estimates of the processing time are multiplied
    // by it; 1 until a conversion has been measured. Kept within 1/20 and 20.
    static void setSpeedFactor(double factor);
    static double speedFactor();
};

} // namespace kvt
