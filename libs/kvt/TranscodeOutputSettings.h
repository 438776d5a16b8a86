#pragma once

#include "ITranscodeOutputSettings.h"

namespace kvt {

class TranscodeOutputSettings : public kvtl::RefCountedImpl<ITranscodeOutputSettings>
{
public:
    explicit TranscodeOutputSettings(int32_t profile) : m_profile(profile) {}

    // A size of 0 x 0 clears the request; negative sizes are refused.
    int32_t SetResolution(int32_t width, int32_t height) override;
    int32_t GetResolution(int32_t& width, int32_t& height) override;
    int32_t GetProfile(int32_t& profile) override;

private:
    const int32_t m_profile;
    int32_t m_width = 0;
    int32_t m_height = 0;
};

} // namespace kvt
