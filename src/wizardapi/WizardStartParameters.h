#pragma once

#include <QString>
#include <string>

// What the controller hands the dialog when a wizard run starts: which profile to preselect,
// whether the profile page can be skipped, the preferred transfer method and drive, and which
// file systems the device can read.
struct WizardStartParameters
{
    // Transcode profile code (3 home theater, 1 HD 1080, 4 the brand's HD profile, 0 mobile).
    int profile = 3;
    bool skipProfilePage = false;
    // 0 disc, 1 USB drive, -1 no preference.
    int driveType = 0;
    // Files are burnt as they are, without conversion.
    bool burnOnly = false;
    // Name (root) of the drive used last time; empty when none.
    std::u16string driveLetter;
    // Mask of the file-system codes of USBDriveData the device reads; 63 = no requirement.
    unsigned int requiredFSType = 63;
    QString deviceLabel = QStringLiteral("DVD Player");
};
