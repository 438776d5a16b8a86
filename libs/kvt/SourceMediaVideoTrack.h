#pragma once

#include "ISourceMediaVideoTrack.h"
#include "MediaInfo.h"

namespace kvt {

// A video track as the analysis found it.
class SourceMediaVideoTrack : public kvtl::RefCountedImpl<ISourceMediaVideoTrack>
{
public:
    explicit SourceMediaVideoTrack(const VideoTrackInfo& info) : m_info(info) {}

    int32_t GetWidth(int32_t& width) override;
    int32_t GetHeight(int32_t& height) override;
    int32_t GetCodedSize(int32_t& width, int32_t& height) override;
    int32_t GetCodec(int32_t& codec) override;
    int32_t GetCodecName(std::string& name) override;
    int32_t GetFrameRate(int32_t& numerator, int32_t& denominator) override;
    int32_t GetBitrate(int64_t& bitsPerSecond) override;

    const VideoTrackInfo& info() const { return m_info; }

private:
    const VideoTrackInfo m_info;
};

} // namespace kvt
