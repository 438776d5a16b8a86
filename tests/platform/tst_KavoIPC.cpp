#include "IKavoIPC.h"
#include "KavoIPC.h"
#include "KavoIPCBlock.h"
#include "RefCountedPtr.h"

#include <QtTest>

#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Received
{
    std::string app;
    std::string msg;
    uint32_t size = 0;
    QByteArray payload;
    bool payloadNull = false;
    std::thread::id thread;
};

// Records every call; optionally sends a reply through an endpoint.
class Recorder : public kvtl::RefCountedImpl<kvds::IKavoIPCCallback>
{
public:
    int OnMessage(const char* app, const char* msg, uint32_t size, const void* payload) override
    {
        Received r;
        r.app = app;
        r.msg = msg;
        r.size = size;
        r.payloadNull = payload == nullptr;
        if (payload)
            r.payload = QByteArray(static_cast<const char*>(payload), int(size));
        r.thread = std::this_thread::get_id();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_received.push_back(r);
        }
        if (replyThrough) {
            uint32_t count = 0;
            replyThrough->Send("Test", "Pong", 0, nullptr, &count);
            replyCount = count;
        }
        return 1;
    }
    int count() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return int(m_received.size());
    }
    Received at(int i) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_received.at(size_t(i));
    }
    kvds::IKavoIPC* replyThrough = nullptr;
    std::atomic<uint32_t> replyCount{0xFFFFFFFF};

private:
    mutable std::mutex m_mutex;
    std::vector<Received> m_received;
};

using IpcPtr = kvtl::RefCountedPtr<kvds::IKavoIPC>;
using RecorderPtr = kvtl::RefCountedPtr<Recorder>;

IpcPtr createEndpoint()
{
    kvds::IKavoIPC* raw = nullptr;
    if (!kvds::CreateKavoIPC(&raw))
        return IpcPtr();
    IpcPtr ipc(raw);
    raw->Release();
    return ipc;
}

std::string socketOf(const IpcPtr& ipc)
{
    return static_cast<KavoIPC*>(ipc.get())->SocketPath();
}

int connectTo(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    timeval tv{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    return fd;
}

// What the receiver does with raw bytes: its 4-byte answer, -1 when it
// closed without one, -2 when it neither answered nor closed in 10 s.
qint64 exchangeRaw(const std::string& path, const QByteArray& bytes, bool closeWrite)
{
    const int fd = connectTo(path);
    if (fd < 0)
        return -3;
    if (!bytes.isEmpty())
        ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
    if (closeWrite)
        ::shutdown(fd, SHUT_WR);
    unsigned char reply[4];
    size_t got = 0;
    while (got < 4) {
        const ssize_t n = ::recv(fd, reply + got, 4 - got, 0);
        if (n < 0) {
            ::close(fd);
            return -2;
        }
        if (n == 0)
            break;
        got += size_t(n);
    }
    ::close(fd);
    return got == 4 ? qint64(KavoIPCBlock::GetU32(reply)) : -1;
}

QByteArray frameOf(const char* app, const char* msg, const QByteArray& payload)
{
    const auto frame = KavoIPCBlock::BuildFrame(app, msg, uint32_t(payload.size()),
                                                payload.isEmpty() ? nullptr : payload.constData());
    return QByteArray(reinterpret_cast<const char*>(frame.data()), int(frame.size()));
}

void putU32(QByteArray& bytes, int offset, uint32_t v)
{
    KavoIPCBlock::PutU32(reinterpret_cast<unsigned char*>(bytes.data()) + offset, v);
}

// A new endpoint with `rec` subscribed to `topic`; null when either step fails.
template <class Topic> IpcPtr subscribedEndpoint(const Topic& topic, const RecorderPtr& rec)
{
    IpcPtr ipc = createEndpoint();
    return ipc && ipc->Subscribe(topic, rec.get(), true) ? ipc : IpcPtr();
}

QString helperPath()
{
    return QCoreApplication::applicationDirPath() + "/platform_helper";
}

} // namespace

