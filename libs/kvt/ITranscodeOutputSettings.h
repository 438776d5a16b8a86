#pragma once

#include "IRefCounted.h"

#include <cstdint>

namespace kvt {

// What a conversion should produce: the device profile and a requested
// picture size (which the engine fits into the profile's limits).
class ITranscodeOutputSettings : public kvtl::IRefCounted
{
public:
    virtual int32_t SetResolution(int32_t width, int32_t height) = 0;

    // Requested size; 0 x 0 when none was set.
    virtual int32_t GetResolution(int32_t& width, int32_t& height) = 0;
    // DP_ value.
    virtual int32_t GetProfile(int32_t& profile) = 0;
};

} // namespace kvt
