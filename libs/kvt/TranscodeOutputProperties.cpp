#include "TranscodeOutputProperties.h"

#include "TranscodeEnums.h"

namespace kvt {

int32_t TranscodeOutputProperties::GetEstimatedOutputSize(uint64_t& bytes)
{
    bytes = m_plan.estimatedBytes;
    return SUCCESS;
}

int32_t TranscodeOutputProperties::GetResolution(int32_t& width, int32_t& height)
{
    width = m_plan.width;
    height = m_plan.height;
    return SUCCESS;
}

int32_t TranscodeOutputProperties::GetEstimatedTranscodeTime(uint32_t& seconds)
{
    seconds = m_plan.estimatedSeconds;
    return SUCCESS;
}

int32_t TranscodeOutputProperties::GetFrameRate(int32_t& numerator, int32_t& denominator)
{
    numerator = m_plan.fpsNum;
    denominator = m_plan.fpsDen;
    return SUCCESS;
}

int32_t TranscodeOutputProperties::GetVideoBitrate(int64_t& bitsPerSecond)
{
    bitsPerSecond = m_plan.videoBitrate;
    return SUCCESS;
}

int32_t TranscodeOutputProperties::IsPassThrough(bool& passThrough)
{
    passThrough = m_plan.passThrough;
    return SUCCESS;
}

} // namespace kvt
