#pragma once

#include <QByteArray>
#include <QStringList>

#include "DeviceState.h"

// Records a transfer that ended without cancel or failure: the device's choices go to the
// device library (a device that has no row yet gets one) and the end-of-transfer usage events
// are sent, on the thread of the application object, which owns the ping queue.
class TransferRecorder
{
public:
    struct Outcome
    {
        QByteArray deviceWord;
        QByteArray profileWord;
        QByteArray medium;
        // The device row was written.
        bool stored = false;
    };

    // toDisc: written to a disc (else copied to a USB drive). chosenProfile: the transcode
    // profile picked in the wizard. files: the transferred files.
    static Outcome record(const DeviceState& device, bool toDisc, int chosenProfile,
                          const QStringList& files);
};
