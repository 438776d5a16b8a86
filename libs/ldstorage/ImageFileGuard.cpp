#include "ImageFileGuard.h"

#include "LdLog.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ld {

namespace {
// libisoburn grows an image in place and rewrites its first 32 blocks at the end.
constexpr size_t kHeadBytes = 64 * 1024;
} // namespace

ImageFileGuard::ImageFileGuard(std::string path) : path_(std::move(path))
{
    struct stat st = {};
    existed_ = ::stat(path_.c_str(), &st) == 0;
    size_ = existed_ ? st.st_size : 0;
    if (size_ <= 0)
        return;
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    head_.resize(size_t(std::min<long long>(size_, kHeadBytes)));
    const ssize_t got = ::pread(fd, head_.data(), head_.size(), 0);
    head_.resize(got > 0 ? size_t(got) : 0);
    ::close(fd);
}

ImageFileGuard::~ImageFileGuard()
{
    if (!committed_)
        restore();
}

bool ImageFileGuard::restore()
{
    committed_ = true;
    if (!existed_) {
        if (::unlink(path_.c_str()) != 0 && errno != ENOENT) {
            logLine("Cannot remove the unfinished image " + path_ + ": " + std::strerror(errno));
            return false;
        }
        return true;
    }
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    bool ok = fd >= 0 && ::ftruncate(fd, size_) == 0;
    if (ok && !head_.empty())
        ok = ::pwrite(fd, head_.data(), head_.size(), 0) == ssize_t(head_.size());
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    if (!ok)
        logLine("Cannot put the image " + path_ + " back as it was: " + std::strerror(errno));
    return ok;
}

} // namespace ld
