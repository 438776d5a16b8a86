#pragma once

#include <QString>

#include "DeviceState.h"
#include "WizardStartParameters.h"

// What the device library remembers of a device, and how the wizard starts for it: the
// remembered profile, method and drive, the pages it skips, the file systems it needs.
class DeviceChoices
{
public:
    // Reads the stored choices of a device (ids from 10000) into state; true when it has a row.
    // A device without one gets its type from its id; other ids leave state as it is. notice:
    // what the library has to tell the user once per run.
    static bool read(unsigned int deviceID, DeviceState& state, QString& notice);
    // stored: state holds the device's stored choices (read returned true).
    static WizardStartParameters startParameters(unsigned int deviceID, const DeviceState& state,
                                                 bool stored);
};
