#pragma once

#include "IRefCounted.h"

#include <cstdint>
#include <string>

namespace kvt {

// One audio track of an analysed file.
class ISourceMediaAudioTrack : public kvtl::IRefCounted
{
public:
    // AC_ value.
    virtual int32_t GetCodec(int32_t& codec) = 0;
    // libavcodec's codec name ("mp3", "aac", ...).
    virtual int32_t GetCodecName(std::string& name) = 0;
    virtual int32_t GetChannels(int32_t& channels) = 0;
    virtual int32_t GetSampleRate(int32_t& hertz) = 0;
    // Bits per second; 0 when unknown.
    virtual int32_t GetBitrate(int64_t& bitsPerSecond) = 0;
};

} // namespace kvt
