#include "UdevDatabase.h"

#include <QFile>

#include "USBDriveData.h"
#include "UdevText.h"

UdevDatabase::UdevDatabase(QString dataDir) : m_dataDir(std::move(dataDir)) {}

UdevDatabase UdevDatabase::fromEnvironment()
{
    const QString dir = qEnvironmentVariable("KAVO_UDEV_DATA");
    return dir.isEmpty() ? UdevDatabase() : UdevDatabase(dir);
}

QString UdevDatabase::unescape(const QString& text)
{
    return UdevText::decode(text.toUtf8());
}

QHash<QString, QString> UdevDatabase::properties(const QString& majorMinor) const
{
    QHash<QString, QString> result;
    if (majorMinor.isEmpty() || majorMinor.contains(QLatin1Char('/')))
        return result;
    QFile file(m_dataDir + QStringLiteral("/b") + majorMinor);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    // A record is a few dozen short lines; anything far larger is not one.
    const QByteArray all = file.read(1 << 20);
    for (const QByteArray& line : all.split('\n')) {
        if (!line.startsWith("E:"))
            continue;
        const int equals = int(line.indexOf('='));
        if (equals > 2)
            result.insert(QString::fromUtf8(line.mid(2, equals - 2)),
                          QString::fromUtf8(line.mid(equals + 1)));
    }
    return result;
}

UdevDatabase::Volume UdevDatabase::volume(const QString& majorMinor) const
{
    const QHash<QString, QString> p = properties(majorMinor);
    Volume v;
    v.fsType = p.value(QStringLiteral("ID_FS_TYPE"));
    v.fsVersion = p.value(QStringLiteral("ID_FS_VERSION"));
    // ID_FS_LABEL has unsafe characters replaced; the encoded form keeps them.
    const QString encoded = p.value(QStringLiteral("ID_FS_LABEL_ENC"));
    v.label = encoded.isEmpty() ? p.value(QStringLiteral("ID_FS_LABEL")) : unescape(encoded);
    v.bus = p.value(QStringLiteral("ID_BUS"));
    return v;
}

unsigned int UdevDatabase::fileSystemCode(const Volume& volume)
{
    const QString type = volume.fsType.toLower();
    if (type.isEmpty() || type == QLatin1String("crypto_luks") ||
        type.endsWith(QLatin1String("_member")) || type == QLatin1String("swap"))
        return 0;
    if (type == QLatin1String("vfat") || type == QLatin1String("msdos")) {
        const QString version = volume.fsVersion.toUpper();
        return version == QLatin1String("FAT12") || version == QLatin1String("FAT16") ? FS_FAT
                                                                                      : FS_FAT32;
    }
    if (type == QLatin1String("exfat"))
        return FS_EXFAT;
    if (type == QLatin1String("ntfs"))
        return FS_NTFS;
    if (type == QLatin1String("iso9660") || type == QLatin1String("udf"))
        return FS_CDFS;
    if (type == QLatin1String("hfs"))
        return FS_HFS;
    if (type == QLatin1String("hfsplus"))
        return FS_HFSPLUS;
    return FS_OTHER;
}
