#pragma once

#include <QHash>
#include <QString>

// udev's record of a block device, /run/udev/data/b<major>:<minor>: what UDisks and the desktop
// take as the truth about a volume (file-system type and version, label, bus), readable by any
// user, unlike the device itself. The folder is a parameter so tests can hand in a fake one;
// fromEnvironment() reads KAVO_UDEV_DATA for the same.
class UdevDatabase
{
public:
    struct Volume
    {
        QString fsType;    // ID_FS_TYPE: "vfat", "exfat", "ntfs", "crypto_LUKS"...
        QString fsVersion; // ID_FS_VERSION: "FAT16", "FAT32"...
        QString label;     // ID_FS_LABEL_ENC decoded, else ID_FS_LABEL
        QString bus;       // ID_BUS: "usb", "ata"...
    };

    explicit UdevDatabase(QString dataDir = QStringLiteral("/run/udev/data"));
    static UdevDatabase fromEnvironment();

    // The "E:" properties of the device; empty when it has no record or it cannot be read.
    QHash<QString, QString> properties(const QString& majorMinor) const;
    Volume volume(const QString& majorMinor) const;
    // File-system code (FS_FAT...) of a volume; 0 when udev does not know a file system there.
    static unsigned int fileSystemCode(const Volume& volume);
    // udev's "\x20" escapes.
    static QString unescape(const QString& text);

private:
    QString m_dataDir;
};
