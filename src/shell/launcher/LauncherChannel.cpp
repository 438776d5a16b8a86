#include "LauncherChannel.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "RuntimeDirectory.h"

namespace {

constexpr char Magic[4] = {'K', 'V', 'L', 'A'};
constexpr uint32_t MaxArguments = 4096;
constexpr uint32_t MaxArgumentBytes = 64 * 1024;
constexpr size_t MaxFrameBytes = 4 * 1024 * 1024;
// A peer that stops sending mid-frame must not hold the listener.
constexpr int PeerTimeoutMs = 5000;
constexpr int SendTimeoutMs = 10000;

void putU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xFF));
}

uint32_t getU32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool waitFor(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0 && (p.revents & (events | POLLHUP)) != 0;
    }
}

bool readAll(int fd, void* buffer, size_t size, int timeoutMs)
{
    auto* p = static_cast<char*>(buffer);
    while (size > 0) {
        if (!waitFor(fd, POLLIN, timeoutMs))
            return false;
        const ssize_t n = ::read(fd, p, size);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

bool writeAll(int fd, const void* buffer, size_t size, int timeoutMs)
{
    auto* p = static_cast<const char*>(buffer);
    while (size > 0) {
        if (!waitFor(fd, POLLOUT, timeoutMs))
            return false;
        const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

bool fillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int connectTo(const std::string& path)
{
    sockaddr_un address;
    if (!fillAddress(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

class FileLock
{
public:
    explicit FileLock(const std::string& path)
    {
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace

LauncherChannel::LauncherChannel(std::string socketPath)
    : m_socketPath(socketPath.empty() ? defaultSocketPath() : std::move(socketPath))
{
}

LauncherChannel::~LauncherChannel()
{
    stop();
}

std::string LauncherChannel::defaultSocketPath()
{
    const std::string dir = RuntimeDirectory::Subdirectory("portavo");
    if (dir.empty())
        return {};
    return dir + "/launcher.sock";
}

bool LauncherChannel::send(const std::string& path, const std::vector<std::string>& arguments,
                           int timeoutMs)
{
    const int fd = connectTo(path);
    if (fd < 0)
        return false;
    std::string frame(Magic, sizeof Magic);
    putU32(frame, uint32_t(arguments.size()));
    for (const std::string& a : arguments) {
        putU32(frame, uint32_t(a.size()));
        frame += a;
    }
    char ack = 0;
    const bool ok = writeAll(fd, frame.data(), frame.size(), timeoutMs) &&
                    readAll(fd, &ack, 1, timeoutMs) && ack == 1;
    ::close(fd);
    return ok;
}

LauncherChannel::Role LauncherChannel::acquire(const std::vector<std::string>& arguments,
                                               Handler handler)
{
    sockaddr_un address;
    if (!fillAddress(m_socketPath, address))
        return Role::Standalone;

    FileLock lock(m_socketPath + ".lock");
    if (!lock.held())
        return Role::Standalone;

    if (send(m_socketPath, arguments, SendTimeoutMs))
        return Role::Forwarded;

    // Nobody answers: whatever is left at the path is a dead instance's socket.
    struct stat st;
    if (::lstat(m_socketPath.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode))
            return Role::Standalone;
        ::unlink(m_socketPath.c_str());
    }

    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0)
        return Role::Standalone;
    const mode_t oldMask = ::umask(0077);
    const bool bound =
        ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::umask(oldMask);
    if (!bound || ::listen(m_listenFd, 16) != 0 || ::pipe2(m_wakePipe, O_CLOEXEC) != 0) {
        ::close(m_listenFd);
        m_listenFd = -1;
        return Role::Standalone;
    }
    m_handler = std::move(handler);
    m_thread = std::thread(&LauncherChannel::serve, this);
    return Role::Serving;
}

void LauncherChannel::stop()
{
    std::lock_guard<std::mutex> guard(m_stopMutex);
    if (m_thread.joinable()) {
        const char wake = 1;
        [[maybe_unused]] ssize_t n = ::write(m_wakePipe[1], &wake, 1);
        m_thread.join();
    }
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        m_listenFd = -1;
        ::unlink(m_socketPath.c_str());
    }
    for (int& fd : m_wakePipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void LauncherChannel::serve()
{
    for (;;) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        const int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (fds[0].revents & POLLIN) {
            const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                handleConnection(fd);
                ::close(fd);
            }
        }
    }
}

void LauncherChannel::handleConnection(int fd)
{
    // Only this user's own launches may drive the wizard.
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != ::getuid())
        return;

    unsigned char header[8];
    if (!readAll(fd, header, sizeof header, PeerTimeoutMs) ||
        std::memcmp(header, Magic, sizeof Magic) != 0)
        return;
    const uint32_t count = getU32(header + 4);
    if (count > MaxArguments)
        return;
    std::vector<std::string> arguments;
    arguments.reserve(count);
    size_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        unsigned char lengthBytes[4];
        if (!readAll(fd, lengthBytes, sizeof lengthBytes, PeerTimeoutMs))
            return;
        const uint32_t size = getU32(lengthBytes);
        total += size;
        if (size > MaxArgumentBytes || total > MaxFrameBytes)
            return;
        std::string argument(size, '\0');
        if (size > 0 && !readAll(fd, argument.data(), size, PeerTimeoutMs))
            return;
        arguments.push_back(std::move(argument));
    }
    if (m_handler)
        m_handler(arguments);
    const char ack = 1;
    writeAll(fd, &ack, 1, PeerTimeoutMs);
}
