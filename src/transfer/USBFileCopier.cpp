#include "USBFileCopier.h"

#include "CopyPartFile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Data written but not yet confirmed on the drive is kept below this, so the progress shown is
// what the drive really took and the cache does not fill with a multi-gigabyte file.
constexpr qint64 UnconfirmedBytes = qint64(32) << 20;
constexpr int MaxNameAttempts = 9999;

class FileHandle
{
public:
    explicit FileHandle(int fd = -1) : m_fd(fd) {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return m_fd; }
    // Closes now and reports the result: a network or FUSE drive may report a lost write
    // only here.
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd >= 0 ? ::close(fd) : 0;
    }

private:
    int m_fd;
};

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// Why a copy failed, for the person: it ends up in the transfer page's message.
QString reason(const char* text)
{
    return QCoreApplication::translate("USBFileCopier", text);
}

USBFileCopier::Result failed(int error, const QString& what)
{
    USBFileCopier::Result result;
    result.outcome = USBFileCopier::Outcome::Failed;
    result.error = error;
    result.reason = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
    return result;
}

bool readFully(int fd, char* buffer, qint64 length, qint64& got)
{
    got = 0;
    while (got < length) {
        const ssize_t n = ::read(fd, buffer + got, size_t(length - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    return true;
}

bool writeFully(int fd, const char* buffer, qint64 length)
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd, buffer + done, size_t(length - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += n;
    }
    return true;
}

// Whether the file at path holds exactly the bytes of the open source.
bool sameContent(int sourceFd, const QString& path, qint64 size)
{
    FileHandle other(::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (other.get() < 0 || ::fstat(other.get(), &st) != 0 || st.st_size != size)
        return false;
    constexpr qint64 Block = qint64(1) << 20;
    std::unique_ptr<char[]> a(new char[Block]);
    std::unique_ptr<char[]> b(new char[Block]);
    for (qint64 offset = 0; offset < size; offset += Block) {
        const qint64 want = qMin(Block, size - offset);
        const ssize_t ra = ::pread(sourceFd, a.get(), size_t(want), off_t(offset));
        const ssize_t rb = ::pread(other.get(), b.get(), size_t(want), off_t(offset));
        if (ra != want || rb != want || std::memcmp(a.get(), b.get(), size_t(want)) != 0)
            return false;
    }
    return true;
}

const QString& PartSuffix = CopyPartFile::Suffix;
// What browsers and download tools name a file they are still writing.
const QString ForeignPartSuffix = QStringLiteral(".part");

USBFileCopier::Result cancelled()
{
    USBFileCopier::Result result;
    result.outcome = USBFileCopier::Outcome::Cancelled;
    return result;
}

bool exists(const QString& path)
{
    struct stat st;
    return ::lstat(encoded(path).constData(), &st) == 0;
}

// Gives the part file its final name unless something took that name meanwhile.
bool renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray f = encoded(from);
    const QByteArray t = encoded(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system cannot refuse to replace: check first, the small window is accepted.
    if (exists(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(f.constData(), t.constData()) == 0;
}

} // namespace

QString USBFileCopier::freeName(const QString& folder, const QString& fileName,
                                const FileNameMapper& names)
{
    for (int attempt = 1; attempt <= MaxNameAttempts; ++attempt) {
        const QString name = names.numbered(fileName, attempt, PartSuffix);
        if (names.existing(folder, name).isEmpty() &&
            names.existing(folder, name + PartSuffix).isEmpty() &&
            names.existing(folder, name + ForeignPartSuffix).isEmpty())
            return folder + QLatin1Char('/') + name;
    }
    return {};
}

USBFileCopier::Result USBFileCopier::copy(const QString& source, const QString& folder,
                                          const Progress& progress, bool fatLimit,
                                          const FileNameMapper& names,
                                          const FileOperations& operations)
{
    FileHandle in(::open(encoded(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return failed(errno,
                      reason(QT_TRANSLATE_NOOP("USBFileCopier", "could not open the video")));
    struct stat st;
    if (::fstat(in.get(), &st) != 0)
        return failed(errno,
                      reason(QT_TRANSLATE_NOOP("USBFileCopier", "could not read the video")));
    if (!S_ISREG(st.st_mode))
        return failed(
            EINVAL, reason(QT_TRANSLATE_NOOP("USBFileCopier", "the video is not a regular file")));
    const qint64 size = st.st_size;
    if (fatLimit && size > FatFileLimit) {
        Result result = failed(
            EFBIG, reason(QT_TRANSLATE_NOOP("USBFileCopier", "the drive's FAT file system cannot "
                                                             "store files of 4 GB or more")));
        return result;
    }
    ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    const QString sourceName = QFileInfo(source).fileName();
    // While another transfer writes the same name, the wait for it answers the user's cancel.
    const auto keepWaiting = [&]() { return !progress || progress(0, quint64(size)); };
    FileNameMapper rules = names;
    QString fileName = rules.map(sourceName, PartSuffix);
    QString target;
    int created = -1;
    bool announced = false;
    for (int attempt = 1; created < 0; ++attempt) {
        if (attempt > MaxNameAttempts)
            return failed(EEXIST, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                           "no free file name on the drive")));
        const QString name = rules.numbered(fileName, attempt, PartSuffix);
        const QString present = rules.existing(folder, name);
        if (!present.isEmpty()) {
            // A copy from an earlier transfer is not made twice.
            if (sameContent(in.get(), present, size)) {
                Result result;
                result.outcome = Outcome::Copied;
                result.destination = present;
                if (progress && !progress(quint64(size), quint64(size)))
                    result.outcome = Outcome::Cancelled;
                return result;
            }
            continue;
        }
        // Another program's partial download of that name may become that file.
        if (!rules.existing(folder, name + ForeignPartSuffix).isEmpty())
            continue;
        const QString ourPart = rules.existing(folder, name + PartSuffix);
        if (!ourPart.isEmpty()) {
            switch (CopyPartFile::settle(ourPart, keepWaiting)) {
            case CopyPartFile::Name::Free:
                break;
            case CopyPartFile::Name::Taken:
                continue;
            case CopyPartFile::Name::Settled:
                // The other transfer is done with this name: look at it again.
                --attempt;
                continue;
            case CopyPartFile::Name::Abandoned:
                return cancelled();
            }
        }

        if (!announced && progress && !progress(0, quint64(size)))
            return cancelled();
        announced = true;

        target = folder + QLatin1Char('/') + name;
        created = CopyPartFile::create(target + PartSuffix);
        if (created < 0 && errno == EEXIST) {
            // Another transfer took the name this instant.
            --attempt;
            continue;
        }
        if (created < 0 && errno == EINVAL && rules.rules() == FileNameMapper::Rules::Posix) {
            // A drive of unknown type (a share, a FUSE mount) that refuses the name.
            rules = rules.windowsFallback();
            fileName = rules.map(sourceName, PartSuffix);
            attempt = 0;
            continue;
        }
        if (created < 0)
            return failed(errno, reason(QT_TRANSLATE_NOOP(
                                     "USBFileCopier", "could not create the file on the drive")));
    }
    FileHandle out(created);
    // The lock lives as long as this second handle: past the close of the first, up to the
    // rename.
    FileHandle lock(::dup(created));
    const QString part = target + PartSuffix;
    // From here on every way out that is not a success removes the part file, if it is still
    // ours.
    struct PartGuard
    {
        int fd;
        QString part;
        bool keep = false;
        ~PartGuard()
        {
            if (!keep && CopyPartFile::isOurs(fd, part))
                ::unlink(encoded(part).constData());
        }
    } guard{lock.get(), part};

    std::unique_ptr<char[]> buffer;
    bool useRange = true;
    bool useWriteback = true;
    qint64 offset = 0;
    qint64 confirmed = 0;
    while (offset < size) {
        const qint64 want = qMin(ChunkBytes, size - offset);
        qint64 moved = -1;
        if (useRange) {
            const ssize_t n =
                ::copy_file_range(in.get(), nullptr, out.get(), nullptr, size_t(want), 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && offset == 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                 errno == EBADF)) {
                // Not between these two file systems: copy through a buffer instead.
                useRange = false;
                continue;
            }
            if (n < 0)
                return failed(errno, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                              "could not copy to the drive")));
            moved = n;
        } else {
            if (!buffer)
                buffer.reset(new char[ChunkBytes]);
            if (!readFully(in.get(), buffer.get(), want, moved))
                return failed(
                    errno, reason(QT_TRANSLATE_NOOP("USBFileCopier", "could not read the video")));
            if (moved > 0 && !writeFully(out.get(), buffer.get(), moved))
                return failed(errno, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                              "could not write to the drive")));
        }
        if (moved == 0)
            return failed(
                EIO, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                              "the video became shorter while it was copied")));
        const qint64 chunkStart = offset;
        offset += moved;

        if (useWriteback) {
            // Start writing this chunk out now; wait for what is older than the window.
            if (::sync_file_range(out.get(), chunkStart, moved, SYNC_FILE_RANGE_WRITE) != 0) {
                if (errno == EIO || errno == ENOSPC)
                    return failed(errno, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                                  "could not write to the drive")));
                useWriteback = false;
            } else if (offset - confirmed > UnconfirmedBytes) {
                const qint64 upTo = offset - UnconfirmedBytes / 2;
                if (::sync_file_range(out.get(), confirmed, upTo - confirmed,
                                      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                          SYNC_FILE_RANGE_WAIT_AFTER) != 0)
                    return failed(errno, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                                  "could not write to the drive")));
                ::posix_fadvise(out.get(), confirmed, upTo - confirmed, POSIX_FADV_DONTNEED);
                ::posix_fadvise(in.get(), confirmed, upTo - confirmed, POSIX_FADV_DONTNEED);
                confirmed = upTo;
            }
        }
        // The last figure is reported once the data is safely on the drive, below.
        if (offset < size && progress && !progress(quint64(offset), quint64(size)))
            return cancelled();
    }

    if (operations.fsync(out.get()) != 0)
        return failed(errno, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                      "could not finish writing to the drive")));
    if (out.close() != 0)
        return failed(errno, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                      "could not finish writing to the drive")));
    if (progress && !progress(quint64(size), quint64(size)))
        return cancelled();

    // The name may have been taken while the data was copied: then the next free one.
    QString destination = target;
    if (!CopyPartFile::isOurs(lock.get(), part))
        return failed(ENOENT, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                       "could not name the file on the drive")));
    while (!renameNoReplace(part, destination)) {
        if (errno != EEXIST)
            return failed(errno, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                          "could not name the file on the drive")));
        destination = freeName(folder, fileName, rules);
        if (destination.isEmpty())
            return failed(EEXIST, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                                           "no free file name on the drive")));
    }
    guard.keep = true;

    // The new name itself must survive a pulled plug.
    FileHandle dir(::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0 && operations.fsync(dir.get()) != 0 && errno != EINVAL)
        return failed(
            errno, reason(QT_TRANSLATE_NOOP("USBFileCopier",
                                            "could not finish writing the folder on the drive")));

    Result result;
    result.outcome = Outcome::Copied;
    result.destination = destination;
    return result;
}
