#pragma once

#include <QByteArray>

// The one table between the device library's stored values and the transfer's: stored profile
// to transcode profile and its word in usage events, stored method to drive kind, device type
// to its word.
class DeviceProfiles
{
public:
    // As stored in the device library.
    enum class StoredProfile : int
    {
        None = 0,
        HomeTheater = 1,
        HD1080 = 2,
        KavoPlusHD = 3
    };
    // The transcode profiles the wizard offers (DP_ values).
    enum class TranscodeProfile : int
    {
        Mobile = 0,
        HD1080 = 1,
        HomeTheater = 3,
        KavoPlusHD = 4
    };
    enum class Method : int
    {
        None = 0,
        Disc = 1,
        USB = 2
    };
    enum class DeviceType : int
    {
        DVDPlayer = 0,
        BluRayPlayer = 1,
        TV = 2,
        PlayStation3 = 3,
        MobilePhone = 4
    };

    // Mobile for a stored value without a profile.
    static TranscodeProfile transcodeProfile(StoredProfile stored);
    // None for a transcode profile the library does not store.
    static StoredProfile storedProfile(TranscodeProfile profile);
    // The profile's word in usage events; empty for one the library does not store.
    static QByteArray profileWord(TranscodeProfile profile);
    // Drive kind of a stored method: 0 disc, 1 USB, -1 none.
    static int driveKind(Method method);
    static QByteArray deviceWord(DeviceType type);
};
