#pragma once

#include <QList>

#include "USBDriveData.h"

class TransferWizardController;

// Lists the disc recorders of the controller's burner with the state of their disc, and fills
// the controller's map of burner drives that the disc write looks its drive up in.
class BurnerDriveLister
{
public:
    // True when at least one recorder is listed.
    static bool list(TransferWizardController& controller, QList<USBDriveData>& drives);

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
