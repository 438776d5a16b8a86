#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "LauncherChannel.h"

// The single-instance channel on its own: hand-over, stale sockets, races and bad peers.
class TestLauncherChannel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void secondAcquire_forwardsArguments();
    void staleSocket_isReplaced();
    void foreignFileAtPath_isLeftAlone();
    void simultaneousLaunches_oneServes();
    void silentPeer_doesNotBlockOthersForever();
    void malformedFrames_areDropped_data();
    void malformedFrames_areDropped();
    void stop_removesSocket();

private:
    int rawConnect() const;
    std::string m_path;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLauncherChannel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath("launcher.sock").toStdString();
}

int TestLauncherChannel::rawConnect() const
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, m_path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void TestLauncherChannel::secondAcquire_forwardsArguments()
{
    std::mutex mutex;
    std::vector<std::vector<std::string>> received;
    std::thread::id handlerThread;
    LauncherChannel first(m_path);
    QCOMPARE(first.acquire({"portavo", "-xfer"},
                           [&](const std::vector<std::string>& args) {
                               std::lock_guard<std::mutex> lock(mutex);
                               received.push_back(args);
                               handlerThread = std::this_thread::get_id();
                           }),
             LauncherChannel::Role::Serving);

    const std::vector<std::string> arguments{
        "portavo", "-xfer", "-id", "10003", "-file", "file:///home/a%20b/\xC3\xA9t\xC3\xA9.avi",
        ""};
    LauncherChannel second(m_path);
    QCOMPARE(second.acquire(arguments, {}), LauncherChannel::Role::Forwarded);
    // The hand-over is acknowledged only after the handler ran.
    std::lock_guard<std::mutex> lock(mutex);
    QCOMPARE(received.size(), size_t(1));
    QVERIFY(received.front() == arguments);
    QVERIFY(handlerThread != std::this_thread::get_id());
}

void TestLauncherChannel::staleSocket_isReplaced()
{
    {
        // A listener that vanished without cleaning up leaves a socket nobody answers.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, m_path.c_str(), sizeof address.sun_path - 1);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    QVERIFY(QFileInfo::exists(QString::fromStdString(m_path)));
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo"}, [](const std::vector<std::string>&) {}),
             LauncherChannel::Role::Serving);
    QVERIFY(LauncherChannel::send(m_path, {"x"}, 5000));
}

void TestLauncherChannel::foreignFileAtPath_isLeftAlone()
{
    QFile foreign(QString::fromStdString(m_path));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write("precious");
    foreign.close();
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo"}, {}), LauncherChannel::Role::Standalone);
    QVERIFY(foreign.open(QIODevice::ReadOnly));
    QCOMPARE(foreign.readAll(), QByteArray("precious"));
}

void TestLauncherChannel::simultaneousLaunches_oneServes()
{
    constexpr int Launches = 6;
    std::vector<std::unique_ptr<LauncherChannel>> channels;
    for (int i = 0; i < Launches; ++i)
        channels.push_back(std::make_unique<LauncherChannel>(m_path));
    std::atomic<int> handled{0};
    std::vector<LauncherChannel::Role> roles(Launches);
    std::vector<std::thread> threads;
    for (int i = 0; i < Launches; ++i) {
        threads.emplace_back([&, i]() {
            roles[i] = channels[i]->acquire({"portavo", std::to_string(i)},
                                            [&](const std::vector<std::string>&) { ++handled; });
        });
    }
    for (std::thread& t : threads)
        t.join();
    QCOMPARE(int(std::count(roles.begin(), roles.end(), LauncherChannel::Role::Serving)), 1);
    QCOMPARE(int(std::count(roles.begin(), roles.end(), LauncherChannel::Role::Forwarded)),
             Launches - 1);
    QCOMPARE(handled.load(), Launches - 1);
}

void TestLauncherChannel::silentPeer_doesNotBlockOthersForever()
{
    std::atomic<int> handled{0};
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo"}, [&](const std::vector<std::string>&) { ++handled; }),
             LauncherChannel::Role::Serving);
    // Connects and then says nothing.
    const int silent = rawConnect();
    QVERIFY(silent >= 0);
    QVERIFY(LauncherChannel::send(m_path, {"portavo", "-xfer"}, 15000));
    QCOMPARE(handled.load(), 1);
    ::close(silent);
}

void TestLauncherChannel::malformedFrames_areDropped_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("wrong magic") << QByteArray("XXXX\x01\x00\x00\x00\x01\x00\x00\x00a", 13);
    QTest::newRow("too many arguments") << QByteArray("KVLA\xff\xff\xff\x7f", 8);
    QTest::newRow("argument too long") << QByteArray("KVLA\x01\x00\x00\x00\xff\xff\xff\xff", 12);
    QTest::newRow("truncated") << QByteArray("KVLA\x02\x00\x00\x00\x05\x00\x00\x00ab", 14);
}

void TestLauncherChannel::malformedFrames_areDropped()
{
    QFETCH(QByteArray, frame);
    std::atomic<int> handled{0};
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo"}, [&](const std::vector<std::string>&) { ++handled; }),
             LauncherChannel::Role::Serving);
    const int fd = rawConnect();
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, frame.constData(), size_t(frame.size())), ssize_t(frame.size()));
    ::shutdown(fd, SHUT_WR);
    char ack = 0;
    // The listener closes (or resets) without acknowledging.
    QVERIFY(::read(fd, &ack, 1) <= 0);
    ::close(fd);
    QCOMPARE(handled.load(), 0);
    // And still serves the next launch.
    QVERIFY(LauncherChannel::send(m_path, {"ok"}, 5000));
    QCOMPARE(handled.load(), 1);
}

void TestLauncherChannel::stop_removesSocket()
{
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo"}, {}), LauncherChannel::Role::Serving);
    QVERIFY(QFileInfo::exists(QString::fromStdString(m_path)));
    channel.stop();
    QVERIFY(!QFileInfo::exists(QString::fromStdString(m_path)));
    QVERIFY(!LauncherChannel::send(m_path, {"x"}, 1000));
}

QTEST_GUILESS_MAIN(TestLauncherChannel)
#include "tst_launcherchannel.moc"
