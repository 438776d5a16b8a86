#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace kvt {

// One KavoEngine worker process and the thread that reads its standard
// output. QProcess needs an event loop in the starting thread, which engine
// callers do not have; this is plain posix_spawn, a pipe and a std::thread.
// Handlers run on the reader thread.
class EngineProcess
{
public:
    struct ExitStatus
    {
        bool crashed = false; // ended by a signal
        int code = 0;         // exit status, or the signal number when crashed
    };
    using LineHandler = std::function<void(const std::string& line)>;
    using ExitHandler = std::function<void(const ExitStatus& status)>;

    EngineProcess() = default;
    // Kills a worker that still runs and joins the reader.
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Starts program with args (argv[0] is added). stderrPath: file the
    // worker's standard error is appended to, empty to share ours. Returns 0 or
    // an errno value; on failure no handler is ever called.
    int start(const std::string& program, const std::vector<std::string>& args,
              const std::string& stderrPath, int niceValue, LineHandler onLine, ExitHandler onExit);

    // Sets the worker's nice value. Lowering it below what it has may need
    // privileges the program lacks; that failure is harmless and reported false.
    bool setNice(int niceValue);
    // Asks the worker to stop (SIGTERM); no effect once it has exited.
    void terminate();
    // Ends the worker at once (SIGKILL); no effect once it has exited.
    void kill();
    // True once the exit handler has returned (or nothing was started).
    bool waitForFinished(std::chrono::milliseconds timeout);
    bool isFinished() const;
    pid_t pid() const { return m_pid; }

    // Longest line passed on; the rest of a longer line is dropped.
    static constexpr size_t kMaxLine = 4096;

private:
    void readLoop(int fd);
    void signal(int sig);

    pid_t m_pid = -1;
    std::thread m_reader;
    LineHandler m_onLine;
    ExitHandler m_onExit;

    mutable std::mutex m_mutex;
    std::condition_variable m_finishedCv;
    bool m_exited = false;  // the worker is gone: its pid may be reused, never signal it
    bool m_finished = true; // the exit handler has run
};

} // namespace kvt
