#pragma once

#include "IRefCounted.h"

#include <cstdint>
#include <string>

namespace kvt {

// One video track of an analysed file.
class ISourceMediaVideoTrack : public kvtl::IRefCounted
{
public:
    // Picture size as displayed, in square pixels (the coded width is
    // stretched by the sample aspect ratio of anamorphic video).
    virtual int32_t GetWidth(int32_t& width) = 0;
    virtual int32_t GetHeight(int32_t& height) = 0;

    // Size as stored in the stream.
    virtual int32_t GetCodedSize(int32_t& width, int32_t& height) = 0;
    // VC_ value.
    virtual int32_t GetCodec(int32_t& codec) = 0;
    // libavcodec's codec name ("mpeg4", "h264", ...).
    virtual int32_t GetCodecName(std::string& name) = 0;
    // Frames per second as a fraction; 0/0 when unknown.
    virtual int32_t GetFrameRate(int32_t& numerator, int32_t& denominator) = 0;
    // Bits per second; 0 when unknown.
    virtual int32_t GetBitrate(int64_t& bitsPerSecond) = 0;
};

} // namespace kvt
