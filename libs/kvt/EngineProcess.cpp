#include "EngineProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kvt {

namespace {

// Owns the spawn attribute objects for the length of one start().
struct SpawnSetup
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    bool actionsReady = false;
    bool attrReady = false;

    ~SpawnSetup()
    {
        if (actionsReady)
            posix_spawn_file_actions_destroy(&actions);
        if (attrReady)
            posix_spawnattr_destroy(&attr);
    }
};

void closeFd(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

EngineProcess::~EngineProcess()
{
    if (!m_reader.joinable())
        return;
    if (m_reader.get_id() == std::this_thread::get_id()) {
        // Destroyed from one of our own handlers: the thread ends right after.
        m_reader.detach();
        return;
    }
    terminate();
    if (!waitForFinished(std::chrono::seconds(5))) {
        kill();
        waitForFinished(std::chrono::seconds(30));
    }
    m_reader.join();
}

int EngineProcess::start(const std::string& program, const std::vector<std::string>& args,
                         const std::string& stderrPath, int niceValue, LineHandler onLine,
                         ExitHandler onExit)
{
    if (m_reader.joinable())
        return EBUSY;

    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return errno;
    int readFd = fds[0];
    int writeFd = fds[1];

    SpawnSetup setup;
    int err = posix_spawn_file_actions_init(&setup.actions);
    if (err) {
        closeFd(readFd);
        closeFd(writeFd);
        return err;
    }
    setup.actionsReady = true;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, writeFd, 1);
    if (!stderrPath.empty())
        posix_spawn_file_actions_addopen(&setup.actions, 2, stderrPath.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // Descriptors opened without O_CLOEXEC elsewhere in the program (another
    // session's pipe among them) must not keep pipes open in the worker.
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
#endif

    err = posix_spawnattr_init(&setup.attr);
    if (err) {
        closeFd(readFd);
        closeFd(writeFd);
        return err;
    }
    setup.attrReady = true;
    // The worker relies on SIGTERM/SIGINT for cancel and SIGPIPE when we are
    // gone: give it default dispositions and an empty mask whatever ours are.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    sigset_t emptyMask;
    sigemptyset(&emptyMask);
    posix_spawnattr_setsigdefault(&setup.attr, &defaults);
    posix_spawnattr_setsigmask(&setup.attr, &emptyMask);
    posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<std::string> argvStore;
    argvStore.reserve(args.size() + 1);
    argvStore.push_back(program);
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    err = posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attr, argv.data(), environ);
    closeFd(writeFd);
    if (err) {
        closeFd(readFd);
        return err;
    }

    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pid = pid;
        m_exited = false;
        m_finished = false;
    }
    m_onLine = std::move(onLine);
    m_onExit = std::move(onExit);
    setNice(niceValue);
    m_reader = std::thread(&EngineProcess::readLoop, this, readFd);
    return 0;
}

bool EngineProcess::setNice(int niceValue)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pid <= 0 || m_exited)
        return false;
    // Never make the worker more important than the program itself.
    errno = 0;
    const int own = ::getpriority(PRIO_PROCESS, 0);
    if (errno == 0 && niceValue < own)
        niceValue = own;
    return ::setpriority(PRIO_PROCESS, id_t(m_pid), niceValue) == 0;
}

void EngineProcess::signal(int sig)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pid > 0 && !m_exited)
        ::kill(m_pid, sig);
}

void EngineProcess::terminate()
{
    signal(SIGTERM);
}

void EngineProcess::kill()
{
    signal(SIGKILL);
}

bool EngineProcess::waitForFinished(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_finishedCv.wait_for(lock, timeout, [this] { return m_finished; });
}

bool EngineProcess::isFinished() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_finished;
}

void EngineProcess::readLoop(int fd)
{
    std::string pending;
    bool overlong = false;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buf[i];
            if (c == '\n') {
                if (!pending.empty() && pending.back() == '\r')
                    pending.pop_back();
                if (m_onLine)
                    m_onLine(pending);
                pending.clear();
                overlong = false;
            } else if (!overlong) {
                if (pending.size() < kMaxLine)
                    pending.push_back(c);
                else
                    overlong = true;
            }
        }
    }
    if (!pending.empty() && m_onLine)
        m_onLine(pending);
    ::close(fd);

    // Wait for the exit without reaping first, so signals sent under the lock
    // can never reach a recycled pid.
    siginfo_t info;
    std::memset(&info, 0, sizeof info);
    while (::waitid(P_PID, id_t(m_pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_exited = true;
    }
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(m_pid, &status, 0);
    } while (r < 0 && errno == EINTR);

    ExitStatus exit;
    if (r == m_pid && WIFSIGNALED(status)) {
        exit.crashed = true;
        exit.code = WTERMSIG(status);
    } else if (r == m_pid && WIFEXITED(status)) {
        exit.code = WEXITSTATUS(status);
    } else {
        // Someone else reaped it (a SIGCHLD handler set to ignore): unknown end.
        exit.crashed = true;
        exit.code = 0;
    }
    if (m_onExit)
        m_onExit(exit);

    std::lock_guard<std::mutex> lock(m_mutex);
    m_finished = true;
    m_finishedCv.notify_all();
}

} // namespace kvt
