#pragma once

#include "ConversionReason.h"
#include "MediaInfo.h"
#include "ProfileTable.h"

#include <string>

namespace kvt {

// Decides whether an analysed file plays on a device profile as it is: its
// container, codecs and limits must all fit the profile's table row.
class ProfileCompatibility
{
public:
    // True when no conversion is needed; otherwise reason (when given) says
    // what does not fit.
    static bool isCompatible(const MediaInfo& info, const DeviceProfileSpec& spec,
                             std::string* reason = nullptr);

    // What does not fit: its kind and the engine's words for it.
    struct Misfit
    {
        ConversionReason code = CR_NONE;
        std::string text;
    };
    // The same decision with the kind of misfit (CR_NONE when the file fits).
    static bool check(const MediaInfo& info, const DeviceProfileSpec& spec, Misfit* misfit);

private:
    static bool containerFits(const MediaInfo& info, const DeviceProfileSpec& spec);
    static bool videoFits(const MediaInfo& info, const VideoTrackInfo& v,
                          const DeviceProfileSpec& spec, Misfit& reason);
    static bool audioFits(const AudioTrackInfo& a, const DeviceProfileSpec& spec, Misfit& reason);
};

} // namespace kvt
