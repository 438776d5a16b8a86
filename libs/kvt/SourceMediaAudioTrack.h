#pragma once

#include "ISourceMediaAudioTrack.h"
#include "MediaInfo.h"

namespace kvt {

// An audio track as the analysis found it.
class SourceMediaAudioTrack : public kvtl::RefCountedImpl<ISourceMediaAudioTrack>
{
public:
    explicit SourceMediaAudioTrack(const AudioTrackInfo& info) : m_info(info) {}

    int32_t GetCodec(int32_t& codec) override;
    int32_t GetCodecName(std::string& name) override;
    int32_t GetChannels(int32_t& channels) override;
    int32_t GetSampleRate(int32_t& hertz) override;
    int32_t GetBitrate(int64_t& bitsPerSecond) override;

private:
    const AudioTrackInfo m_info;
};

} // namespace kvt
