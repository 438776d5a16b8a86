#include "FrameServer.h"

#include "SocketIo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kHeaderSize = 8;
constexpr size_t kReadChunk = 64 * 1024;

// One accepted connection while its frame arrives.
struct Connection
{
    int fd = -1;
    SocketIo::Deadline deadline;
    unsigned char header[kHeaderSize] = {};
    size_t headerRead = 0;
    uint32_t length = 0;
    std::vector<unsigned char> body;
};

enum class Progress
{
    More,
    Complete,
    Refused,
    Broken
};

void answer(int fd, const std::string& bytes)
{
    // The peer waits for these few bytes; an empty socket buffer always takes them.
    if (bytes.empty())
        return;
    [[maybe_unused]] const ssize_t n =
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

bool readFailed(ssize_t n)
{
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

// Reads what has arrived, never past the end of the frame.
Progress readSome(Connection& c, const FrameServer::Limits& limits)
{
    if (c.headerRead < kHeaderSize) {
        const ssize_t n = ::recv(c.fd, c.header + c.headerRead, kHeaderSize - c.headerRead, 0);
        if (readFailed(n))
            return Progress::Broken;
        if (n < 0)
            return Progress::More;
        c.headerRead += static_cast<size_t>(n);
        if (c.headerRead < kHeaderSize)
            return Progress::More;
        if (!FrameServer::ParseHeader(c.header, limits, &c.length))
            return Progress::Refused;
        return c.length == 0 ? Progress::Complete : Progress::More;
    }
    const size_t have = c.body.size();
    const size_t want = std::min(kReadChunk, c.length - have);
    c.body.resize(have + want);
    const ssize_t n = ::recv(c.fd, c.body.data() + have, want, 0);
    c.body.resize(have + (n > 0 ? static_cast<size_t>(n) : 0));
    if (readFailed(n))
        return Progress::Broken;
    return c.body.size() == c.length ? Progress::Complete : Progress::More;
}

} // namespace

bool FrameServer::ParseHeader(const unsigned char* header, const Limits& limits, uint32_t* length)
{
    const uint32_t stated = SocketIo::GetU32(header + 4);
    if (SocketIo::GetU32(header) != limits.tag || stated < limits.minLength ||
        stated > limits.maxLength)
        return false;
    *length = stated;
    return true;
}

bool FrameServer::Serve(int listenFd, int wakeFd, const Limits& limits, const std::string& refusal,
                        const Handler& handler)
{
    std::vector<Connection> connections;
    const auto closeAt = [&connections](size_t i) {
        ::close(connections[i].fd);
        connections.erase(connections.begin() + static_cast<std::ptrdiff_t>(i));
    };
    const auto closeAll = [&connections] {
        for (const Connection& c : connections)
            ::close(c.fd);
    };

    std::vector<pollfd> fds;
    for (;;) {
        fds.assign({{wakeFd, POLLIN, 0}, {listenFd, POLLIN, 0}});
        auto next = SocketIo::Deadline::max();
        for (const Connection& c : connections) {
            fds.push_back({c.fd, POLLIN, 0});
            next = std::min(next, c.deadline);
        }
        const int timeout = connections.empty() ? -1 : SocketIo::MillisecondsLeft(next);
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN)
            break;

        // By index from the back, so closing keeps the remaining indexes valid.
        const auto now = SocketIo::Clock::now();
        for (size_t i = connections.size(); i-- > 0;) {
            Connection& c = connections[i];
            Progress progress = Progress::More;
            if (fds[i + 2].revents)
                progress = readSome(c, limits);
            if (progress == Progress::Complete) {
                bool stop = false;
                const std::string reply = handler(c.body.data(), c.body.size(), &stop);
                answer(c.fd, reply);
                if (stop) {
                    closeAll();
                    return true;
                }
            } else if (progress == Progress::Refused) {
                answer(c.fd, refusal);
            } else if (progress == Progress::More && now < c.deadline) {
                continue;
            }
            closeAt(i); // done, refused, broken, or out of time
        }

        if (fds[1].revents & POLLIN) {
            for (;;) {
                const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
                if (fd < 0)
                    break;
                ucred peer{};
                socklen_t size = sizeof peer;
                if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
                    peer.uid != ::getuid()) {
                    ::close(fd);
                    continue;
                }
                // The oldest connection is the one that has been quiet longest.
                if (connections.size() >= std::max<size_t>(1, limits.maxConnections))
                    closeAt(0);
                Connection c;
                c.fd = fd;
                c.deadline = SocketIo::After(limits.frameTimeoutMs);
                connections.push_back(std::move(c));
            }
        }
    }
    closeAll();
    return false;
}
