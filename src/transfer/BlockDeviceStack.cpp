#include "BlockDeviceStack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// Deeper stacks than this (dm over dm over md over a partition...) do not occur; the bound
// also ends a walk through a damaged or looping tree.
constexpr int MaxMembers = 16;

QString deviceNumber(const QString& sysfsPath)
{
    QFile file(sysfsPath + QStringLiteral("/dev"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.read(32)).trimmed();
}

} // namespace

QList<BlockDeviceStack::Member> BlockDeviceStack::of(const QString& sysfsRoot,
                                                     const QString& majorMinor)
{
    QList<Member> members;
    if (majorMinor.isEmpty())
        return members;
    const QString top =
        QFileInfo(sysfsRoot + QStringLiteral("/dev/block/") + majorMinor).canonicalFilePath();
    if (top.isEmpty())
        return members;
    members.append({majorMinor, top});
    QSet<QString> seen{top};
    for (int i = 0; i < members.size() && members.size() < MaxMembers; ++i) {
        const QString slaves = members[i].sysfsPath + QStringLiteral("/slaves");
        const QStringList names =
            QDir(slaves).entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& name : names) {
            const QString path = QFileInfo(slaves + QLatin1Char('/') + name).canonicalFilePath();
            if (path.isEmpty() || seen.contains(path) || members.size() >= MaxMembers)
                continue;
            seen.insert(path);
            members.append({deviceNumber(path), path});
        }
    }
    return members;
}
