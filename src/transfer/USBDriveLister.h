#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <string>

#include "USBDriveData.h"
#include "UdevDatabase.h"

// Finds the drives a transfer can copy to: every mounted, writable volume whose block device
// hangs off a USB bus, plus the folders the user listed in the setting "ExtraDrives" (a phone's
// MTP mount, a network share). The mount table and the sysfs tree are parameters so a test can
// hand in fake ones; fromEnvironment() reads KAVO_MOUNTINFO and KAVO_SYSFS_ROOT for the same.
// A volume's file system and label come from udev's database when it has them, then from the
// boot sector, then from the mount's type.
class USBDriveLister
{
public:
    struct MountEntry
    {
        QString majorMinor; // "8:17"
        QString root;       // the part of the file system mounted ("/" unless a bind mount)
        QString mountPoint;
        QString options;
        QString fsType;
        QString source;
        QString superOptions;

        bool readOnly() const;
    };

    explicit USBDriveLister(QString mountInfoPath = QStringLiteral("/proc/self/mountinfo"),
                            QString sysfsRoot = QStringLiteral("/sys"),
                            QString labelDir = QStringLiteral("/dev/disk/by-label"),
                            UdevDatabase udev = UdevDatabase());
    static USBDriveLister fromEnvironment();

    const QString& mountInfoPath() const { return m_mountInfo; }

    // The USB volumes, then the extra folders that exist and are not already listed. A drive
    // whose root is lastDriveName gets storedRate when that is not 0, others 1 MiB/s.
    QList<USBDriveData> list(const QStringList& extraFolders, const std::string& lastDriveName,
                             quint32 storedRate) const;
    // Only the USB volumes.
    QList<USBDriveData> usbVolumes() const;
    // Whether the block device major:minor, or a device it is built on, sits below a USB
    // controller (by udev's ID_BUS or by its sysfs path).
    bool isUsbBlockDevice(const QString& majorMinor) const;

    // The mount table, with the octal escapes of its paths (\040 for a space) decoded.
    static QList<MountEntry> readMountInfo(const QString& path);
    static QString unescapeMountField(const QByteArray& field);
    // File-system code of a mount type; for vfat the boot sector of source tells FAT (12/16 bit)
    // from FAT32 when it can be read.
    static unsigned int fileSystemCode(const QString& fsType, const QString& source = QString());
    // FAT (12/16 bit), FAT32, exFAT or NTFS as the volume's first sector says; 0 when it cannot
    // be read (a desktop user may not read the device) or names none of them.
    static unsigned int bootSectorCode(const QString& source);
    // Free bytes available to the user and the volume size, 0 when the query fails.
    static bool volumeSpace(const QString& path, quint64& freeBytes, quint64& totalBytes);
    // The "ExtraDrives" setting split at ";", empty entries left out.
    static QStringList extraDrivesSetting();

    static constexpr quint32 DefaultRate = 0x100000;

private:
    QString labelOf(const QString& source) const;
    USBDriveData folderDrive(const QString& folder) const;
    unsigned int volumeCode(const QString& majorMinor, const QString& fsType, const QString& source,
                            QString* label = nullptr) const;

    QString m_mountInfo;
    QString m_sysfs;
    QString m_labelDir;
    UdevDatabase m_udev;
};
