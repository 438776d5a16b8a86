#include "KavoIPC.h"

#include "FrameServer.h"
#include "KavoIPCBlock.h"
#include "PlatformLogging.h"
#include "RuntimeDirectory.h"
#include "TextConversion.h"

#include <QDebug>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <new>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace {

// Beyond this many simultaneous connections the oldest is dropped, so a flood
// of silent peers cannot exhaust the descriptors of the process.
constexpr size_t kMaxConnections = 32;

std::atomic<unsigned> g_endpointCounter{0};

// The endpoints of this process by socket path, so that a send made on one's
// serving thread reaches that endpoint without the socket it cannot serve.
std::mutex g_endpointsMutex;
std::map<std::string, KavoIPC*>& endpoints()
{
    static auto* map = new std::map<std::string, KavoIPC*>;
    return *map;
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

    // Every peer is served by a thread of its own under one shared deadline: a
    // stopped or hung program costs that deadline once, however many there are.
    const SocketIo::Deadline deadline = SocketIo::After(kSendDeadlineMs);
    std::vector<uint32_t> answers(names.size(), 0);
    std::vector<std::thread> senders;
    uint32_t total = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string path = dir + "/" + names[i];
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
        if (servedHere) {
            total += servedHere->Dispatch(applicationName, messageName, payloadSize,
                                          payloadSize ? payload : nullptr);
            continue;
        }
        uint32_t* answer = &answers[i];
        try {
            senders.emplace_back(
                [path, &frame, deadline, answer] { *answer = SendToPeer(path, frame, deadline); });
        } catch (const std::system_error&) {
            *answer = SendToPeer(path, frame, deadline); // no thread to spare: in turn
        }
    }
    for (std::thread& sender : senders)
        sender.join();
    for (const uint32_t answer : answers)
        total += answer;
    if (count)
        *count = total;
    return true;
}

uint32_t KavoIPC::SendToPeer(const std::string& path, const std::vector<unsigned char>& frame,
                             SocketIo::Deadline deadline)
{
    int err = 0;
    const int fd = SocketIo::ConnectLocal(path, deadline, &err);
    if (fd < 0) {
        // Nobody listens and the owner is dead: a leftover of a killed process.
        const char* base = std::strrchr(path.c_str(), '/');
        const pid_t pid = ownerPid(base ? base + 1 : path.c_str());
        if (err == ECONNREFUSED && pid > 0 && processGone(pid)) {
            qCDebug(lcPlatform) << "KavoIPC  removing stale socket" << path.c_str();
            ::unlink(path.c_str());
        }
        return 0;
    }
    uint32_t count = 0;
    unsigned char reply[4];
    if (SocketIo::WriteAll(fd, frame.data(), frame.size(), deadline) &&
        SocketIo::ReadAll(fd, reply, sizeof reply, deadline))
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
        qCWarning(lcPlatform) << "KavoIPC  no private runtime directory";
        return false;
    }
    const unsigned n = g_endpointCounter++;
    std::string path = dir + "/" + std::to_string(::getpid());
    if (n > 0)
        path += "-" + std::to_string(n);
    path += ".sock";
    sockaddr_un addr;
    if (!SocketIo::FillAddress(path, &addr)) {
        qCWarning(lcPlatform) << "KavoIPC  socket path too long:" << path.c_str();
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
        qCWarning(lcPlatform) << "KavoIPC  cannot listen on" << path.c_str()
                              << std::strerror(errno);
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

    FrameServer::Limits limits = KavoIPCBlock::FrameLimits();
    limits.frameTimeoutMs = kIoTimeoutMs;
    limits.maxConnections = kMaxConnections;
    const auto countAnswer = [](uint32_t count) {
        std::string reply(4, '\0');
        KavoIPCBlock::PutU32(reinterpret_cast<unsigned char*>(reply.data()), count);
        return reply;
    };
    FrameServer::Serve(listenFd, wakeFd, limits, countAnswer(0),
                       [&](const unsigned char* block, size_t length, bool* stop) {
                           KavoIPCBlock::Message message;
                           uint32_t called = 0;
                           if (KavoIPCBlock::ParseBlock(block, length, &message))
                               called = Dispatch(message.applicationName, message.messageName,
                                                 message.payloadSize, message.payload);
                           *stop = *orphaned;
                           return countAnswer(called);
                       });

    {
        std::lock_guard<std::mutex> lock(g_endpointsMutex);
        const auto it = endpoints().find(socketPath);
        if (it != endpoints().end() && it->second == this)
            endpoints().erase(it);
    }
    ::close(listenFd);
    ::unlink(socketPath.c_str());
    if (*orphaned)
        ::close(wakeFd);
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
