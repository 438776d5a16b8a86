#pragma once

#include <QByteArray>
#include <QStringList>

#include "DeviceState.h"

// Records a transfer that ended without cancel: the device's choices go to the device library
// and the end-of-transfer usage events are sent. May run on a worker thread; the events are
// handed to the GUI thread, which owns the ping queue.
class TransferRecorder
{
public:
    struct Outcome
    {
        QByteArray deviceWord;
        QByteArray profileWord;
        QByteArray medium;
    };

    // previousState: the transfer state before it became finished (3 USB, 4 disc).
    // chosenProfile: the transcode profile picked in the wizard. files: the transferred files.
    static Outcome record(const DeviceState& device, int previousState, int chosenProfile,
                          const QStringList& files);

    // The word of a device type in usage events.
    static QByteArray deviceWord(int type);
};
