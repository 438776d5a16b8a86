#include "NamedMutexRegistry.h"

#include "PlatformLogging.h"
#include "RuntimeDirectory.h"

#include <QDebug>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// File names keep letters, digits, '-', '_' and '.'; every other byte is
// written as %XX, so distinct names never share a file.
std::string encodeName(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    // "." and ".." are not file names of their own.
    if (out == "." || out == "..")
        out = "%2E" + out.substr(1);
    return out;
}

} // namespace

NamedMutexRegistry& NamedMutexRegistry::Instance()
{
    static NamedMutexRegistry* registry = new NamedMutexRegistry;
    return *registry;
}

std::string NamedMutexRegistry::LockFilePath(const std::string& name)
{
    const std::string dir = RuntimeDirectory::Subdirectory("kavo-locks");
    if (dir.empty())
        return {};
    return dir + "/" + encodeName(name) + ".lock";
}

int NamedMutexRegistry::LockFile(const std::string& name, uint32_t timeoutMs)
{
    const std::string path = LockFilePath(name);
    int fd =
        path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        qCWarning(lcPlatform) << "NamedMutex  cannot open the lock file of" << name.c_str()
                              << "; it excludes threads of this process only";
        return -1;
    }
    if (timeoutMs == kInfinite) {
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                qCWarning(lcPlatform) << "NamedMutex  flock failed for" << name.c_str();
                ::close(fd);
                return -1;
            }
        }
        return fd;
    }
    // flock has no time-out of its own: poll.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            qCWarning(lcPlatform) << "NamedMutex  flock failed for" << name.c_str();
            ::close(fd);
            return -1;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return -2;
        }
        ::usleep(5000);
    }
}

bool NamedMutexRegistry::Acquire(const std::string& name, uint32_t timeoutMs)
{
    const auto self = std::this_thread::get_id();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(m_mutex);
    Entry& entry = m_entries[name];
    if (entry.count > 0 && entry.owner == self) {
        ++entry.count;
        return true;
    }
    const auto freeInProcess = [&entry] { return entry.count == 0; };
    if (timeoutMs == kInfinite)
        entry.cv.wait(lock, freeInProcess);
    else if (!entry.cv.wait_until(lock, deadline, freeInProcess))
        return false;

    // Claim it within the process first, then wait for other processes
    // without holding the book's lock.
    entry.owner = self;
    entry.count = 1;
    if (!name.empty() && name[0] == '\0')
        return true;
    lock.unlock();

    uint32_t remaining = kInfinite;
    if (timeoutMs != kInfinite) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        remaining = left.count() > 0 ? static_cast<uint32_t>(left.count()) : 0;
    }
    const int fd = LockFile(name, remaining);

    lock.lock();
    if (fd == -2) {
        entry.count = 0;
        entry.owner = std::thread::id();
        entry.cv.notify_all();
        return false;
    }
    entry.fd = fd;
    return true;
}

bool NamedMutexRegistry::Release(const std::string& name)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_entries.find(name);
    if (it == m_entries.end())
        return false;
    Entry& entry = it->second;
    if (entry.count == 0 || entry.owner != std::this_thread::get_id())
        return false;
    if (--entry.count > 0)
        return true;
    if (entry.fd >= 0) {
        // Explicit unlock: a child forked but not yet exec'd shares the
        // descriptor and would otherwise keep the lock.
        ::flock(entry.fd, LOCK_UN);
        ::close(entry.fd);
        entry.fd = -1;
    }
    entry.owner = std::thread::id();
    entry.cv.notify_all();
    return true;
}

std::string NamedMutexRegistry::PrivateName()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::string(1, '\0') + "unnamed-" + std::to_string(++m_privateCounter);
}