class TestKavoIPC : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void block_roundTrip();
    void block_malformedRefused_data();
    void block_malformedRefused();
    void send_argumentChecks_data();
    void send_argumentChecks();
    void subscribe_argumentChecks();

    void start_socketInPrivateDirectoryAndRemovedAtEnd();
    void start_givesUpWithoutSocket_data();
    void start_givesUpWithoutSocket();
    void send_reachesOwnSubscribersByPrefix();
    void send_emptyPayloadArrivesAsNull();
    void send_wideFormsConvert();
    void subscribe_keepExistingFalseReplaces();
    void send_countsEveryEndpointOfProcess();
    void send_fromSubscriberCallbackDoesNotDeadlock_data();
    void send_fromSubscriberCallbackDoesNotDeadlock();

    void subscriberMayReleaseLastReference();
    void receiver_ignoresBadFramesAndKeepsServing_data();
    void receiver_ignoresBadFramesAndKeepsServing();
    void receiver_silentPeerDoesNotDelayOthers();
    void receiver_neverReadsPastTheBlock();
    void frameHeader_lengthBoundary_data();
    void frameHeader_lengthBoundary();
    void send_largestPayloadArrivesWhole();

    void otherProcess_subscriberCounted();
    void otherProcess_senderReachesUs();
    void killedParticipant_staleSocketRemoved();
    void stoppedParticipants_costOneDeadline();
    void strangeFilesInDirectoryLeftAlone();

private:
    QProcess* startHelper(const QStringList& args);
    // A helper subscribed to prefixes, once it serves; null when it does not start.
    QProcess* startListener(const QStringList& prefixes, QString* socket = nullptr);

    QTemporaryDir m_runtime;
    QList<QProcess*> m_processes;
};

void TestKavoIPC::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    QVERIFY(QFileInfo::exists(helperPath()));
}

void TestKavoIPC::cleanup()
{
    for (QProcess* p : m_processes) {
        if (p->state() != QProcess::NotRunning) {
            p->closeWriteChannel();
            if (!p->waitForFinished(5000))
                p->kill();
            p->waitForFinished(5000);
        }
        delete p;
    }
    m_processes.clear();
}

QProcess* TestKavoIPC::startHelper(const QStringList& args)
{
    auto* p = new QProcess;
    m_processes << p;
    p->start(helperPath(), args);
    return p;
}

QProcess* TestKavoIPC::startListener(const QStringList& prefixes, QString* socket)
{
    QProcess* p = startHelper(QStringList{"ipc-listen"} + prefixes);
    QDeadlineTimer deadline(10000);
    while (!p->canReadLine() && !deadline.hasExpired())
        p->waitForReadyRead(int(deadline.remainingTime()));
    const QByteArray line = p->canReadLine() ? p->readLine().trimmed() : QByteArray();
    if (!line.startsWith("ready "))
        return nullptr;
    if (socket)
        *socket = QString::fromLocal8Bit(line.mid(6));
    return p;
}

void TestKavoIPC::block_roundTrip()
{
    const QByteArray frame = frameOf("TransferWizard", "Device/Change", "abc");
    QCOMPARE(frame.size(), 8 + 528 + 3);
    uint32_t length = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(frame.constData());
    QVERIFY(KavoIPCBlock::ParseFrameHeader(bytes, &length));
    QCOMPARE(length, 531u);
    KavoIPCBlock::Message m;
    QVERIFY(KavoIPCBlock::ParseBlock(bytes + 8, length, &m));
    QCOMPARE(std::string(m.applicationName), std::string("TransferWizard"));
    QCOMPARE(std::string(m.messageName), std::string("Device/Change"));
    QCOMPARE(m.payloadSize, 3u);
    QCOMPARE(QByteArray(static_cast<const char*>(m.payload), 3), QByteArray("abc"));
    QCOMPARE(KavoIPCBlock::GetU32(bytes + 8 + 524 + 3), 0u); // reserved word
    QCOMPARE(frame.mid(0, 4), QByteArray("CPIK"));           // 0x4B495043, little-endian
}

