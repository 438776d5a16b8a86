#pragma once

#include "IRefCounted.h"

#include <cstdint>

namespace kvt {

// What a prepared conversion will produce, estimated before it runs.
class ITranscodeOutputProperties : public kvtl::IRefCounted
{
public:
    // Bytes of the output file.
    virtual int32_t GetEstimatedOutputSize(uint64_t& bytes) = 0;
    // Picture size of the output.
    virtual int32_t GetResolution(int32_t& width, int32_t& height) = 0;
    // Seconds the conversion is expected to take on this machine.
    virtual int32_t GetEstimatedTranscodeTime(uint32_t& seconds) = 0;

    // Frame rate of the output as a fraction.
    virtual int32_t GetFrameRate(int32_t& numerator, int32_t& denominator) = 0;
    // Video bits per second asked of the encoder.
    virtual int32_t GetVideoBitrate(int64_t& bitsPerSecond) = 0;
    // True when the source already suits the profile and is used unchanged.
    virtual int32_t IsPassThrough(bool& passThrough) = 0;
};

} // namespace kvt
