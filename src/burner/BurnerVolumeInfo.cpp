#include "BurnerVolumeInfo.h"

#include "UdevText.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

constexpr unsigned int kCdfs = 8;
constexpr qint64 kBlock = 2048;

unsigned int codeOf(const QByteArray& type)
{
    return type == "iso9660" || type == "udf" ? kCdfs : 0;
}

BurnerVolumeInfo fromUdev(const QString& node, const QString& udevData)
{
    BurnerVolumeInfo info;
    struct stat st = {};
    if (::stat(QFile::encodeName(node).constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return info;
    QFile record(
        QStringLiteral("%1/b%2:%3").arg(udevData).arg(major(st.st_rdev)).arg(minor(st.st_rdev)));
    if (!record.open(QIODevice::ReadOnly))
        return info;
    QString plainLabel;
    for (const QByteArray& line : record.readAll().split('\n')) {
        if (line.startsWith("E:ID_FS_TYPE="))
            info.fileSystem = codeOf(line.mid(13).trimmed());
        else if (line.startsWith("E:ID_FS_LABEL_ENC="))
            info.label = UdevText::decode(line.mid(18)).trimmed();
        else if (line.startsWith("E:ID_FS_LABEL="))
            plainLabel = QString::fromUtf8(line.mid(14)).trimmed();
    }
    if (info.label.isEmpty())
        info.label = plainLabel;
    if (!info.fileSystem)
        info.label.clear();
    return info;
}

// The primary volume descriptor at block 16 ("\1CD001"), the volume identifier at byte 40.
BurnerVolumeInfo fromImage(const QString& path)
{
    BurnerVolumeInfo info;
    QFile image(path);
    if (!image.open(QIODevice::ReadOnly) || !image.seek(16 * kBlock))
        return info;
    const QByteArray pvd = image.read(kBlock);
    if (pvd.size() < 72 || pvd[0] != '\1' || pvd.mid(1, 5) != "CD001")
        return info;
    info.fileSystem = kCdfs;
    info.label = QString::fromLatin1(pvd.mid(40, 32)).trimmed();
    return info;
}

} // namespace

BurnerVolumeInfo BurnerVolumeInfo::of(const QString& root, const QString& udevData)
{
    const QFileInfo file(root);
    if (file.isFile())
        return fromImage(root);
    return fromUdev(root, udevData);
}
