#include "MountHolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool below(const QString& path, const QString& mountPoint)
{
    return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

bool holds(const QString& process, const QString& mountPoint)
{
    if (below(QFileInfo(process + QStringLiteral("/cwd")).symLinkTarget(), mountPoint))
        return true;
    const QDir fds(process + QStringLiteral("/fd"));
    for (const QFileInfo& fd :
         fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (below(fd.symLinkTarget(), mountPoint))
            return true;
    }
    QFile maps(process + QStringLiteral("/maps"));
    if (maps.open(QIODevice::ReadOnly)) {
        const QByteArray all = maps.readAll();
        for (const QByteArray& line : all.split('\n')) {
            const int slash = int(line.indexOf('/'));
            if (slash >= 0 && below(QFile::decodeName(line.mid(slash)), mountPoint))
                return true;
        }
    }
    return false;
}

} // namespace

QStringList MountHolders::of(const QString& mountPoint, const QString& procRoot)
{
    QStringList holders;
    const QString canonical = QFileInfo(mountPoint).canonicalFilePath();
    const QString point = canonical.isEmpty() ? mountPoint : canonical;
    const QDir proc(procRoot);
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        entry.toInt(&isPid);
        if (!isPid)
            continue;
        const QString process = procRoot + QLatin1Char('/') + entry;
        if (!holds(process, point))
            continue;
        QFile comm(process + QStringLiteral("/comm"));
        QString name = comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()).trimmed()
                                                      : QString();
        holders << QStringLiteral("%1 (%2)").arg(name.isEmpty() ? QStringLiteral("?") : name,
                                                 entry);
    }
    holders.sort();
    return holders;
}
