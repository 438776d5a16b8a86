#include "SourceMediaAudioTrack.h"

#include "TranscodeEnums.h"

namespace kvt {

int32_t SourceMediaAudioTrack::GetCodec(int32_t& codec)
{
    codec = m_info.codec;
    return SUCCESS;
}

int32_t SourceMediaAudioTrack::GetCodecName(std::string& name)
{
    name = m_info.codecName;
    return SUCCESS;
}

int32_t SourceMediaAudioTrack::GetChannels(int32_t& channels)
{
    channels = m_info.channels;
    return SUCCESS;
}

int32_t SourceMediaAudioTrack::GetSampleRate(int32_t& hertz)
{
    hertz = m_info.sampleRate;
    return SUCCESS;
}

int32_t SourceMediaAudioTrack::GetBitrate(int64_t& bitsPerSecond)
{
    bitsPerSecond = m_info.bitrate;
    return SUCCESS;
}

} // namespace kvt
