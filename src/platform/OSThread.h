#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

// Base of a worker thread that is created suspended: Create makes the thread,
// which waits at a start gate until Resume, then runs OnStart, Execute and
// OnFinish in that order on the new thread. The destructor does not wait for
// the steps; an owner that must outlive them calls Wait first.
class OSThread
{
public:
    OSThread();
    virtual ~OSThread();

    OSThread(const OSThread&) = delete;
    OSThread& operator=(const OSThread&) = delete;

    // False when the thread exists already or cannot be made.
    bool Create();
    // Opens the start gate (or undoes one Suspend). False without a thread.
    bool Resume();
    // Clears the running flag and closes the start gate again. A thread is
    // only ever held at its gate: once the steps have begun, Suspend returns
    // false and the thread runs on.
    bool Suspend();
    // Blocks until the steps have ended. False without a thread.
    bool Wait();
    // Clears the running flag and lets go of the thread. A thread still held
    // at its gate ends without running any step.
    void Close();

    bool IsRunning() const { return m_running; }
    // The kernel's id of the thread; 0 before Create.
    uint32_t ThreadId() const { return m_threadId; }
    bool HasThread() const { return m_gate != nullptr; }

protected:
    // Results are ignored.
    virtual int32_t OnStart() = 0;
    virtual int32_t OnFinish() = 0;
    virtual int32_t Execute() = 0;

private:
    // Shared with the thread, so a closed or destroyed owner never leaves it
    // waiting on freed memory.
    struct Gate
    {
        std::mutex mutex;
        std::condition_variable cv;
        int suspendCount = 1;
        bool abandoned = false;
        bool stepsBegun = false;
        bool finished = false;
        uint32_t threadId = 0;
        bool idKnown = false;
    };
    static void EntryRoutine(OSThread* self, std::shared_ptr<Gate> gate);

    std::shared_ptr<Gate> m_gate;
    std::thread m_thread;
    uint32_t m_threadId = 0;
    std::atomic<bool> m_running{true};
};