void TestKavoIPC::block_malformedRefused_data()
{
    QTest::addColumn<QByteArray>("block");
    QByteArray good = frameOf("A", "B", "xyz").mid(8);
    QByteArray noAppNul = good;
    noAppNul.replace(0, 260, QByteArray(260, 'a'));
    QByteArray noMsgNul = good;
    noMsgNul.replace(260, 260, QByteArray(260, 'm'));
    QByteArray longMsg = good;
    longMsg.replace(260, 257, QByteArray(257, 'm')); // still terminated within the field
    QByteArray emptyApp = good;
    emptyApp[0] = 0;
    QByteArray emptyMsg = good;
    emptyMsg[260] = 0;
    QByteArray oversize = good;
    putU32(oversize, 520, 4); // one more than the 3 bytes present
    QByteArray huge = good;
    putU32(huge, 520, 0xFFFFFFFF);
    QTest::newRow("application name not terminated") << noAppNul;
    QTest::newRow("message name not terminated") << noMsgNul;
    QTest::newRow("message name of 257 characters") << longMsg;
    QTest::newRow("empty application name") << emptyApp;
    QTest::newRow("empty message name") << emptyMsg;
    QTest::newRow("payload size beyond block") << oversize;
    QTest::newRow("payload size wraps") << huge;
    QTest::newRow("shorter than 528") << good.left(527);
}

void TestKavoIPC::block_malformedRefused()
{
    QFETCH(QByteArray, block);
    KavoIPCBlock::Message m;
    QVERIFY(!KavoIPCBlock::ParseBlock(reinterpret_cast<const unsigned char*>(block.constData()),
                                      size_t(block.size()), &m));
}

void TestKavoIPC::send_argumentChecks_data()
{
    QTest::addColumn<QByteArray>("app");
    QTest::addColumn<QByteArray>("msg");
    QTest::addColumn<uint>("size");
    QTest::addColumn<bool>("withPayload");
    QTest::addColumn<bool>("accepted");
    const QByteArray n256(256, 'n');
    const QByteArray n257(257, 'n');
    QTest::newRow("names of 256 accepted") << n256 << n256 << 0u << false << true;
    QTest::newRow("application name of 257") << n257 << QByteArray("m") << 0u << false << false;
    QTest::newRow("message name of 257") << QByteArray("a") << n257 << 0u << false << false;
    QTest::newRow("empty application name")
        << QByteArray() << QByteArray("m") << 0u << false << false;
    QTest::newRow("empty message name") << QByteArray("a") << QByteArray() << 0u << false << false;
    QTest::newRow("size without payload")
        << QByteArray("a") << QByteArray("m") << 4u << false << false;
    QTest::newRow("payload with size") << QByteArray("a") << QByteArray("m") << 4u << true << true;
}

void TestKavoIPC::send_argumentChecks()
{
    QFETCH(QByteArray, app);
    QFETCH(QByteArray, msg);
    QFETCH(uint, size);
    QFETCH(bool, withPayload);
    QFETCH(bool, accepted);
    IpcPtr ipc = createEndpoint();
    QVERIFY(ipc);
    RecorderPtr rec(new Recorder);
    QVERIFY(ipc->Subscribe("", rec.get(), true) == false);
    QVERIFY(ipc->Subscribe("n", rec.get(), true));
    static const char payload[8] = "payload";
    uint32_t count = 77;
    const bool ok = ipc->Send(app.constData(), msg.constData(), size,
                              withPayload && size <= sizeof payload ? payload : nullptr, &count);
    QCOMPARE(ok, accepted);
    if (!accepted)
        QCOMPARE(count, 0u);
    QCOMPARE(count, uint32_t(ok && msg.startsWith("n") ? 1 : 0));
    QCOMPARE(ipc->Send(nullptr, "m", 0, nullptr, &count), false);
}

void TestKavoIPC::subscribe_argumentChecks()
{
    IpcPtr ipc = createEndpoint();
    QVERIFY(ipc);
    RecorderPtr rec(new Recorder);
    QVERIFY(!ipc->Subscribe("", rec.get(), true));
    QVERIFY(!ipc->Subscribe(static_cast<const char*>(nullptr), rec.get(), true));
    QVERIFY(!ipc->Subscribe("x", nullptr, true));
    QVERIFY(!ipc->Subscribe(std::u16string(), rec.get(), true));
    QCOMPARE(rec->GetRefCount(), 1); // refused subscriptions hold nothing
    QVERIFY(ipc->Subscribe("x", rec.get(), true));
    QCOMPARE(rec->GetRefCount(), 2);
}

