#include "DeviceProfiles.h"

namespace {

struct ProfileRow
{
    DeviceProfiles::StoredProfile stored;
    DeviceProfiles::TranscodeProfile transcode;
    const char* word;
};

constexpr ProfileRow Profiles[] = {
    {DeviceProfiles::StoredProfile::HomeTheater, DeviceProfiles::TranscodeProfile::HomeTheater,
     "HomeTheater576"},
    {DeviceProfiles::StoredProfile::HD1080, DeviceProfiles::TranscodeProfile::HD1080, "HD1080"},
    {DeviceProfiles::StoredProfile::KavoPlusHD, DeviceProfiles::TranscodeProfile::KavoPlusHD,
     "KavoPlusHD1080"},
};

} // namespace

DeviceProfiles::TranscodeProfile DeviceProfiles::transcodeProfile(StoredProfile stored)
{
    for (const ProfileRow& row : Profiles) {
        if (row.stored == stored)
            return row.transcode;
    }
    return TranscodeProfile::Mobile;
}

DeviceProfiles::StoredProfile DeviceProfiles::storedProfile(TranscodeProfile profile)
{
    for (const ProfileRow& row : Profiles) {
        if (row.transcode == profile)
            return row.stored;
    }
    return StoredProfile::None;
}

QByteArray DeviceProfiles::profileWord(TranscodeProfile profile)
{
    for (const ProfileRow& row : Profiles) {
        if (row.transcode == profile)
            return row.word;
    }
    return {};
}

int DeviceProfiles::driveKind(Method method)
{
    switch (method) {
    case Method::Disc:
        return 0;
    case Method::USB:
        return 1;
    default:
        return -1;
    }
}

QByteArray DeviceProfiles::deviceWord(DeviceType type)
{
    switch (type) {
    case DeviceType::DVDPlayer:
        return "DVDPlayer";
    case DeviceType::BluRayPlayer:
        return "BlueRayPlayer";
    case DeviceType::TV:
        return "TV";
    case DeviceType::PlayStation3:
        return "PlayStation3";
    default:
        return "MobilePhone";
    }
}
