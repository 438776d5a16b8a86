#pragma once

#include "ISourceMediaAudioTrack.h"
#include "MediaInfo.h"
#include "ReportValue.h"

namespace kvt {

// An audio track as the analysis found it.
class SourceMediaAudioTrack : public kvtl::RefCountedImpl<ISourceMediaAudioTrack>
{
public:
    explicit SourceMediaAudioTrack(const AudioTrackInfo& info) : m_info(info) {}

    int32_t GetCodec(int32_t& codec) override { return reportValue(codec, m_info.codec); }
    int32_t GetCodecName(std::string& name) override { return reportValue(name, m_info.codecName); }
    int32_t GetChannels(int32_t& channels) override
    {
        return reportValue(channels, m_info.channels);
    }
    int32_t GetSampleRate(int32_t& hertz) override { return reportValue(hertz, m_info.sampleRate); }
    int32_t GetBitrate(int64_t& bitsPerSecond) override
    {
        return reportValue(bitsPerSecond, m_info.bitrate);
    }

private:
    const AudioTrackInfo m_info;
};

} // namespace kvt
