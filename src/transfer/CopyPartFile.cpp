#include "CopyPartFile.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A live copy's part file is looked at a few times a second.
constexpr auto WaitStep = std::chrono::milliseconds(200);

bool present(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

bool lockUnsupported(int error)
{
    return error == EINVAL || error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS;
}

} // namespace

const QString CopyPartFile::Suffix = QStringLiteral(".portavo.part");

CopyPartFile::Name CopyPartFile::settle(const QString& part,
                                        const std::function<bool()>& keepWaiting)
{
    const QByteArray path = QFile::encodeName(part);
    bool waited = false;
    for (;;) {
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return errno == ENOENT ? (waited ? Name::Settled : Name::Free) : Name::Taken;
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return Name::Taken;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // Nobody holds it: a killed copy's. While we hold its lock nobody else removes or
            // renames it, so the file at the name stays the one we checked.
            const bool removed = isOurs(fd, part) && ::unlink(path.constData()) == 0;
            ::close(fd);
            if (!removed && present(path))
                return Name::Taken;
            return waited ? Name::Settled : Name::Free;
        }
        const int error = errno;
        ::close(fd);
        // A file system without locks cannot tell a live part file from a stale one.
        if (error != EWOULDBLOCK)
            return Name::Taken;
        // A live transfer is writing this file: it is not copied twice.
        if (keepWaiting && !keepWaiting())
            return Name::Abandoned;
        waited = true;
        std::this_thread::sleep_for(WaitStep);
    }
}

int CopyPartFile::create(const QString& part)
{
    const int fd = ::open(QFile::encodeName(part).constData(),
                          O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && !lockUnsupported(errno)) {
        // Another transfer locked it in the instant after it appeared, taking it for stale.
        ::close(fd);
        errno = EEXIST;
        return -1;
    }
    if (!isOurs(fd, part)) {
        // ... and has removed it already.
        ::close(fd);
        errno = EEXIST;
        return -1;
    }
    return fd;
}

bool CopyPartFile::isOurs(int fd, const QString& part)
{
    struct stat mine;
    struct stat there;
    return ::fstat(fd, &mine) == 0 && ::lstat(QFile::encodeName(part).constData(), &there) == 0 &&
           mine.st_dev == there.st_dev && mine.st_ino == there.st_ino;
}
