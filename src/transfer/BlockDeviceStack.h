#pragma once

#include <QList>
#include <QString>

// A block device and the devices it is built on, followed through sysfs "slaves/" links: an
// opened LUKS stick is a dm-crypt device whose only slave is the stick's partition.
class BlockDeviceStack
{
public:
    struct Member
    {
        QString majorMinor; // "8:17"; empty when sysfs does not say
        QString sysfsPath;  // canonical path below /sys/devices
    };

    // The device itself first, then the devices below it, nearest first.
    static QList<Member> of(const QString& sysfsRoot, const QString& majorMinor);
};
