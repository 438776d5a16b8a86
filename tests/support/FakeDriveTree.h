#pragma once

#include <QByteArray>
#include <QString>

// A mount table and a sysfs tree as the drive lister reads them, for volumes that do not
// exist: each mount gets a line in "mountinfo" and a /sys/dev/block link into a device path
// below a USB controller or a SATA port. The mount points themselves are real folders.
class FakeDriveTree
{
public:
    explicit FakeDriveTree(const QString& root);

    QString sysfs() const { return m_sysfs; }
    QString mountInfo() const { return m_mountInfo; }

    // The kernel's escapes of the mount table: space, tab, newline and backslash in octal.
    static QByteArray escaped(const QString& path);

    // Adds a volume mounted at mountPoint (created here). usb: its device hangs off a USB
    // controller; otherwise a SATA port. source: the device file (default: one that does not
    // exist, so no real disk is ever read).
    void addMount(const QString& majorMinor, const QString& mountPoint, const QString& fsType,
                  bool usb, bool readOnly = false, const QString& source = QString());

private:
    QString m_root;
    QString m_sysfs;
    QString m_mountInfo;
    int m_count = 0;
};
