#include "ImageFileGuard.h"

#include "LdLog.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ld {

namespace {

// libisoburn grows an image in place and rewrites its first 32 blocks at the end.
constexpr size_t kHeadBytes = 64 * 1024;
constexpr char kUndoMagic[] = "portavo-undo 1";

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

std::string besidePath(const std::string& path, const char* suffix)
{
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "." + name +
           suffix;
}

std::string errorText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool syncFolder(const std::string& path)
{
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

bool syncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// Opens one of our side files without following a link, and takes its lock unless a live
// burn holds it; -1 otherwise.
int openUnheld(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Gives the image its old length and head again.
bool putBack(const std::string& imagePath, long long size, const std::vector<char>& head)
{
    const int fd = ::open(imagePath.c_str(), O_WRONLY | O_CLOEXEC);
    bool ok = fd >= 0 && ::ftruncate(fd, size) == 0;
    if (ok && !head.empty())
        ok = ::pwrite(fd, head.data(), head.size(), 0) == ssize_t(head.size());
    if (ok)
        ok = ::fsync(fd) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    return ok;
}

bool renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat st = {};
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

std::string ImageFileGuard::resolve(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        char target[4096];
        const ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
        if (n <= 0)
            return current;
        const std::string link(target, size_t(n));
        current = link[0] == '/' ? link : folderOf(current) + "/" + link;
    }
    return current;
}

std::string ImageFileGuard::stagingPath(const std::string& imagePath)
{
    return besidePath(imagePath, ".portavo-new");
}

std::string ImageFileGuard::undoPath(const std::string& imagePath)
{
    return besidePath(imagePath, ".portavo-undo");
}

ImageFileGuard::ImageFileGuard(std::string imagePath, std::string writePath)
    : imagePath_(std::move(imagePath)), writePath_(std::move(writePath))
{
    append_ = writePath_ == imagePath_;
    if (!append_)
        return;
    const int fd = ::open(imagePath_.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st = {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        error_ = errorText("the image " + imagePath_ + " cannot be read");
        if (fd >= 0)
            ::close(fd);
        return;
    }
    size_ = st.st_size;
    head_.resize(size_t(std::min<long long>(size_, kHeadBytes)));
    const ssize_t got = ::pread(fd, head_.data(), head_.size(), 0);
    ::close(fd);
    if (got != ssize_t(head_.size())) {
        error_ = errorText("the image " + imagePath_ + " cannot be read");
        return;
    }
    if (!writeUndoRecord())
        ::unlink(undoPath(imagePath_).c_str());
}

bool ImageFileGuard::writeUndoRecord()
{
    const std::string path = undoPath(imagePath_);
    // A record left by a killed burn was put back when the device was opened; one that is
    // still here belongs to a live burn of the same image.
    undoFd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (undoFd_ < 0) {
        error_ = errno == EEXIST ? "the image " + imagePath_ + " is being written by another burn"
                                 : errorText("cannot keep the undo record " + path);
        return false;
    }
    char header[64];
    const int n =
        std::snprintf(header, sizeof header, "%s %lld %zu\n", kUndoMagic, size_, head_.size());
    if (::flock(undoFd_, LOCK_EX | LOCK_NB) != 0 || !writeAll(undoFd_, header, size_t(n)) ||
        !writeAll(undoFd_, head_.data(), head_.size()) || ::fsync(undoFd_) != 0 ||
        !syncFolder(path)) {
        error_ = errorText("cannot keep the undo record " + path);
        ::close(undoFd_);
        undoFd_ = -1;
        return false;
    }
    return true;
}

ImageFileGuard::~ImageFileGuard()
{
    if (!done_)
        restore();
    if (undoFd_ >= 0)
        ::close(undoFd_);
}

bool ImageFileGuard::ready(std::string* reason) const
{
    if (error_.empty())
        return true;
    if (reason)
        *reason = error_;
    return false;
}

bool ImageFileGuard::commit(std::string* reason)
{
    if (append_) {
        if (!syncFile(imagePath_)) {
            *reason = errorText("the image " + imagePath_ + " cannot be flushed");
            return false;
        }
        done_ = true;
        ::unlink(undoPath(imagePath_).c_str());
        syncFolder(imagePath_);
        return true;
    }
    if (!syncFile(writePath_)) {
        *reason = errorText("the image " + writePath_ + " cannot be flushed");
        return false;
    }
    // An empty file at the path is a blank disc (an erased image): the new image replaces it.
    struct stat st = {};
    const bool blankFile =
        ::lstat(imagePath_.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
    const bool renamed = blankFile ? ::rename(writePath_.c_str(), imagePath_.c_str()) == 0
                                   : renameNoReplace(writePath_, imagePath_);
    if (!renamed) {
        *reason = errno == EEXIST ? "another file took the name " + imagePath_ + " meanwhile"
                                  : errorText("the image cannot be named " + imagePath_);
        return false;
    }
    done_ = true;
    syncFolder(imagePath_);
    return true;
}

bool ImageFileGuard::restore()
{
    done_ = true;
    if (!append_) {
        if (::unlink(writePath_.c_str()) != 0 && errno != ENOENT) {
            logLine(errorText("Cannot remove the unfinished image " + writePath_));
            return false;
        }
        return true;
    }
    if (!error_.empty())
        return true; // nothing was written
    if (!putBack(imagePath_, size_, head_)) {
        // The undo record stays for the next start.
        logLine(errorText("Cannot put the image " + imagePath_ + " back as it was"));
        return false;
    }
    ::unlink(undoPath(imagePath_).c_str());
    return true;
}

void ImageFileGuard::recover(const std::string& imagePath)
{
    const std::string staging = stagingPath(imagePath);
    int fd = openUnheld(staging);
    if (fd >= 0) {
        ::unlink(staging.c_str());
        ::close(fd);
        logLine("Removed the unfinished image " + staging + " of an interrupted burn");
    }
    const std::string undo = undoPath(imagePath);
    fd = openUnheld(undo);
    if (fd < 0)
        return;
    std::vector<char> record(kHeadBytes + 128);
    const ssize_t got = ::pread(fd, record.data(), record.size(), 0);
    long long size = -1;
    size_t headBytes = 0;
    const std::string text(record.data(), size_t(std::max<ssize_t>(got, 0)));
    const size_t lineEnd = text.find('\n');
    const std::string line = text.substr(0, lineEnd == std::string::npos ? 0 : lineEnd);
    char magic[32] = {};
    int version = 0;
    const bool valid =
        std::sscanf(line.c_str(), "%31s %d %lld %zu", magic, &version, &size, &headBytes) == 4 &&
        std::string(magic) + " " + std::to_string(version) == kUndoMagic && size >= 0 &&
        headBytes <= kHeadBytes && text.size() == lineEnd + 1 + headBytes;
    // A record cut short was being written when the burn was killed: the image was not touched
    // yet.
    bool ok = true;
    if (valid) {
        const char* head = record.data() + lineEnd + 1;
        ok = putBack(imagePath, size, std::vector<char>(head, head + headBytes));
        logLine(ok ? "Undid the interrupted append to " + imagePath
                   : errorText("Cannot undo the interrupted append to " + imagePath));
    }
    if (ok)
        ::unlink(undo.c_str());
    ::close(fd);
}

} // namespace ld
