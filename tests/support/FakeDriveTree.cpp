#include "FakeDriveTree.h"

#include <QDir>
#include <QFile>

FakeDriveTree::FakeDriveTree(const QString& root)
    : m_root(root), m_sysfs(root + "/sys"), m_mountInfo(root + "/mountinfo")
{
    QDir().mkpath(m_sysfs + "/dev/block");
    QFile file(m_mountInfo);
    if (file.open(QIODevice::WriteOnly))
        file.write("22 1 0:21 / / rw,relatime - ext4 /dev/vda rw\n");
}

QByteArray FakeDriveTree::escaped(const QString& path)
{
    QByteArray out;
    for (char c : QFile::encodeName(path)) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\')
            out += '\\' + QByteArray::number(int(uchar(c)), 8).rightJustified(3, '0');
        else
            out += c;
    }
    return out;
}

void FakeDriveTree::addMount(const QString& majorMinor, const QString& mountPoint,
                             const QString& fsType, bool usb, bool readOnly, const QString& source)
{
    QDir().mkpath(mountPoint);
    const QString name = "sd" + QString(QChar('b' + m_count++));
    const QString device =
        usb ? "/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/"
              "block/" +
                  name + "/" + name + "1"
            : "/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/" + name +
                  "/" + name + "1";
    QDir().mkpath(m_sysfs + device);
    QFile::link("../.." + device, m_sysfs + "/dev/block/" + majorMinor);
    QFile file(m_mountInfo);
    if (!file.open(QIODevice::Append))
        return;
    const QByteArray options = readOnly ? "ro,nosuid,nodev" : "rw,nosuid,nodev";
    file.write("40 22 " + majorMinor.toLatin1() + " / " + escaped(mountPoint) + " " + options +
               " shared:1 - " + fsType.toLatin1() + " " +
               escaped(source.isEmpty() ? m_root + "/dev/" + name + "1" : source) +
               " rw,uid=1000\n");
}
