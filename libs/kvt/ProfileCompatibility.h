#pragma once

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

private:
    static bool containerFits(const MediaInfo& info, const DeviceProfileSpec& spec);
    static bool videoFits(const MediaInfo& info, const VideoTrackInfo& v,
                          const DeviceProfileSpec& spec, std::string& reason);
    static bool audioFits(const AudioTrackInfo& a, const DeviceProfileSpec& spec,
                          std::string& reason);
};

} // namespace kvt
