#pragma once

#include <QString>

// The file system and label of the disc in a burner, as a volume's information reads for a
// USB drive: for a real drive from udev's record of the device (it probes discs whether or
// not they are mounted), for an image burner from the ISO 9660 descriptor of its image.
class BurnerVolumeInfo
{
public:
    unsigned int fileSystem = 0; // USBDriveData's file-system bits: CDFS 8 for ISO 9660/UDF
    QString label;               // empty when the disc has none (or no file system)

    // root is the burner's path: "/dev/sr0" or an image file. udevData is udev's database.
    static BurnerVolumeInfo of(const QString& root,
                               const QString& udevData = QStringLiteral("/run/udev/data"));
};