void TestKavoIPC::start_socketInPrivateDirectoryAndRemovedAtEnd()
{
    std::string path;
    {
        IpcPtr ipc = createEndpoint();
        QVERIFY(ipc);
        path = socketOf(ipc);
        const QString dir = m_runtime.path() + "/kavo-ipc";
        QVERIFY(QString::fromStdString(path).startsWith(dir + "/" + QString::number(::getpid())));
        QVERIFY(QString::fromStdString(path).endsWith(".sock"));
        struct stat st;
        QVERIFY(::stat(dir.toLocal8Bit().constData(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
        QVERIFY(::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode));
        QVERIFY(!static_cast<KavoIPC*>(ipc.get())->StartWindowThread()); // started once only
    }
    QVERIFY(!QFileInfo::exists(QString::fromStdString(path)));
}

void TestKavoIPC::start_givesUpWithoutSocket_data()
{
    QTest::addColumn<bool>("blockDirectory");
    QTest::addColumn<int>("extraPathLength");
    QTest::newRow("socket directory name taken by a file") << true << 0;
    QTest::newRow("socket path too long for an address") << false << 120;
}

void TestKavoIPC::start_givesUpWithoutSocket()
{
    QFETCH(bool, blockDirectory);
    QFETCH(int, extraPathLength);
    QTemporaryDir base;
    QString runtime = base.path();
    if (extraPathLength) {
        runtime += "/" + QString(extraPathLength, 'r');
        QVERIFY(QDir().mkpath(runtime));
    }
    if (blockDirectory) {
        QFile blocker(runtime + "/kavo-ipc");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    kvds::IKavoIPC* ipc = reinterpret_cast<kvds::IKavoIPC*>(0x1);
    const bool created = kvds::CreateKavoIPC(&ipc); // returns instead of waiting forever
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    QVERIFY(!created);
    QCOMPARE(ipc, static_cast<kvds::IKavoIPC*>(nullptr));
    QVERIFY(!kvds::CreateKavoIPC(nullptr));
}

void TestKavoIPC::send_reachesOwnSubscribersByPrefix()
{
    IpcPtr ipc = createEndpoint();
    QVERIFY(ipc);
    RecorderPtr prefix(new Recorder), exact(new Recorder), other(new Recorder);
    QVERIFY(ipc->Subscribe("Device/", prefix.get(), true));
    QVERIFY(ipc->Subscribe("Device/Remove", exact.get(), true));
    QVERIFY(ipc->Subscribe("Device/Create", other.get(), true));

    const unsigned char payload[12] = {1, 0, 0, 0, 42, 0, 0, 0, 0, 0, 0, 0};
    uint32_t count = 0;
    QVERIFY(ipc->Send("TransferWizard", "Device/Remove", 12, payload, &count));
    QCOMPARE(count, 2u);
    QCOMPARE(prefix->count(), 1);
    QCOMPARE(exact->count(), 1);
    QCOMPARE(other->count(), 0);
    const Received r = exact->at(0);
    QCOMPARE(r.app, std::string("TransferWizard"));
    QCOMPARE(r.msg, std::string("Device/Remove"));
    QCOMPARE(r.size, 12u);
    QCOMPARE(r.payload, QByteArray(reinterpret_cast<const char*>(payload), 12));
    QVERIFY(r.thread != std::this_thread::get_id()); // callbacks run on the serving thread
    QCOMPARE(prefix->at(0).thread, r.thread);
}

void TestKavoIPC::send_emptyPayloadArrivesAsNull()
{
    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Empty", rec);
    QVERIFY(ipc);
    const char ignored[] = "ignored";
    uint32_t count = 0;
    QVERIFY(ipc->Send("App", "Empty", 0, ignored, &count)); // a pointer with size 0 is not sent
    QCOMPARE(count, 1u);
    QVERIFY(rec->at(0).payloadNull);
    QCOMPARE(rec->at(0).size, 0u);
}

void TestKavoIPC::send_wideFormsConvert()
{
    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint(u"Gerät/", rec);
    QVERIFY(ipc);
    uint32_t count = 0;
    QVERIFY(ipc->Send(u"Übertragung", u"Gerät/Änderung", 0, nullptr, &count));
    QCOMPARE(count, 1u);
    QCOMPARE(rec->at(0).app, std::string("\xC3\x9C"
                                         "bertragung"));
    QCOMPARE(rec->at(0).msg, std::string("Ger\xC3\xA4t/\xC3\x84nderung"));
    QVERIFY(!ipc->Send(std::u16string(), u"x", 0, nullptr, &count));
    QCOMPARE(count, 0u);
}

void TestKavoIPC::subscribe_keepExistingFalseReplaces()
{
    IpcPtr ipc = createEndpoint();
    QVERIFY(ipc);
    RecorderPtr first(new Recorder), second(new Recorder), third(new Recorder);
    QVERIFY(ipc->Subscribe("Topic", first.get(), true));
    QVERIFY(ipc->Subscribe("Topic", second.get(), true));
    uint32_t count = 0;
    QVERIFY(ipc->Send("A", "Topic", 0, nullptr, &count));
    QCOMPARE(count, 2u);
    QVERIFY(ipc->Subscribe("Topic", third.get(), false));
    QCOMPARE(first->GetRefCount(), 1); // the endpoint let go of the replaced ones
    QVERIFY(ipc->Send("A", "Topic", 0, nullptr, &count));
    QCOMPARE(count, 1u);
    QCOMPARE(first->count(), 1);
    QCOMPARE(second->count(), 1);
    QCOMPARE(third->count(), 1);
}

void TestKavoIPC::send_countsEveryEndpointOfProcess()
{
    IpcPtr a = createEndpoint();
    IpcPtr b = createEndpoint();
    QVERIFY(a && b);
    QVERIFY(socketOf(a) != socketOf(b));
    RecorderPtr ra(new Recorder), rb(new Recorder);
    QVERIFY(a->Subscribe("T", ra.get(), true));
    QVERIFY(b->Subscribe("T", rb.get(), true));
    QVERIFY(b->Subscribe("Topic", rb.get(), true));
    uint32_t count = 0;
    QVERIFY(a->Send("A", "Topic", 0, nullptr, &count));
    QCOMPARE(count, 3u);
    b.reset();
    QVERIFY(a->Send("A", "Topic", 0, nullptr, &count));
    QCOMPARE(count, 1u);
}

void TestKavoIPC::send_fromSubscriberCallbackDoesNotDeadlock_data()
{
    QTest::addColumn<bool>("throughOtherEndpoint");
    QTest::newRow("through the receiving endpoint") << false;
    QTest::newRow("through another endpoint of the process") << true;
}

void TestKavoIPC::send_fromSubscriberCallbackDoesNotDeadlock()
{
    QFETCH(bool, throughOtherEndpoint);
    IpcPtr ipc = createEndpoint();
    IpcPtr other = createEndpoint();
    QVERIFY(ipc && other);
    RecorderPtr ping(new Recorder), pong(new Recorder);
    ping->replyThrough = throughOtherEndpoint ? other.get() : ipc.get();
    QVERIFY(ipc->Subscribe("Ping", ping.get(), true));
    QVERIFY(ipc->Subscribe("Pong", pong.get(), true));
    uint32_t count = 0;
    QVERIFY(ipc->Send("Test", "Ping", 0, nullptr, &count));
    QCOMPARE(count, 1u);
    QCOMPARE(ping->replyCount.load(), 1u);
    QCOMPARE(pong->count(), 1);
    QCOMPARE(pong->at(0).thread, ping->at(0).thread);
}

// Holds the only reference to its endpoint and drops it when told to.
class LastHolder : public kvtl::RefCountedImpl<kvds::IKavoIPCCallback>
{
public:
    int OnMessage(const char*, const char*, uint32_t, const void*) override
    {
        endpoint.reset();
        released = true;
        return 0;
    }
    IpcPtr endpoint;
    std::atomic<bool> released{false};
};

void TestKavoIPC::subscriberMayReleaseLastReference()
{
    kvtl::RefCountedPtr<LastHolder> holder(new LastHolder);
    IpcPtr probe = createEndpoint();
    std::string path;
    {
        IpcPtr ipc = createEndpoint();
        QVERIFY(ipc && probe);
        path = socketOf(ipc);
        QVERIFY(ipc->Subscribe("Bye", holder.get(), true));
        holder->endpoint = ipc;
    }
    uint32_t count = 0;
    QVERIFY(probe->Send("App", "Bye", 0, nullptr, &count));
    QCOMPARE(count, 1u);
    QVERIFY(holder->released);
    // The orphaned serving thread cleaned up after itself.
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QString::fromStdString(path)), 5000);
    QVERIFY(probe->Send("App", "Bye", 0, nullptr, &count));
    QCOMPARE(count, 0u);
}

void TestKavoIPC::receiver_ignoresBadFramesAndKeepsServing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("closeWrite");
    QTest::addColumn<qint64>("expected"); // answer, or -1 for closed without one

    const QByteArray good = frameOf("App", "Bad/Probe", "xyz");
    QByteArray wrongTag = good;
    putU32(wrongTag, 0, 0x12345678);
    QByteArray shortLength = good;
    putU32(shortLength, 4, 527);
    QByteArray hugeLength = good.left(8);
    putU32(hugeLength, 4, 528 + KavoIPCBlock::kMaxPayloadSize + 1);
    QByteArray oversizePayload = good;
    putU32(oversizePayload, 8 + 520, 4);
    QByteArray unterminated = good;
    unterminated.replace(8, 260, QByteArray(260, 'a'));

    QTest::newRow("wrong tag") << wrongTag << false << qint64(0);
    QTest::newRow("block length below 528") << shortLength << false << qint64(0);
    QTest::newRow("block length beyond the limit") << hugeLength << false << qint64(0);
    QTest::newRow("payload size exceeds length - 528") << oversizePayload << false << qint64(0);
    QTest::newRow("name without terminator") << unterminated << false << qint64(0);
    QTest::newRow("truncated header") << good.left(5) << true << qint64(-1);
    QTest::newRow("truncated block") << good.left(300) << true << qint64(-1);
    QTest::newRow("nothing at all") << QByteArray() << true << qint64(-1);
    QTest::newRow("well formed (control)") << good << false << qint64(1);
}

