#include "EngineProcess.h"

#include <QtTest>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <sys/resource.h>

using kvt::EngineProcess;

namespace {

// What the handlers saw, filled on the reader thread.
struct Seen
{
    std::mutex mutex;
    std::vector<std::string> lines;
    std::atomic<bool> exited{false};
    EngineProcess::ExitStatus status;

    EngineProcess::LineHandler lineHandler()
    {
        return [this](const std::string& l) {
            std::lock_guard<std::mutex> lock(mutex);
            lines.push_back(l);
        };
    }
    EngineProcess::ExitHandler exitHandler()
    {
        return [this](const EngineProcess::ExitStatus& s) {
            status = s;
            exited = true;
        };
    }
    // Runs `script` under /bin/sh in `p` with these handlers; the start's error code.
    int startShell(EngineProcess& p, const std::string& script, int nice = 0)
    {
        return p.start("/bin/sh", {"-c", script}, "", nice, lineHandler(), exitHandler());
    }
    size_t lineCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return lines.size();
    }
};

int niceOf(pid_t pid)
{
    // Field 19 of /proc/<pid>/stat, after the parenthesised command name.
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = all.rfind(')');
    if (close == std::string::npos)
        return -100;
    std::istringstream rest(all.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 19; ++i)
        rest >> field;
    return std::stoi(field);
}

} // namespace

class TestEngineProcess : public QObject
{
    Q_OBJECT

private slots:
    void lines_arriveInOrderAndExitCodeIsKept();
    void overlongLine_isCutNotFatal();
    void signalDeath_isReportedAsCrash();
    void terminate_stopsTheWorker();
    void kill_endsAWorkerThatIgnoresTerminate();
    void nice_appliesAtStartAndLater();
    void missingProgram_failsToStartWithoutCallbacks();
    void descriptors_doNotLeakIntoTheWorker();
    void destructor_endsARunningWorker();
};

void TestEngineProcess::lines_arriveInOrderAndExitCodeIsKept()
{
    Seen seen;
    EngineProcess p;
    QCOMPARE(seen.startShell(p, "printf 'A\\nB\\r\\nC'; exit 21"), 0);
    QVERIFY(p.waitForFinished(std::chrono::seconds(10)));
    QVERIFY(seen.exited);
    QCOMPARE(seen.lines, (std::vector<std::string>{"A", "B", "C"}));
    QVERIFY(!seen.status.crashed);
    QCOMPARE(seen.status.code, 21);
}

void TestEngineProcess::overlongLine_isCutNotFatal()
{
    Seen seen;
    EngineProcess p;
    QCOMPARE(seen.startShell(p, "head -c 100000 /dev/zero | tr '\\0' x; echo; echo DONE"), 0);
    QVERIFY(p.waitForFinished(std::chrono::seconds(10)));
    QCOMPARE(seen.lines.size(), size_t(2));
    QCOMPARE(seen.lines[0].size(), EngineProcess::kMaxLine);
    QCOMPARE(seen.lines[1], std::string("DONE"));
}

void TestEngineProcess::signalDeath_isReportedAsCrash()
{
    Seen seen;
    EngineProcess p;
    QCOMPARE(seen.startShell(p, "echo PROGRESS 5 0; kill -SEGV $$"), 0);
    QVERIFY(p.waitForFinished(std::chrono::seconds(10)));
    QVERIFY(seen.status.crashed);
    QCOMPARE(seen.status.code, SIGSEGV);
}

void TestEngineProcess::terminate_stopsTheWorker()
{
    Seen seen;
    EngineProcess p;
    QCOMPARE(seen.startShell(p, "echo started; exec sleep 30"), 0);
    QTRY_COMPARE_WITH_TIMEOUT(seen.lineCount(), size_t(1), 10000);
    p.terminate();
    QVERIFY(p.waitForFinished(std::chrono::seconds(10)));
    QVERIFY(seen.status.crashed);
    QCOMPARE(seen.status.code, SIGTERM);
    p.terminate(); // after the end: harmless
}

void TestEngineProcess::kill_endsAWorkerThatIgnoresTerminate()
{
    Seen seen;
    EngineProcess p;
    QCOMPARE(seen.startShell(p, "trap '' TERM; echo ready; while :; do sleep 0.05; done"), 0);
    QTRY_COMPARE_WITH_TIMEOUT(seen.lineCount(), size_t(1), 10000);
    p.terminate();
    QVERIFY(!p.waitForFinished(std::chrono::milliseconds(500)));
    p.kill();
    QVERIFY(p.waitForFinished(std::chrono::seconds(10)));
    QVERIFY(seen.status.crashed);
    QCOMPARE(seen.status.code, SIGKILL);
}

void TestEngineProcess::nice_appliesAtStartAndLater()
{
    errno = 0;
    const int own = getpriority(PRIO_PROCESS, 0);
    if (own > 10)
        QSKIP("the test already runs above nice 10");
    Seen seen;
    EngineProcess p;
    QCOMPARE(seen.startShell(p, "echo ready; exec sleep 30", 10), 0);
    QTRY_COMPARE_WITH_TIMEOUT(seen.lineCount(), size_t(1), 10000);
    QCOMPARE(niceOf(p.pid()), 10);
    QVERIFY(p.setNice(19));
    QCOMPARE(niceOf(p.pid()), 19);
    p.terminate();
    QVERIFY(p.waitForFinished(std::chrono::seconds(10)));
    QVERIFY(!p.setNice(5)); // gone
}

void TestEngineProcess::missingProgram_failsToStartWithoutCallbacks()
{
    Seen seen;
    EngineProcess p;
    QCOMPARE(p.start("/nonexistent/KavoEngine", {}, "", 0, seen.lineHandler(), seen.exitHandler()),
             ENOENT);
    QVERIFY(p.isFinished());
    QVERIFY(!seen.exited);
}

void TestEngineProcess::descriptors_doNotLeakIntoTheWorker()
{
    // A descriptor opened without close-on-exec by someone else in the program.
    const int stray = ::open("/dev/null", O_RDONLY);
    QVERIFY(stray >= 3);
    Seen seen;
    EngineProcess p;
    QCOMPARE(seen.startShell(p, QString("[ -e /proc/self/fd/%1 ] && echo leaked || echo clean")
                                    .arg(stray)
                                    .toStdString()),
             0);
    QVERIFY(p.waitForFinished(std::chrono::seconds(10)));
    ::close(stray);
    QCOMPARE(seen.lines, std::vector<std::string>{"clean"});
}

void TestEngineProcess::destructor_endsARunningWorker()
{
    Seen seen;
    pid_t pid = -1;
    {
        EngineProcess p;
        QCOMPARE(seen.startShell(p, "echo ready; exec sleep 30"), 0);
        pid = p.pid();
        QTRY_COMPARE_WITH_TIMEOUT(seen.lineCount(), size_t(1), 10000);
    }
    QVERIFY(seen.exited);
    QVERIFY(::kill(pid, 0) != 0); // reaped, not a zombie of ours
}

QTEST_GUILESS_MAIN(TestEngineProcess)
#include "test_engine_process.moc"
