#include "FileNameMapper.h"

#include <QDir>
#include <QFile>
#include <QTextBoundaryFinder>
#include <sys/stat.h>
#include <sys/statfs.h>

#include "USBDriveData.h"

namespace {

// An extension longer than this is taken as part of the name when the name must be shortened.
constexpr int MaxKeptExtension = 32;

bool refusedOnWindows(QChar c)
{
    static const QString refused = QStringLiteral("\"*:<>?\\|");
    return c.unicode() < 0x20 || refused.contains(c);
}

bool reservedDeviceName(const QString& name)
{
    // Windows reserves these with any extension, and ignores spaces before the dot.
    QString base = name.section(QLatin1Char('.'), 0, 0);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    base = base.toUpper();
    static const QStringList plain = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                      QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (plain.contains(base))
        return true;
    return base.size() == 4 &&
           (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           base[3] >= QLatin1Char('1') && base[3] <= QLatin1Char('9');
}

void dropTrailingDotsAndSpaces(QString& name)
{
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
}

// The extension with its dot, when the name has a base before it and the extension is short.
QString extensionOf(const QString& name)
{
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    if (dot <= 0 || name.size() - dot > MaxKeptExtension)
        return {};
    return name.mid(dot);
}

} // namespace

FileNameMapper::FileNameMapper(Rules rules, int nameMaxBytes)
    : m_rules(rules), m_nameMaxBytes(nameMaxBytes > 0 ? nameMaxBytes : 255)
{
}

FileNameMapper FileNameMapper::forDrive(unsigned int fileSystemCode, const QString& folder)
{
    switch (fileSystemCode) {
    case FS_FAT:
    case FS_FAT32:
        return FileNameMapper(Rules::Fat);
    case FS_EXFAT:
        return FileNameMapper(Rules::ExFat);
    case FS_NTFS:
        return FileNameMapper(Rules::Ntfs);
    default:
        break;
    }
    struct statfs st;
    if (!folder.isEmpty() && ::statfs(QFile::encodeName(folder).constData(), &st) == 0)
        return FileNameMapper(Rules::Posix, int(st.f_namelen));
    return FileNameMapper(Rules::Posix);
}

FileNameMapper FileNameMapper::windowsFallback() const
{
    // The strictest rules: an unknown drive that refuses names is most likely NTFS or a share.
    return FileNameMapper(Rules::Ntfs, m_nameMaxBytes);
}

bool FileNameMapper::fits(const QString& name) const
{
    if (m_rules == Rules::Posix)
        return QFile::encodeName(name).size() <= m_nameMaxBytes;
    return name.size() <= WindowsNameUnits;
}

QString FileNameMapper::shortened(const QString& base, const QString& tail) const
{
    if (fits(base + tail))
        return base;
    // Cut between characters as the reader sees them, never inside a surrogate pair or
    // before a combining mark.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, base);
    finder.toEnd();
    qsizetype at = finder.position();
    while (at > 0) {
        at = finder.toPreviousBoundary();
        if (at < 0)
            break;
        if (fits(base.left(at) + tail))
            return base.left(at);
    }
    return {};
}

QString FileNameMapper::map(const QString& name, const QString& reserve) const
{
    QString mapped = name;
    if (m_rules != Rules::Posix) {
        for (QChar& c : mapped) {
            if (refusedOnWindows(c))
                c = QLatin1Char('_');
        }
        dropTrailingDotsAndSpaces(mapped);
        if ((m_rules == Rules::Fat || m_rules == Rules::Ntfs) && reservedDeviceName(mapped)) {
            const int dot = int(mapped.indexOf(QLatin1Char('.')));
            mapped.insert(dot < 0 ? mapped.size() : dot, QLatin1Char('_'));
        }
    }
    if (mapped.isEmpty())
        mapped = QStringLiteral("_");
    if (fits(mapped + reserve))
        return mapped;
    const QString extension = extensionOf(mapped);
    QString base = shortened(mapped.left(mapped.size() - extension.size()), extension + reserve);
    if (m_rules != Rules::Posix && extension.isEmpty())
        dropTrailingDotsAndSpaces(base);
    if (base.isEmpty())
        base = QStringLiteral("_");
    return base + extension;
}

QString FileNameMapper::numbered(const QString& mappedName, int attempt,
                                 const QString& reserve) const
{
    if (attempt < 2)
        return mappedName;
    const int dot = int(mappedName.lastIndexOf(QLatin1Char('.')));
    const bool split = dot > 0;
    const QString base = split ? mappedName.left(dot) : mappedName;
    const QString extension = split ? mappedName.mid(dot) : QString();
    const QString number = QStringLiteral(" (%1)").arg(attempt);
    QString shorter = shortened(base, number + extension + reserve);
    if (m_rules != Rules::Posix)
        dropTrailingDotsAndSpaces(shorter);
    return shorter + number + extension;
}

QString FileNameMapper::existing(const QString& folder, const QString& name) const
{
    const QString path = folder + QLatin1Char('/') + name;
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
        return path;
    // ntfs-3g keeps names that differ only by case apart; Windows and the devices would not.
    if (!caseInsensitive())
        return {};
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + QLatin1Char('/') + entry;
    }
    return {};
}
