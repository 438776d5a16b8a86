#include "USBDriveLister.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "BlockDeviceStack.h"
#include "SettingsAccessors.h"
#include "UdevText.h"

namespace {

const char* const SettingsPath = "TransferWizard";

// "\x20" escapes in udev's by-label names.
QString unescapeUdev(const QString& name)
{
    return UdevText::decode(QFile::encodeName(name));
}

QString canonical(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : c;
}

QString fileSystemName(unsigned int code)
{
    switch (code) {
    case FS_FAT:
        return QStringLiteral("FAT");
    case FS_FAT32:
        return QStringLiteral("FAT32");
    case FS_NTFS:
        return QStringLiteral("NTFS");
    case FS_CDFS:
        return QStringLiteral("CDFS");
    case FS_HFS:
        return QStringLiteral("HFS");
    case FS_HFSPLUS:
        return QStringLiteral("HFS+");
    case FS_EXFAT:
        return QStringLiteral("exFAT");
    default:
        return QStringLiteral("other");
    }
}

} // namespace

bool USBDriveLister::MountEntry::readOnly() const
{
    const auto hasRo = [](const QString& list) {
        return list.split(QLatin1Char(',')).contains(QStringLiteral("ro"));
    };
    return hasRo(options) || hasRo(superOptions);
}

USBDriveLister::USBDriveLister(QString mountInfoPath, QString sysfsRoot, QString labelDir,
                               UdevDatabase udev)
    : m_mountInfo(std::move(mountInfoPath)), m_sysfs(std::move(sysfsRoot)),
      m_labelDir(std::move(labelDir)), m_udev(std::move(udev))
{
}

USBDriveLister USBDriveLister::fromEnvironment()
{
    USBDriveLister lister;
    lister.m_udev = UdevDatabase::fromEnvironment();
    const QString mountInfo = qEnvironmentVariable("KAVO_MOUNTINFO");
    const QString sysfs = qEnvironmentVariable("KAVO_SYSFS_ROOT");
    if (!mountInfo.isEmpty())
        lister.m_mountInfo = mountInfo;
    if (!sysfs.isEmpty())
        lister.m_sysfs = sysfs;
    return lister;
}

