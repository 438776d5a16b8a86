#pragma once

#include <string>

// The playback device the wizard serves, as read from the device library.
struct DeviceState
{
    int deviceID = 0;
    // Stored profile code: 1 home theater, 2 HD 1080, 3 the brand's HD profile.
    int profile = 0;
    int registrationState = 0;
    // Last transfer method: 1 disc burner, 2 USB drive.
    int method = 0;
    // 0 DVD player, 1 Blu-ray player, 2 TV, 3 PlayStation 3, other: mobile phone.
    int type = 0;
    std::string lastDriveName;
    std::string deviceName;
    // Bytes per second of the last transfer.
    unsigned int dataRate = 0;
    bool promptForRegistration = true;
};