void TestKavoIPC::receiver_ignoresBadFramesAndKeepsServing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, closeWrite);
    QFETCH(qint64, expected);
    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Bad/", rec);
    QVERIFY(ipc);

    QCOMPARE(exchangeRaw(socketOf(ipc), bytes, closeWrite), expected);
    QCOMPARE(rec->count(), expected == 1 ? 1 : 0);

    // The receiver is still serving.
    uint32_t count = 0;
    QVERIFY(ipc->Send("App", "Bad/Again", 0, nullptr, &count));
    QCOMPARE(count, 1u);
}

void TestKavoIPC::receiver_silentPeerDoesNotDelayOthers()
{
    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Topic", rec);
    QVERIFY(ipc);

    const int silent = connectTo(socketOf(ipc));
    QVERIFY(silent >= 0);
    ::send(silent, "CP", 2, MSG_NOSIGNAL); // half a header, then nothing
    uint32_t count = 0;
    QVERIFY(ipc->Send("App", "Topic", 0, nullptr, &count));
    QCOMPARE(count, 1u);
    // Served while the silent peer was still connected, not after its time-out.
    pollfd p{silent, POLLIN, 0};
    QCOMPARE(::poll(&p, 1, 0), 0);

    // The receiver drops the silent peer after its time-out.
    char byte;
    QCOMPARE(::recv(silent, &byte, 1, 0), ssize_t(0));
    ::close(silent);
}

