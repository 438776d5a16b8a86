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

Q_DECLARE_METATYPE(LauncherChannel::Role)

// The single-instance channel on its own: hand-over, stale sockets, races and bad peers.
class TestLauncherChannel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void secondAcquire_forwardsArguments();
    void staleSocket_isReplaced();
    void foreignFileAtPath_isLeftAlone();
    void hungInstance_keepsItsSocket();
    void simultaneousLaunches_oneServes();
    void busyInstance_isNeverReplaced_data();
    void busyInstance_isNeverReplaced();
    void malformedFrames_areRefused_data();
    void malformedFrames_areRefused();
    void stop_removesSocket();

private:
    sockaddr_un address() const;
    int rawConnect() const;
    // A socket bound at the path (and listening), with nobody serving it.
    int rawBind(bool listening) const;
    std::string m_path;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLauncherChannel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath("launcher.sock").toStdString();
}

sockaddr_un TestLauncherChannel::address() const
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, m_path.c_str(), sizeof address.sun_path - 1);
    return address;
}

int TestLauncherChannel::rawConnect() const
{
    const sockaddr_un a = address();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int TestLauncherChannel::rawBind(bool listening) const
{
    const sockaddr_un a = address();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 ||
        (listening && ::listen(fd, 4) != 0)) {
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
    // A listener that vanished without cleaning up leaves a socket nobody answers.
    const int fd = rawBind(false);
    QVERIFY(fd >= 0);
    ::close(fd);
    QVERIFY(QFileInfo::exists(QString::fromStdString(m_path)));
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo"}, [](const std::vector<std::string>&) {}),
             LauncherChannel::Role::Serving);
    QCOMPARE(LauncherChannel::send(m_path, {"x"}, 5000), LauncherChannel::Delivery::Taken);
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

void TestLauncherChannel::hungInstance_keepsItsSocket()
{
    // An instance that takes connections but never answers (stopped, or its listener stuck).
    const int hung = rawBind(true);
    QVERIFY(hung >= 0);
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo", "-xfer"}, {}), LauncherChannel::Role::Unanswered);
    QVERIFY(!channel.failure().empty());
    const int fd = rawConnect(); // still the hung instance's socket
    QVERIFY(fd >= 0);
    ::close(fd);
    ::close(hung);
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

void TestLauncherChannel::busyInstance_isNeverReplaced_data()
{
    QTest::addColumn<int>("silentPeers");
    QTest::addColumn<bool>("trickle");
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("nameLength");
    QTest::addColumn<LauncherChannel::Role>("expected");
    const auto taken = LauncherChannel::Role::Forwarded;
    const int argMax = int(LauncherChannel::kMaxArgumentBytes);
    QTest::newRow("two silent peers ahead of the launch") << 2 << false << 1 << 40 << taken;
    QTest::newRow("a peer trickling a byte a second") << 1 << true << 1 << 40 << taken;
    QTest::newRow("5,000-file hand-over") << 0 << false << 5000 << 40 << taken;
    QTest::newRow("argument of 128 KiB (the system's largest)")
        << 0 << false << 1 << argMax << taken;
    // Beyond what a real command line can hold: refused, and still no second wizard.
    QTest::newRow("argument beyond the system's limit")
        << 0 << false << 1 << argMax + 1 << LauncherChannel::Role::Unanswered;
}

void TestLauncherChannel::busyInstance_isNeverReplaced()
{
    QFETCH(int, silentPeers);
    QFETCH(bool, trickle);
    QFETCH(int, files);
    QFETCH(int, nameLength);
    QFETCH(LauncherChannel::Role, expected);
    std::atomic<size_t> received{0};
    LauncherChannel first(m_path);
    QCOMPARE(first.acquire({"portavo"},
                           [&](const std::vector<std::string>& args) { received = args.size(); }),
             LauncherChannel::Role::Serving);
    // Peers that connect and then say nothing, half a header, or a byte now and then.
    std::vector<int> silent;
    for (int i = 0; i < silentPeers; ++i) {
        silent.push_back(rawConnect());
        QVERIFY(silent.back() >= 0);
        if (i % 2)
            QCOMPARE(::write(silent.back(), "KV", 2), ssize_t(2));
    }
    std::atomic<bool> done{false};
    // A well-formed frame of 72 bytes, sent a byte a second.
    const std::string slowFrame =
        std::string("KVLA\x40\0\0\0\x01\0\0\0\x38\0\0\0", 16) + std::string(56, 'a');
    std::thread trickler([&] {
        for (size_t i = 0; trickle && !done && i < slowFrame.size(); ++i) {
            if (::send(silent.front(), &slowFrame[i], 1, MSG_NOSIGNAL) != 1)
                break;
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    });
    std::vector<std::string> arguments{"portavo", "-xfer", "-id", "10003"};
    for (int i = 0; i < files; ++i) {
        arguments.push_back("-file");
        const std::string name = "file:///home/alice/Videos/" + std::to_string(i) + ".avi";
        arguments.push_back(std::string(size_t(nameLength) - name.size(), 'v') + name);
    }
    LauncherChannel second(m_path);
    const LauncherChannel::Role role = second.acquire(arguments, {});
    done = true;
    trickler.join();
    for (int fd : silent)
        ::close(fd);
    QCOMPARE(role, expected);
    QCOMPARE(received.load(), expected == LauncherChannel::Role::Forwarded ? arguments.size() : 0);
    // The running instance keeps its socket and serves on.
    QCOMPARE(LauncherChannel::send(m_path, {"portavo"}, 5000), LauncherChannel::Delivery::Taken);
    QCOMPARE(received.load(), size_t(1));
}

void TestLauncherChannel::malformedFrames_areRefused_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("answer"); // -1: closed without one
    const int refused = LauncherChannel::kRefused;
    // "\x00" "a": a hex escape takes every hex digit that follows it.
    QTest::newRow("wrong magic") << QByteArray("XXXX\x04\x00\x00\x00\x00\x00\x00\x00", 12)
                                 << refused;
    QTest::newRow("body beyond the largest command line")
        << QByteArray("KVLA\x01\x00\x80\x00", 8) << refused;
    QTest::newRow("more arguments than the body holds")
        << QByteArray("KVLA\x04\x00\x00\x00\xff\xff\xff\x7f", 12) << refused;
    QTest::newRow("argument longer than the body")
        << QByteArray("KVLA\x09\x00\x00\x00\x01\x00\x00\x00\x05\x00\x00\x00"
                      "a",
                      17)
        << refused;
    QTest::newRow("truncated") << QByteArray("KVLA\x0b\x00\x00\x00\x01\x00\x00\x00"
                                             "ab",
                                             14)
                               << -1;
}

void TestLauncherChannel::malformedFrames_areRefused()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, answer);
    std::atomic<int> handled{0};
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo"}, [&](const std::vector<std::string>&) { ++handled; }),
             LauncherChannel::Role::Serving);
    const int fd = rawConnect();
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, frame.constData(), size_t(frame.size())), ssize_t(frame.size()));
    ::shutdown(fd, SHUT_WR);
    char ack = 0;
    const ssize_t n = ::read(fd, &ack, 1);
    ::close(fd);
    QCOMPARE(n == 1 ? int(ack) : -1, answer);
    QCOMPARE(handled.load(), 0);
    // And still serves the next launch.
    QCOMPARE(LauncherChannel::send(m_path, {"ok"}, 5000), LauncherChannel::Delivery::Taken);
    QCOMPARE(handled.load(), 1);
}

void TestLauncherChannel::stop_removesSocket()
{
    LauncherChannel channel(m_path);
    QCOMPARE(channel.acquire({"portavo"}, {}), LauncherChannel::Role::Serving);
    QVERIFY(QFileInfo::exists(QString::fromStdString(m_path)));
    channel.stop();
    QVERIFY(!QFileInfo::exists(QString::fromStdString(m_path)));
    QCOMPARE(LauncherChannel::send(m_path, {"x"}, 1000), LauncherChannel::Delivery::NoListener);
}

QTEST_GUILESS_MAIN(TestLauncherChannel)
#include "tst_launcherchannel.moc"
