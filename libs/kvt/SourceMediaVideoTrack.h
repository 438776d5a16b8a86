#pragma once

#include "ISourceMediaVideoTrack.h"
#include "MediaInfo.h"
#include "ReportValue.h"

namespace kvt {

// A video track as the analysis found it.
class SourceMediaVideoTrack : public kvtl::RefCountedImpl<ISourceMediaVideoTrack>
{
public:
    explicit SourceMediaVideoTrack(const VideoTrackInfo& info) : m_info(info) {}

    int32_t GetWidth(int32_t& width) override { return reportValue(width, m_info.displayWidth); }
    int32_t GetHeight(int32_t& height) override
    {
        return reportValue(height, m_info.displayHeight);
    }
    int32_t GetCodedSize(int32_t& width, int32_t& height) override
    {
        return reportValue(width, m_info.codedWidth, height, m_info.codedHeight);
    }
    int32_t GetCodec(int32_t& codec) override { return reportValue(codec, m_info.codec); }
    int32_t GetCodecName(std::string& name) override { return reportValue(name, m_info.codecName); }
    int32_t GetFrameRate(int32_t& numerator, int32_t& denominator) override
    {
        return reportValue(numerator, m_info.fpsNum, denominator, m_info.fpsDen);
    }
    int32_t GetBitrate(int64_t& bitsPerSecond) override
    {
        return reportValue(bitsPerSecond, m_info.bitrate);
    }

    const VideoTrackInfo& info() const { return m_info; }

private:
    const VideoTrackInfo m_info;
};

} // namespace kvt