void TestKavoIPC::receiver_neverReadsPastTheBlock()
{
    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Topic", rec);
    QVERIFY(ipc);
    QByteArray bytes = frameOf("App", "Topic", "12345");
    bytes += QByteArray(4096, '\xAB'); // trailing garbage after the block
    QCOMPARE(exchangeRaw(socketOf(ipc), bytes, false), qint64(1));
    QCOMPARE(rec->at(0).payload, QByteArray("12345"));

    // A smaller stated size than the block carries is honoured as stated.
    QByteArray shorter = frameOf("App", "Topic", "12345");
    putU32(shorter, 8 + 520, 2);
    QCOMPARE(exchangeRaw(socketOf(ipc), shorter, false), qint64(1));
    QCOMPARE(rec->at(1).payload, QByteArray("12"));
}

void TestKavoIPC::frameHeader_lengthBoundary_data()
{
    QTest::addColumn<uint>("blockLength");
    QTest::addColumn<bool>("accepted");
    const uint largest = uint(KavoIPCBlock::kOverhead + KavoIPCBlock::kMaxPayloadSize);
    QTest::newRow("empty payload") << uint(KavoIPCBlock::kOverhead) << true;
    QTest::newRow("one byte short of a block") << uint(KavoIPCBlock::kOverhead - 1) << false;
    QTest::newRow("largest payload a sender frames") << largest << true;
    QTest::newRow("one byte more") << largest + 1 << false;
}