QString USBDriveLister::unescapeMountField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = digits.size() == 3;
            for (char c : digits)
                ok = ok && c >= '0' && c <= '7';
            if (ok) {
                out.append(char(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

QList<USBDriveLister::MountEntry> USBDriveLister::readMountInfo(const QString& path)
{
    QList<MountEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    // Read in one go: the kernel builds the table per read call.
    const QByteArray all = file.readAll();
    for (const QByteArray& line : all.split('\n')) {
        // id parent major:minor root mount-point options [optional fields...] - type source super
        const QList<QByteArray> fields = line.split(' ');
        const int dash = int(fields.indexOf("-"));
        if (dash < 6 || dash + 2 >= fields.size())
            continue;
        MountEntry entry;
        entry.majorMinor = QString::fromLatin1(fields[2]);
        entry.root = unescapeMountField(fields[3]);
        entry.mountPoint = unescapeMountField(fields[4]);
        entry.options = QString::fromLatin1(fields[5]);
        entry.fsType = QString::fromLatin1(fields.value(dash + 1));
        entry.source = unescapeMountField(fields.value(dash + 2));
        entry.superOptions = QString::fromLatin1(fields.value(dash + 3));
        entries.append(entry);
    }
    return entries;
}

bool USBDriveLister::isUsbBlockDevice(const QString& majorMinor) const
{
    // /sys/dev/block/8:17 -> ../../devices/pci0000:00/.../usb2/2-1/.../block/sdb/sdb1; an
    // encrypted or LVM volume reaches its USB disk through slaves/.
    static const QRegularExpression usbBus(QStringLiteral("^usb\\d+$"));
    for (const BlockDeviceStack::Member& member : BlockDeviceStack::of(m_sysfs, majorMinor)) {
        if (m_udev.volume(member.majorMinor).bus == QLatin1String("usb"))
            return true;
        const QStringList parts = member.sysfsPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        for (const QString& part : parts) {
            if (usbBus.match(part).hasMatch())
                return true;
        }
    }
    return false;
}

unsigned int USBDriveLister::bootSectorCode(const QString& source)
{
    QFile device(source);
    if (source.isEmpty() || !device.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray sector = device.read(512);
    if (sector.size() < 512)
        return 0;
    // The OEM name at 3 marks NTFS and exFAT; FAT names its type at 54 (12/16 bit) or 82.
    if (sector.mid(3, 8) == "NTFS    ")
        return FS_NTFS;
    if (sector.mid(3, 8) == "EXFAT   ")
        return FS_EXFAT;
    if (sector.mid(82, 5) == "FAT32")
        return FS_FAT32;
    if (sector.mid(54, 5) == "FAT12" || sector.mid(54, 5) == "FAT16")
        return FS_FAT;
    return 0;
}

unsigned int USBDriveLister::volumeCode(const QString& majorMinor, const QString& fsType,
                                        const QString& source, QString* label) const
{
    const UdevDatabase::Volume volume = m_udev.volume(majorMinor);
    if (label)
        *label = volume.label;
    const unsigned int code = UdevDatabase::fileSystemCode(volume);
    return code ? code : fileSystemCode(fsType, source);
}

unsigned int USBDriveLister::fileSystemCode(const QString& fsType, const QString& source)
{
    const QString type = fsType.toLower();
    if (type == QLatin1String("vfat") || type == QLatin1String("msdos") ||
        type == QLatin1String("fat"))
        return bootSectorCode(source) == FS_FAT ? FS_FAT : FS_FAT32;
    // FUSE drivers (ntfs-3g, exfat-fuse) mount as fuseblk, or fuse for an image file.
    if (type == QLatin1String("fuseblk") || type == QLatin1String("fuse")) {
        const unsigned int code = bootSectorCode(source);
        if (code)
            return code;
        return type == QLatin1String("fuseblk") ? FS_NTFS : FS_OTHER;
    }
    if (type == QLatin1String("ntfs") || type == QLatin1String("ntfs3") ||
        type == QLatin1String("fuse.ntfs-3g"))
        return FS_NTFS;
    if (type == QLatin1String("iso9660") || type == QLatin1String("udf"))
        return FS_CDFS;
    if (type == QLatin1String("hfs"))
        return FS_HFS;
    if (type == QLatin1String("hfsplus"))
        return FS_HFSPLUS;
    if (type == QLatin1String("exfat"))
        return FS_EXFAT;
    return FS_OTHER;
}

bool USBDriveLister::volumeSpace(const QString& path, quint64& freeBytes, quint64& totalBytes)
{
    freeBytes = 0;
    totalBytes = 0;
    struct statvfs st;
    if (::statvfs(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    const quint64 unit = st.f_frsize ? st.f_frsize : st.f_bsize;
    freeBytes = quint64(st.f_bavail) * unit;
    totalBytes = quint64(st.f_blocks) * unit;
    return true;
}

QStringList USBDriveLister::extraDrivesSetting()
{
    std::string value;
    if (!ReadSetting(SettingsPath, "ExtraDrives", value))
        return {};
    return QString::fromUtf8(value.data(), qsizetype(value.size()))
        .split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QString USBDriveLister::labelOf(const QString& source) const
{
    if (source.isEmpty() || !source.startsWith(QLatin1Char('/')))
        return {};
    const QString device = canonical(source);
    const QDir dir(m_labelDir);
    for (const QFileInfo& link :
         dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (link.canonicalFilePath() == device)
            return unescapeUdev(link.fileName());
    }
    return {};
}

QList<USBDriveData> USBDriveLister::usbVolumes() const
{
    QList<USBDriveData> drives;
    QSet<QString> seen;
    for (const MountEntry& mount : readMountInfo(m_mountInfo)) {
        // Bind mounts show a part of a volume already listed under its own mount point.
        if (mount.root != QLatin1String("/") || seen.contains(mount.majorMinor))
            continue;
        if (mount.readOnly() || !isUsbBlockDevice(mount.majorMinor))
            continue;
        seen.insert(mount.majorMinor);
        USBDriveData drive;
        drive.root = mount.mountPoint.toStdU16String();
        QString name;
        drive.fileSystem = volumeCode(mount.majorMinor, mount.fsType, mount.source, &name);
        drive.status = volumeSpace(mount.mountPoint, drive.freeBytes, drive.totalBytes)
                           ? DriveReady
                           : DriveNoMediumInfo;
        if (name.isEmpty())
            name = labelOf(mount.source);
        if (name.isEmpty())
            name = QFileInfo(mount.mountPoint).fileName();
        if (name.isEmpty())
            name = mount.mountPoint;
        drive.displayName = name.toStdU16String();
        drive.estimatedRate = DefaultRate;
        qDebug().noquote().nospace()
            << "USB Drive " << mount.mountPoint << ", total space " << drive.totalBytes
            << ", free space " << drive.freeBytes << ", file system " << mount.fsType;
        // A volume without size cannot take a file.
        if (drive.totalBytes > 0)
            drives.append(drive);
    }
    return drives;
}

USBDriveData USBDriveLister::folderDrive(const QString& folder) const
{
    USBDriveData drive;
    drive.root = folder.toStdU16String();
    const QStorageInfo storage(folder);
    struct stat st;
    const QString majorMinor =
        ::stat(QFile::encodeName(folder).constData(), &st) == 0
            ? QStringLiteral("%1:%2").arg(major(st.st_dev)).arg(minor(st.st_dev))
            : QString();
    drive.fileSystem = volumeCode(
        majorMinor, QString::fromLatin1(storage.fileSystemType()),
        storage.device().startsWith('/') ? QFile::decodeName(storage.device()) : QString());
    drive.status =
        volumeSpace(folder, drive.freeBytes, drive.totalBytes) ? DriveReady : DriveNoMediumInfo;
    QString name = QFileInfo(folder).fileName();
    drive.displayName = (name.isEmpty() ? folder : name).toStdU16String();
    drive.estimatedRate = DefaultRate;
    qDebug().noquote().nospace() << "USB Drive " << folder << ", total space " << drive.totalBytes
                                 << ", free space " << drive.freeBytes << ", file system "
                                 << fileSystemName(drive.fileSystem);
    return drive;
}

QList<USBDriveData> USBDriveLister::list(const QStringList& extraFolders,
                                         const std::string& lastDriveName, quint32 storedRate) const
{
    QList<USBDriveData> drives = usbVolumes();
    QSet<QString> roots;
    for (const USBDriveData& drive : drives)
        roots.insert(QString::fromStdU16String(drive.root));
    for (const QString& entry : extraFolders) {
        const QString trimmed = entry.trimmed();
        if (trimmed.isEmpty())
            continue;
        const QFileInfo info(trimmed);
        // A folder that is gone (a share not mounted) or cannot be written is not offered.
        if (!info.isDir() || !info.isWritable())
            continue;
        const QString folder = canonical(trimmed);
        if (roots.contains(folder))
            continue;
        roots.insert(folder);
        const USBDriveData drive = folderDrive(folder);
        if (drive.totalBytes > 0)
            drives.append(drive);
    }
    const QString last = QString::fromUtf8(lastDriveName.data(), qsizetype(lastDriveName.size()));
    for (USBDriveData& drive : drives) {
        if (storedRate != 0 && !last.isEmpty() && QString::fromStdU16String(drive.root) == last)
            drive.estimatedRate = storedRate;
    }
    return drives;
}
