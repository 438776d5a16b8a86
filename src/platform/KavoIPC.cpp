#include "KavoIPC.h"

#include "KavoIPCBlock.h"
#include "RuntimeDirectory.h"
#include "TextConversion.h"

#include <QDebug>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <new>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// More simultaneous connections than this are closed at once, so a flood of
// silent peers cannot exhaust the descriptors of the process.
constexpr size_t kMaxConnections = 32;
constexpr size_t kReadChunk = 64 * 1024;

std::atomic<unsigned> g_endpointCounter{0};

// The endpoints of this process by socket path, so that a send made on one's
// serving thread reaches that endpoint without the socket it cannot serve.
std::mutex g_endpointsMutex;
std::map<std::string, KavoIPC*>& endpoints()
{
    static auto* map = new std::map<std::string, KavoIPC*>;
    return *map;
}

// One accepted connection while its frame arrives.
struct Connection
{
    int fd = -1;
    Clock::time_point deadline;
    unsigned char header[KavoIPCBlock::kFrameHeaderSize] = {};
    size_t headerRead = 0;
    uint32_t blockLength = 0;
    std::vector<unsigned char> block;
};

void setTimeout(int fd, int option, int ms)
{
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    ::setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
}

bool fillAddress(const std::string& path, sockaddr_un* addr)
{
    std::memset(addr, 0, sizeof *addr);
    addr->sun_family = AF_UNIX;
    if (path.size() >= sizeof addr->sun_path)
        return false;
    std::memcpy(addr->sun_path, path.c_str(), path.size());
    return true;
}

// The process id in "<pid>.sock" or "<pid>-<n>.sock"; 0 for other names.
pid_t ownerPid(const char* name)
{
    const char* p = name;
    long pid = 0;
    while (*p >= '0' && *p <= '9' && pid < 100000000)
        pid = pid * 10 + (*p++ - '0');
    if (p == name || pid <= 0)
        return 0;
    if (*p == '-') {
        const char* n = ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (p == n)
            return 0;
    }
    return std::strcmp(p, ".sock") == 0 ? static_cast<pid_t>(pid) : 0;
}