void TestKavoIPC::frameHeader_lengthBoundary()
{
    QFETCH(uint, blockLength);
    QFETCH(bool, accepted);
    unsigned char header[8];
    KavoIPCBlock::PutU32(header, KavoIPCBlock::kTag);
    KavoIPCBlock::PutU32(header + 4, blockLength);
    uint32_t length = 0;
    QCOMPARE(KavoIPCBlock::ParseFrameHeader(header, &length), accepted);
    QCOMPARE(length, accepted ? blockLength : 0u);
}

void TestKavoIPC::send_largestPayloadArrivesWhole()
{
    // The receiver must take everything a sender agrees to frame.
    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Big", rec);
    QVERIFY(ipc);
    QByteArray payload(int(KavoIPCBlock::kMaxPayloadSize), 'p');
    payload[payload.size() - 1] = 'z';
    uint32_t count = 0;
    QVERIFY(ipc->Send("App", "Big", uint32_t(payload.size()), payload.constData(), &count));
    QCOMPARE(count, 1u);
    QCOMPARE(rec->at(0).size, KavoIPCBlock::kMaxPayloadSize);
    QVERIFY(rec->at(0).payload == payload);
    QVERIFY(!ipc->Send("App", "Big", uint32_t(payload.size()) + 1, payload.constData(), &count));
    QCOMPARE(count, 0u);
}

