#pragma once

#include <QList>
#include <functional>
#include <map>
#include <string>

#include "DeviceState.h"
#include "Drive.h"
#include "USBDriveData.h"

class KavoMediaBurner;

// Lists the disc recorders of a burner with the state of their disc, and fills the map from
// each listed root to its recorder, which a transfer's destination takes its drive from.
class BurnerDriveLister
{
public:
    // True when at least one recorder is listed. device: the device served (its last drive
    // and rate give that drive's estimate). Never while the burner writes.
    static bool list(KavoMediaBurner& burner, const DeviceState& device,
                     QList<USBDriveData>& drives, std::map<std::u16string, Drive>& recorders);

    // Whether the recorder listed at a root holds a disc, asked from the space monitor's
    // thread: the records are copied now, on the GUI thread.
    static std::function<quint32(const std::u16string&)>
    discStateProbe(KavoMediaBurner& burner, const std::map<std::u16string, Drive>& recorders);

    // Expected bytes per second writing a blank disc with freeBytes at speed (the drive's
    // highest write rate as a multiple of the medium's base speed, 0: not known, taken as 4;
    // above MaxSpeedFactor: kilobytes per second).
    static quint32 blankDiscRate(quint64 freeBytes, quint32 speed);

    static constexpr quint32 CdBaseRate = 153600;
    static constexpr quint32 DvdBaseRate = 1385000;
    // Discs with more free space than this are DVDs (or larger).
    static constexpr quint64 LargestCd = 0x2C600000;
    static constexpr quint32 DefaultSpeed = 4;
    static constexpr quint32 MaxSpeedFactor = 100;
};
