#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// A thread that runs a plain function with one pointer argument. It is
// started at most once; the destructor joins it.
class KavoThread
{
public:
    using ThreadProc = void (*)(void* arg);

    explicit KavoThread(ThreadProc proc);
    virtual ~KavoThread();

    KavoThread(const KavoThread&) = delete;
    KavoThread& operator=(const KavoThread&) = delete;

    // False when the thread was already started (or its start failed) or
    // when the system refuses a new thread.
    bool Start(void* arg);
    // Blocks until the procedure has returned. False when the thread never
    // started. May be called more than once and from any thread.
    bool Wait();
    // True once the procedure has returned (false when never started).
    bool HasFinished() const;
    // True while a started thread is still inside its procedure.
    bool IsRunning() const;

private:
    enum class State
    {
        NotStarted,
        Running,
        StartFailed
    };
    // Outlives the object when the procedure destroys its own KavoThread.
    struct DoneState
    {
        std::mutex mutex;
        std::condition_variable cv;
        bool released = false; // set once Start has stored the thread
        bool finished = false;
    };
    static void EntryRoutine(ThreadProc proc, void* arg, std::shared_ptr<DoneState> done);

    ThreadProc m_proc;
    void* m_arg = nullptr;
    std::atomic<State> m_state{State::NotStarted};
    std::thread m_thread;
    std::shared_ptr<DoneState> m_done;
};
