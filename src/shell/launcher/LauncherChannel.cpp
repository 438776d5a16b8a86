#include "LauncherChannel.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "FrameServer.h"
#include "RuntimeDirectory.h"
#include "SocketIo.h"

namespace {

constexpr char Magic[4] = {'K', 'V', 'L', 'A'};
// A peer has this long for its whole frame; the listener serves others meanwhile.
constexpr int FrameTimeoutMs = 5000;
// A launch waits this long in all for the running instance to take its arguments.
constexpr int SendTimeoutMs = 10000;

void putU32(std::string& out, size_t v)
{
    unsigned char bytes[4];
    SocketIo::PutU32(bytes, unsigned(v));
    out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
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

std::string LauncherChannel::buildFrame(const std::vector<std::string>& arguments)
{
    std::string body;
    putU32(body, arguments.size());
    for (const std::string& a : arguments) {
        putU32(body, a.size());
        body += a;
    }
    std::string frame(Magic, sizeof Magic);
    putU32(frame, body.size());
    return frame + body;
}

bool LauncherChannel::parseBody(const unsigned char* body, size_t length,
                                std::vector<std::string>* arguments)
{
    if (length < 4 || length > kMaxBodyBytes)
        return false;
    const unsigned count = SocketIo::GetU32(body);
    size_t at = 4;
    // Every argument takes at least its 4-byte length: never reserve for more than fit.
    if (count > (length - at) / 4)
        return false;
    arguments->clear();
    arguments->reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        if (length - at < 4)
            return false;
        const size_t size = SocketIo::GetU32(body + at);
        at += 4;
        if (size > kMaxArgumentBytes || size > length - at)
            return false;
        arguments->emplace_back(reinterpret_cast<const char*>(body + at), size);
        at += size;
    }
    return at == length;
}

LauncherChannel::Delivery LauncherChannel::send(const std::string& path,
                                                const std::vector<std::string>& arguments,
                                                int timeoutMs)
{
    const SocketIo::Deadline deadline = SocketIo::After(timeoutMs);
    int err = 0;
    const int fd = SocketIo::ConnectLocal(path, deadline, &err);
    if (fd < 0)
        return err == ECONNREFUSED || err == ENOENT ? Delivery::NoListener : Delivery::NoAnswer;
    const std::string frame = buildFrame(arguments);
    // A refusal may come before the whole frame is written: read the answer either way.
    SocketIo::WriteAll(fd, frame.data(), frame.size(), deadline);
    char answer = 0;
    const bool answered = SocketIo::ReadAll(fd, &answer, 1, deadline);
    ::close(fd);
    if (!answered)
        return Delivery::NoAnswer;
    return answer == kTaken ? Delivery::Taken : Delivery::Refused;
}

LauncherChannel::Role LauncherChannel::acquire(const std::vector<std::string>& arguments,
                                               Handler handler)
{
    sockaddr_un address;
    if (!SocketIo::FillAddress(m_socketPath, &address))
        return Role::Standalone;

    FileLock lock(m_socketPath + ".lock");
    if (!lock.held())
        return Role::Standalone;

    m_failure.clear();
    switch (send(m_socketPath, arguments, SendTimeoutMs)) {
    case Delivery::Taken:
        return Role::Forwarded;
    case Delivery::Refused:
        m_failure = "the running wizard refused the command line";
        return Role::Unanswered;
    case Delivery::NoAnswer:
        // It accepted the connection: it lives. Never take its socket away.
        m_failure = "the running wizard did not answer within " +
                    std::to_string(SendTimeoutMs / 1000) + " s";
        return Role::Unanswered;
    case Delivery::NoListener:
        break;
    }

    // Refused or missing: whatever is left at the path is a dead instance's socket.
    struct stat st;
    if (::lstat(m_socketPath.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode))
            return Role::Standalone;
        ::unlink(m_socketPath.c_str());
    }

    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0)
        return Role::Standalone;
    const mode_t oldMask = ::umask(0077);
    const bool bound =
        ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::umask(oldMask);
    if (!bound || ::listen(m_listenFd, 64) != 0 || ::pipe2(m_wakePipe, O_CLOEXEC) != 0) {
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
    FrameServer::Limits limits;
    limits.tag = SocketIo::GetU32(reinterpret_cast<const unsigned char*>(Magic));
    limits.minLength = 4;
    limits.maxLength = kMaxBodyBytes;
    limits.frameTimeoutMs = FrameTimeoutMs;
    FrameServer::Serve(m_listenFd, m_wakePipe[0], limits, std::string(1, kRefused),
                       [this](const unsigned char* body, size_t length, bool*) {
                           std::vector<std::string> arguments;
                           if (!parseBody(body, length, &arguments))
                               return std::string(1, kRefused);
                           if (m_handler)
                               m_handler(arguments);
                           return std::string(1, kTaken);
                       });
}
