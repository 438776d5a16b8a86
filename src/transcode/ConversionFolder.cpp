#include "ConversionFolder.h"

#include <QByteArray>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

#include "TranscodeLogging.h"

namespace {

// A folder still without its lock file is being made, unless it is older than this: then its
// maker died before it was done.
constexpr qint64 kUnfinishedAgeSecs = 60;

// Takes the lock of a run folder when nobody holds it; -1 when its run is alive (or the lock
// file cannot be opened).
int takeLock(const QString& lockPath)
{
    const QByteArray name = QFile::encodeName(lockPath);
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

ConversionFolder::~ConversionFolder()
{
    close();
}

QString ConversionFolder::open(const QString& base)
{
    if (isOpen())
        return m_path;
    removeLeftovers(base);
    QByteArray pattern = QFile::encodeName(base + QLatin1Char('/') + QLatin1String(kPrefix)) +
                         QByteArrayLiteral("XXXXXX");
    if (!::mkdtemp(pattern.data())) {
        qCWarning(lcTranscode).noquote()
            << "ConversionFolder  cannot make a folder in" << base << ":" << std::strerror(errno);
        return base;
    }
    const QString path = QFile::decodeName(pattern);
    // Locked under another name and then renamed, so that no other run ever finds the lock
    // file unlocked while this one lives.
    const QByteArray fresh = QFile::encodeName(path + QStringLiteral("/run.lock.new"));
    const QByteArray final = QFile::encodeName(path + QLatin1Char('/') + QLatin1String(kLockName));
    const int fd = ::open(fresh.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::rename(fresh.constData(), final.constData()) != 0) {
        qCWarning(lcTranscode).noquote()
            << "ConversionFolder  cannot lock" << path << ":" << std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        QDir(path).removeRecursively();
        return base;
    }
    // The owner's process id, for a person looking at the folder.
    const std::string pid = std::to_string(::getpid()) + "\n";
    [[maybe_unused]] const ssize_t n = ::write(fd, pid.data(), pid.size());
    m_lockFd = fd;
    m_path = path;
    return m_path;
}

void ConversionFolder::clear()
{
    if (!isOpen())
        return;
    const QDir dir(m_path);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName() == QLatin1String(kLockName))
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
}

void ConversionFolder::close()
{
    if (!isOpen())
        return;
    // The lock goes last: until then no other run takes the folder for a leftover.
    QDir(m_path).removeRecursively();
    ::close(m_lockFd);
    m_lockFd = -1;
    m_path.clear();
}

int ConversionFolder::removeLeftovers(const QString& base)
{
    int removed = 0;
    const QFileInfoList folders =
        QDir(base).entryInfoList({QLatin1String(kPrefix) + QLatin1Char('*')},
                                 QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        if (folder.isSymLink())
            continue;
        const QString path = folder.absoluteFilePath();
        const QString lockPath = path + QLatin1Char('/') + QLatin1String(kLockName);
        int lockFd = -1;
        if (QFileInfo::exists(lockPath)) {
            lockFd = takeLock(lockPath);
            if (lockFd < 0)
                continue; // its run is alive
        } else if (folder.lastModified().secsTo(QDateTime::currentDateTime()) <
                   kUnfinishedAgeSecs) {
            continue; // still being made
        }
        QDir(path).removeRecursively();
        if (lockFd >= 0)
            ::close(lockFd);
        ++removed;
    }
    if (removed > 0)
        qCDebug(lcTranscode).noquote()
            << "ConversionFolder  removed" << removed << "folder(s) of ended runs in" << base;
    return removed;
}
