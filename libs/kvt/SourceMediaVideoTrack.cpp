#include "SourceMediaVideoTrack.h"

#include "TranscodeEnums.h"

namespace kvt {

int32_t SourceMediaVideoTrack::GetWidth(int32_t& width)
{
    width = m_info.displayWidth;
    return SUCCESS;
}

int32_t SourceMediaVideoTrack::GetHeight(int32_t& height)
{
    height = m_info.displayHeight;
    return SUCCESS;
}

int32_t SourceMediaVideoTrack::GetCodedSize(int32_t& width, int32_t& height)
{
    width = m_info.codedWidth;
    height = m_info.codedHeight;
    return SUCCESS;
}

int32_t SourceMediaVideoTrack::GetCodec(int32_t& codec)
{
    codec = m_info.codec;
    return SUCCESS;
}

int32_t SourceMediaVideoTrack::GetCodecName(std::string& name)
{
    name = m_info.codecName;
    return SUCCESS;
}

int32_t SourceMediaVideoTrack::GetFrameRate(int32_t& numerator, int32_t& denominator)
{
    numerator = m_info.fpsNum;
    denominator = m_info.fpsDen;
    return SUCCESS;
}

int32_t SourceMediaVideoTrack::GetBitrate(int64_t& bitsPerSecond)
{
    bitsPerSecond = m_info.bitrate;
    return SUCCESS;
}

} // namespace kvt
