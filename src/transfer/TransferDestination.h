#pragma once

#include <QString>

#include "Drive.h"

// Where a transfer writes, kept whole from Start to the end: what kind of drive it is, its file
// system and, for a burner, the recorder itself, so nothing has to be found again by its name.
struct TransferDestination
{
    enum Kind
    {
        UsbDrive,
        Burner
    };
    Kind kind = UsbDrive;
    // Mount point or folder of a USB drive; device or image path of a burner.
    QString root;
    // One bit of FileSystemCode, 0 when not known.
    unsigned int fileSystem = 0;
    // The recorder (burners only).
    Drive drive;

    bool toUSB() const { return kind == UsbDrive; }
};
