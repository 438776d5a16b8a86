#include "TranscodeOutputSettings.h"

#include "TranscodeEnums.h"

namespace kvt {

int32_t TranscodeOutputSettings::SetResolution(int32_t width, int32_t height)
{
    if (width < 0 || height < 0 || (width == 0) != (height == 0))
        return ENG_INVALID_INPUT_ERR;
    m_width = width;
    m_height = height;
    return SUCCESS;
}

int32_t TranscodeOutputSettings::GetResolution(int32_t& width, int32_t& height)
{
    width = m_width;
    height = m_height;
    return SUCCESS;
}

int32_t TranscodeOutputSettings::GetProfile(int32_t& profile)
{
    profile = m_profile;
    return SUCCESS;
}

} // namespace kvt