void TestKavoIPC::otherProcess_subscriberCounted()
{
    QProcess* helper = startListener({"Device/", "Device/Remove", "Other"});
    QVERIFY(helper);

    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Device/", rec);
    QVERIFY(ipc);
    uint32_t count = 0;
    QVERIFY(ipc->Send("TransferWizard", "Device/Remove", 5, "hello", &count));
    QCOMPARE(count, 3u); // two in the helper, one here
    QTRY_COMPARE_WITH_TIMEOUT(helper->bytesAvailable() > 0, true, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(helper->canReadLine(), 5000);
    QCOMPARE(helper->readLine(),
             "msg TransferWizard Device/Remove 5 " + QByteArray("hello").toHex() + "\n");
}

void TestKavoIPC::otherProcess_senderReachesUs()
{
    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Device/Create", rec);
    QVERIFY(ipc);
    QProcess* helper = startHelper({"ipc-send", "Player", "Device/Create", "data"});
    QVERIFY(helper->waitForFinished(20000));
    QCOMPARE(helper->exitCode(), 0);
    QCOMPARE(helper->readAllStandardOutput(), QByteArray("count 1\n"));
    QCOMPARE(rec->count(), 1);
    QCOMPARE(rec->at(0).app, std::string("Player"));
    QCOMPARE(rec->at(0).payload, QByteArray("data"));
}

void TestKavoIPC::killedParticipant_staleSocketRemoved()
{
    QString stale;
    QProcess* helper = startListener({"Device/"}, &stale);
    QVERIFY(helper);
    ::kill(static_cast<pid_t>(helper->processId()), SIGKILL);
    QVERIFY(helper->waitForFinished(5000));
    QVERIFY(QFileInfo::exists(stale)); // a killed process leaves its socket behind

    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Device/", rec);
    QVERIFY(ipc);
    uint32_t count = 0;
    QVERIFY(ipc->Send("TransferWizard", "Device/Change", 0, nullptr, &count));
    QCOMPARE(count, 1u);
    QVERIFY(!QFileInfo::exists(stale));
}

void TestKavoIPC::stoppedParticipants_costOneDeadline()
{
    // Peers whose process is stopped accept the connection and never answer. A send waits
    // for them under one deadline, however many they are.
    QList<QProcess*> stopped;
    for (int i = 0; i < 3; ++i) {
        stopped << startListener({"Device/"});
        QVERIFY(stopped.back());
    }
    QProcess* live = startListener({"Device/"});
    QVERIFY(live);
    RecorderPtr rec(new Recorder);
    IpcPtr ipc = subscribedEndpoint("Device/", rec);
    QVERIFY(ipc);

    const auto timedSend = [&ipc](const char* name, uint32_t* count) {
        QElapsedTimer timer;
        timer.start();
        const bool sent = ipc->Send("TransferWizard", name, 0, nullptr, count);
        return sent ? timer.elapsed() : -1;
    };
    // A stop signal takes effect a little later: wait until the kernel says so.
    const auto stop = [](QProcess* p) {
        ::kill(pid_t(p->processId()), SIGSTOP);
        QFile stat(QString("/proc/%1/stat").arg(p->processId()));
        for (int i = 0; i < 500; ++i) {
            if (stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") T "))
                return true;
            stat.close();
            QThread::msleep(10);
        }
        return false;
    };
    uint32_t count = 0;
    QVERIFY(stop(stopped[0]));
    const qint64 one = timedSend("Device/One", &count);
    QCOMPARE(count, 4u); // two stopped peers still answer
    for (QProcess* p : stopped)
        QVERIFY(stop(p));
    const qint64 three = timedSend("Device/Three", &count);
    for (QProcess* p : stopped)
        ::kill(pid_t(p->processId()), SIGCONT);
    QVERIFY(one >= 0 && three >= 0);
    QCOMPARE(count, 2u); // the live helper and our own subscriber
    QVERIFY2(three < 2 * one,
             qPrintable(QString("one stopped peer %1 ms, three %2 ms").arg(one).arg(three)));
    QTRY_VERIFY_WITH_TIMEOUT(live->canReadLine(), 5000);
    QVERIFY(live->readLine().startsWith("msg TransferWizard Device/One"));
    QTRY_VERIFY_WITH_TIMEOUT(live->canReadLine(), 5000);
    QVERIFY(live->readLine().startsWith("msg TransferWizard Device/Three"));
}

void TestKavoIPC::strangeFilesInDirectoryLeftAlone()
{
    IpcPtr ipc = createEndpoint();
    QVERIFY(ipc);
    const QString dir = m_runtime.path() + "/kavo-ipc";
    QFile notes(dir + "/notes.txt");
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    // A plain file with a socket's name of a live process (ours) is not a peer.
    const QString fake = dir + "/" + QString::number(::getpid()) + "-999.sock";
    QFile fakeSock(fake);
    QVERIFY(fakeSock.open(QIODevice::WriteOnly));
    fakeSock.close();
    uint32_t count = 9;
    QVERIFY(ipc->Send("A", "B", 0, nullptr, &count));
    QCOMPARE(count, 0u);                               // no subscribers anywhere
    QVERIFY(ipc->Send("A", "B", 0, nullptr, nullptr)); // the count is optional
    QVERIFY(QFileInfo::exists(notes.fileName()));
    QVERIFY(QFileInfo::exists(fake)); // its owner is alive: not ours to remove
    QFile::remove(fake);
    QFile::remove(notes.fileName());
}

QTEST_GUILESS_MAIN(TestKavoIPC)
#include "tst_KavoIPC.moc"
