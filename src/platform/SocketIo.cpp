#include "SocketIo.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// Repeats io (send or recv) until size bytes moved, waiting for readiness in between.
template <class Byte, class Io>
bool transferAll(int fd, short events, Byte* data, size_t size, SocketIo::Deadline deadline, Io io)
{
    while (size > 0) {
        const ssize_t n = io(data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<size_t>(n);
            continue;
        }
        if (n == 0)
            return false;
        if (errno == EINTR)
            continue;
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || !SocketIo::WaitFor(fd, events, deadline))
            return false;
    }
    return true;
}

} // namespace

SocketIo::Deadline SocketIo::After(int ms)
{
    return Clock::now() + std::chrono::milliseconds(ms);
}

int SocketIo::MillisecondsLeft(Deadline deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
}

bool SocketIo::WaitFor(int fd, short events, Deadline deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, MillisecondsLeft(deadline));
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

bool SocketIo::WriteAll(int fd, const void* data, size_t size, Deadline deadline)
{
    return transferAll(fd, POLLOUT, static_cast<const unsigned char*>(data), size, deadline,
                       [fd](const unsigned char* p, size_t n) {
                           return ::send(fd, p, n, MSG_NOSIGNAL | MSG_DONTWAIT);
                       });
}

bool SocketIo::ReadAll(int fd, void* data, size_t size, Deadline deadline)
{
    return transferAll(fd, POLLIN, static_cast<unsigned char*>(data), size, deadline,
                       [fd](unsigned char* p, size_t n) { return ::recv(fd, p, n, MSG_DONTWAIT); });
}

int SocketIo::ConnectLocal(const std::string& path, Deadline deadline, int* error)
{
    sockaddr_un address;
    if (!FillAddress(path, &address)) {
        *error = ENAMETOOLONG;
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return fd;
        const int err = errno;
        if (err == EINTR)
            continue;
        // A full backlog: the listener lives but has not accepted yet.
        if (err == EAGAIN && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        ::close(fd);
        *error = err == EAGAIN ? ETIMEDOUT : err;
        return -1;
    }
}

bool SocketIo::FillAddress(const std::string& path, sockaddr_un* address)
{
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, path.c_str(), path.size());
    return true;
}

void SocketIo::PutU32(unsigned char* p, unsigned v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

unsigned SocketIo::GetU32(const unsigned char* p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16 | unsigned(p[3]) << 24;
}