bool processGone(pid_t pid)
{
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// The process-wide messaging endpoint (the device library's) lives until the process ends
// and is never destroyed: at the normal end of the process its socket is removed here, so
// the messaging folder does not collect one socket per run. Only sockets of this process go;
// a child that was forked and exits leaves its parent's alone.
struct EndpointSweeper
{
    ~EndpointSweeper()
    {
        std::lock_guard<std::mutex> lock(g_endpointsMutex);
        for (const auto& entry : endpoints()) {
            const std::string& path = entry.first;
            const size_t slash = path.rfind('/');
            const char* name = path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
            if (ownerPid(name) == ::getpid())
                ::unlink(path.c_str());
        }
    }
};
EndpointSweeper g_endpointSweeper;

// Repeats `io` (send or recv) until `size` bytes moved; false on error or a closed peer.
template <class Byte, class Io> bool transferAll(Byte* data, size_t size, Io io)
{
    while (size > 0) {
        const ssize_t n = io(data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool writeAll(int fd, const unsigned char* data, size_t size)
{
    return transferAll(data, size, [fd](const unsigned char* p, size_t n) {
        return ::send(fd, p, n, MSG_NOSIGNAL);
    });
}

bool readAll(int fd, unsigned char* data, size_t size)
{
    return transferAll(data, size,
                       [fd](unsigned char* p, size_t n) { return ::recv(fd, p, n, 0); });
}

void answer(int fd, uint32_t count)
{
    unsigned char reply[4];
    KavoIPCBlock::PutU32(reply, count);
    // The peer waits for these 4 bytes; an empty socket buffer always takes them.
    [[maybe_unused]] const ssize_t n = ::send(fd, reply, sizeof reply, MSG_NOSIGNAL | MSG_DONTWAIT);
}

} // namespace

KavoIPC::KavoIPC() : m_windowThread(&KavoIPC::WindowThreadProc) {}

KavoIPC::~KavoIPC()
{
    if (!m_socketPath.empty()) {
        std::lock_guard<std::mutex> lock(g_endpointsMutex);
        const auto it = endpoints().find(m_socketPath);
        if (it != endpoints().end() && it->second == this)
            endpoints().erase(it);
    }
    if (m_wakeFd < 0)
        return;
    if (m_windowThread.IsRunning()) {
        if (m_servingThread.load() == std::this_thread::get_id()) {
            // Released by one of its own subscribers: the serving thread cannot
            // be joined from here. It notices once the callback returns, and
            // closes its descriptors and socket itself.
            *m_orphaned = true;
            return;
        }
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
        m_windowThread.Wait();
    }
    ::close(m_wakeFd);
}

std::string KavoIPC::SocketDirectory()
{
    return RuntimeDirectory::Subdirectory("kavo-ipc");
}

bool KavoIPC::Subscribe(const std::u16string& name, kvds::IKavoIPCCallback* subscriber,
                        bool keepExisting)
{
    if (name.empty())
        return false;
    const std::string utf8 = WideToUtf8(name);
    return Subscribe(utf8.c_str(), subscriber, keepExisting);
}

bool KavoIPC::Subscribe(const char* name, kvds::IKavoIPCCallback* subscriber, bool keepExisting)
{
    if (!name || !*name || !subscriber)
        return false;
    KavoThreadLock::ScopeLock lock(m_subscriptionLock);
    Subscribers& subscribers = m_subscriptions[name];
    if (!keepExisting)
        subscribers.clear();
    subscribers.emplace_back(subscriber);
    return true;
}

bool KavoIPC::Send(const std::u16string& applicationName, const std::u16string& messageName,
                   uint32_t payloadSize, const void* payload, uint32_t* count)
{
    if (count)
        *count = 0;
    if (applicationName.empty() || messageName.empty())
        return false;
    const std::string app = WideToUtf8(applicationName);
    const std::string msg = WideToUtf8(messageName);
    return Send(app.c_str(), msg.c_str(), payloadSize, payload, count);
}

bool KavoIPC::Send(const char* applicationName, const char* messageName, uint32_t payloadSize,
                   const void* payload, uint32_t* count)
{
    if (count)
        *count = 0;
    if (!KavoIPCBlock::IsValidSend(applicationName, messageName, payloadSize, payload))
        return false;
    const std::vector<unsigned char> frame =
        KavoIPCBlock::BuildFrame(applicationName, messageName, payloadSize, payload);

    const std::string dir = SocketDirectory();
    std::vector<std::string> names;
    if (DIR* d = dir.empty() ? nullptr : ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            if (ownerPid(e->d_name) != 0)
                names.emplace_back(e->d_name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());

    uint32_t total = 0;
    for (const std::string& name : names) {
        const std::string path = dir + "/" + name;
        // A subscriber that sends from a serving thread cannot be answered
        // by that same thread through its socket: that endpoint's
        // subscribers are called directly instead.
        KavoIPC* servedHere = nullptr;
        {
            std::lock_guard<std::mutex> lock(g_endpointsMutex);
            const auto it = endpoints().find(path);
            if (it != endpoints().end() &&
                it->second->m_servingThread.load() == std::this_thread::get_id())
                servedHere = it->second;
        }
        if (servedHere)
            total += servedHere->Dispatch(applicationName, messageName, payloadSize,
                                          payloadSize ? payload : nullptr);
        else
            total += SendToPeer(path, frame);
    }
    if (count)
        *count = total;
    return true;
}

uint32_t KavoIPC::SendToPeer(const std::string& path, const std::vector<unsigned char>& frame)
{
    sockaddr_un addr;
    if (!fillAddress(path, &addr))
        return 0;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    setTimeout(fd, SO_SNDTIMEO, kIoTimeoutMs);
    setTimeout(fd, SO_RCVTIMEO, kReplyTimeoutMs);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        const int err = errno;
        ::close(fd);
        // Nobody listens and the owner is dead: a leftover of a killed process.
        const char* base = std::strrchr(path.c_str(), '/');
        const pid_t pid = ownerPid(base ? base + 1 : path.c_str());
        if (err == ECONNREFUSED && pid > 0 && processGone(pid)) {
            qDebug() << "KavoIPC  removing stale socket" << path.c_str();
            ::unlink(path.c_str());
        }
        return 0;
    }
    uint32_t count = 0;
    unsigned char reply[4];
    if (writeAll(fd, frame.data(), frame.size()) && readAll(fd, reply, sizeof reply))
        count = KavoIPCBlock::GetU32(reply);
    ::close(fd);
    return count;
}

uint32_t KavoIPC::Dispatch(const char* applicationName, const char* messageName,
                           uint32_t payloadSize, const void* payload)
{
    // Callbacks run without the lock, on a copy that keeps every subscriber
    // alive even if it is replaced meanwhile.
    SubscriptionMap subscriptions;
    {
        KavoThreadLock::ScopeLock lock(m_subscriptionLock);
        subscriptions = m_subscriptions;
    }
    const std::string message(messageName);
    uint32_t called = 0;
    for (const auto& [name, subscribers] : subscriptions) {
        if (message.compare(0, name.size(), name) != 0)
            continue;
        for (const auto& subscriber : subscribers) {
            if (!subscriber)
                continue;
            subscriber->OnMessage(applicationName, messageName, payloadSize, payload);
            ++called;
        }
    }
    return called;
}

bool KavoIPC::StartWindowThread()
{
    if (m_wakeFd < 0)
        m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0)
        return false;
    if (!m_windowThread.Start(this))
        return false;
    // The thread signals in every case, so this never waits for a thread that
    // ended without a socket.
    m_ready.Wait(kvpm::Event::kInfinite);
    return m_listenFd >= 0;
}

void KavoIPC::WindowThreadProc(void* arg)
{
    auto* self = static_cast<KavoIPC*>(arg);
    self->m_servingThread = std::this_thread::get_id();
    const bool listening = self->OpenSocket();
    self->m_ready.Set();
    if (listening)
        self->ServeLoop();
}

bool KavoIPC::OpenSocket()
{
    const std::string dir = SocketDirectory();
    if (dir.empty()) {
        qWarning() << "KavoIPC  no private runtime directory";
        return false;
    }
    const unsigned n = g_endpointCounter++;
    std::string path = dir + "/" + std::to_string(::getpid());
    if (n > 0)
        path += "-" + std::to_string(n);
    path += ".sock";
    sockaddr_un addr;
    if (!fillAddress(path, &addr)) {
        qWarning() << "KavoIPC  socket path too long:" << path.c_str();
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A file of this name can only be left over by an earlier process that had
    // our id.
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 64) != 0) {
        qWarning() << "KavoIPC  cannot listen on" << path.c_str() << std::strerror(errno);
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    ::chmod(path.c_str(), 0600);
    m_socketPath = path;
    m_listenFd = fd;
    std::lock_guard<std::mutex> lock(g_endpointsMutex);
    endpoints()[path] = this;
    return true;
}

void KavoIPC::ServeLoop()
{
    // Locals only after a dispatch: a subscriber may have destroyed the object.
    const int wakeFd = m_wakeFd;
    const int listenFd = m_listenFd;
    const std::string socketPath = m_socketPath;
    const std::shared_ptr<std::atomic<bool>> orphaned = m_orphaned;

    std::vector<Connection> connections;
    const auto closeConnection = [&connections](size_t i) {
        ::close(connections[i].fd);
        connections.erase(connections.begin() + static_cast<std::ptrdiff_t>(i));
    };
    const auto shutDown = [&] {
        {
            std::lock_guard<std::mutex> lock(g_endpointsMutex);
            const auto it = endpoints().find(socketPath);
            if (it != endpoints().end() && it->second == this)
                endpoints().erase(it);
        }
        for (const Connection& c : connections)
            ::close(c.fd);
        ::close(listenFd);
        ::unlink(socketPath.c_str());
        if (*orphaned)
            ::close(wakeFd);
    };

    for (;;) {
        std::vector<pollfd> fds;
        fds.push_back({wakeFd, POLLIN, 0});
        fds.push_back({listenFd, POLLIN, 0});
        int timeout = -1;
        const auto now = Clock::now();
        for (const Connection& c : connections) {
            fds.push_back({c.fd, POLLIN, 0});
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(c.deadline - now).count();
            const int ms = static_cast<int>(std::max<long long>(0, left) + 1);
            timeout = timeout < 0 ? ms : std::min(timeout, ms);
        }
        const int ready = ::poll(fds.data(), fds.size(), timeout);
        if (ready < 0 && errno != EINTR) {
            qWarning() << "KavoIPC  poll failed:" << std::strerror(errno);
            break;
        }
        if (fds[0].revents & POLLIN)
            break;

        // Connections first, by index from the back so closing keeps indexes valid.
        for (size_t i = connections.size(); i-- > 0;) {
            Connection& c = connections[i];
            const short revents = fds[i + 2].revents;
            if (!revents) {
                if (Clock::now() >= c.deadline)
                    closeConnection(i); // silent or slow peer
                continue;
            }
            bool done = false;
            bool drop = false;
            if (c.headerRead < sizeof c.header) {
                const ssize_t n =
                    ::recv(c.fd, c.header + c.headerRead, sizeof c.header - c.headerRead, 0);
                if (n > 0) {
                    c.headerRead += static_cast<size_t>(n);
                    if (c.headerRead == sizeof c.header &&
                        !KavoIPCBlock::ParseFrameHeader(c.header, &c.blockLength)) {
                        answer(c.fd, 0);
                        drop = true;
                    }
                } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                    drop = true;
                }
            } else {
                // Never read past the block the header announced.
                const size_t want = std::min(kReadChunk, c.blockLength - c.block.size());
                const size_t have = c.block.size();
                c.block.resize(have + want);
                const ssize_t n = ::recv(c.fd, c.block.data() + have, want, 0);
                c.block.resize(have + (n > 0 ? static_cast<size_t>(n) : 0));
                if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
                    drop = true;
                else
                    done = c.block.size() == c.blockLength;
            }
            if (done) {
                KavoIPCBlock::Message message;
                uint32_t called = 0;
                if (KavoIPCBlock::ParseBlock(c.block.data(), c.block.size(), &message))
                    called = Dispatch(message.applicationName, message.messageName,
                                      message.payloadSize, message.payload);
                answer(c.fd, called);
                if (*orphaned) {
                    shutDown();
                    return;
                }
                drop = true;
            }
            if (drop)
                closeConnection(i);
            else if (Clock::now() >= c.deadline)
                closeConnection(i);
        }

        if (fds[1].revents & POLLIN) {
            for (;;) {
                const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
                if (fd < 0)
                    break;
                ucred cred{};
                socklen_t len = sizeof cred;
                const bool sameUser = ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 &&
                                      cred.uid == ::getuid();
                if (!sameUser || connections.size() >= kMaxConnections) {
                    ::close(fd);
                    continue;
                }
                Connection c;
                c.fd = fd;
                c.deadline = Clock::now() + std::chrono::milliseconds(kIoTimeoutMs);
                connections.push_back(std::move(c));
            }
        }
    }

    shutDown();
}

bool kvds::CreateKavoIPC(kvds::IKavoIPC** ipc)
{
    if (!ipc)
        return false;
    *ipc = nullptr;
    auto* endpoint = new (std::nothrow) KavoIPC;
    if (!endpoint)
        return false;
    endpoint->AddRef();
    if (!endpoint->StartWindowThread()) {
        endpoint->Release();
        return false;
    }
    endpoint->AddRef();
    *ipc = endpoint;
    endpoint->Release();
    return true;
}
