#pragma once

#include <QtGlobal>
#include <string>

// File-system codes of a destination drive, one bit each, tested against the device's required
// mask. FS_ALL means "no requirement". The bits above it are Linux additions.
enum FileSystemCode : unsigned int
{
    FS_FAT = 1,
    FS_FAT32 = 2,
    FS_NTFS = 4,
    FS_CDFS = 8,
    FS_HFS = 16,
    FS_HFSPLUS = 32,
    FS_ALL = 63,
    FS_EXFAT = 64,
    FS_OTHER = 128,
};

// Media status of a destination drive.
enum DriveMediaStatus : int
{
    DriveReady = 3,
    DriveMediumNotWritable = 4,
    DriveNoMediumInfo = 5,
};

// One destination drive, disc burner or USB drive alike.
struct USBDriveData
{
    // Mount point of a USB drive, device path (or image path) of a burner.
    std::u16string root;
    // Burner: free space of a blank disc, else 0. USB: bytes available to the user.
    quint64 freeBytes = 0;
    // Expected write rate in bytes per second.
    quint32 estimatedRate = 0;
    // One of DriveMediaStatus.
    int status = 0;
    // One bit of FileSystemCode, 0 when not recognised.
    unsigned int fileSystem = 0;
    // Burner: same as freeBytes. USB: volume size.
    quint64 totalBytes = 0;
    std::u16string displayName;
    // Burner: why nothing can be written there (an image burner's path), empty otherwise.
    std::u16string problem;
};
