#pragma once

#include "IKavoIPC.h"
#include "KavoThread.h"
#include "KavoThreadLock.h"
#include "KvpmEvent.h"
#include "RefCountedPtr.h"
#include "SocketIo.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// The messaging endpoint of this process: one Unix-domain socket,
// <runtime dir>/kavo-ipc/<pid>.sock (a further endpoint of the same process:
// <pid>-<n>.sock), served by the object's own thread. A
// send connects to every socket of that directory, its own included (all at
// once, under one deadline), and writes one frame per connection: the tag and the block length (two
// 32-bit little-endian words), then the message block. The receiver calls its matching subscribers
// on the serving thread and answers their number as a 32-bit little-endian word.
class KavoIPC : public kvtl::RefCountedImpl<kvds::IKavoIPC>
{
public:
    static constexpr uint32_t kFrameTag = 0x4B495043;
    // Time a connection has to deliver its whole frame; no peer, silent or
    // stuck, holds the receiver longer.
    static constexpr int kIoTimeoutMs = 2000;
    // Time a send has to deliver to every peer and collect their answers
    // (their subscribers' work); peers are served side by side within it.
    static constexpr int kSendDeadlineMs = 2000;

    KavoIPC();
    ~KavoIPC() override;

    KavoIPC(const KavoIPC&) = delete;
    KavoIPC& operator=(const KavoIPC&) = delete;

    bool Subscribe(const std::u16string& name, kvds::IKavoIPCCallback* subscriber,
                   bool keepExisting) override;
    bool Subscribe(const char* name, kvds::IKavoIPCCallback* subscriber,
                   bool keepExisting) override;
    bool Send(const std::u16string& applicationName, const std::u16string& messageName,
              uint32_t payloadSize, const void* payload, uint32_t* count) override;
    bool Send(const char* applicationName, const char* messageName, uint32_t payloadSize,
              const void* payload, uint32_t* count) override;

    // Starts the serving thread and returns once its socket listens. False
    // when already started, or when the thread could not start or ended
    // without a socket.
    bool StartWindowThread();

    // This endpoint's socket, empty until started.
    std::string SocketPath() const { return m_socketPath; }
    // The directory shared by every participant (created 0700 on demand);
    // empty when no private directory can be had.
    static std::string SocketDirectory();

private:
    using Subscribers = std::vector<kvtl::RefCountedPtr_STLSafe<kvds::IKavoIPCCallback>>;
    using SubscriptionMap = std::map<std::string, Subscribers>;

    static void WindowThreadProc(void* arg);
    // Binds and listens on this endpoint's socket; false when it cannot.
    bool OpenSocket();
    // Serves connections until the wake descriptor is signalled.
    void ServeLoop();
    // Calls every subscriber whose name is a prefix of messageName, on the
    // calling thread; returns how many were called.
    uint32_t Dispatch(const char* applicationName, const char* messageName, uint32_t payloadSize,
                      const void* payload);
    // Delivers one frame to the socket at path and returns its answer (0 when
    // the peer is gone, stale, silent or broken, or the deadline passed).
    static uint32_t SendToPeer(const std::string& path, const std::vector<unsigned char>& frame,
                               SocketIo::Deadline deadline);

    SubscriptionMap m_subscriptions;
    KavoThreadLock m_subscriptionLock;
    KavoThread m_windowThread;
    // Set by the serving thread once its socket listens or it gave up.
    kvpm::Event m_ready{nullptr, true, false};

    int m_listenFd = -1;
    int m_wakeFd = -1;
    std::string m_socketPath;
    std::atomic<std::thread::id> m_servingThread{};
    // Set when the last reference went away inside a subscriber callback.
    std::shared_ptr<std::atomic<bool>> m_orphaned = std::make_shared<std::atomic<bool>>(false);
};
