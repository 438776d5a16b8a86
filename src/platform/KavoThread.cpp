#include "KavoThread.h"

#include <system_error>

KavoThread::KavoThread(ThreadProc proc) : m_proc(proc), m_done(std::make_shared<DoneState>()) {}

KavoThread::~KavoThread()
{
    if (m_state != State::Running || !m_thread.joinable())
        return;
    if (m_thread.get_id() == std::this_thread::get_id()) {
        // Destroyed by its own procedure: joining would deadlock.
        m_thread.detach();
        return;
    }
    m_thread.join();
}

bool KavoThread::Start(void* arg)
{
    if (m_state != State::NotStarted)
        return false;
    m_arg = arg;
    try {
        m_thread = std::thread(&KavoThread::EntryRoutine, m_proc, m_arg, m_done);
    } catch (const std::system_error&) {
        m_state = State::StartFailed;
        return false;
    }
    m_state = State::Running;
    // Only now may the procedure run: it is allowed to destroy this object.
    std::lock_guard<std::mutex> lock(m_done->mutex);
    m_done->released = true;
    m_done->cv.notify_all();
    return true;
}

bool KavoThread::Wait()
{
    if (m_state != State::Running)
        return false;
    std::unique_lock<std::mutex> lock(m_done->mutex);
    m_done->cv.wait(lock, [this] { return m_done->finished; });
    return true;
}

bool KavoThread::HasFinished() const
{
    std::lock_guard<std::mutex> lock(m_done->mutex);
    return m_done->finished;
}

bool KavoThread::IsRunning() const
{
    return m_state == State::Running && !HasFinished();
}

void KavoThread::EntryRoutine(ThreadProc proc, void* arg, std::shared_ptr<DoneState> done)
{
    {
        std::unique_lock<std::mutex> lock(done->mutex);
        done->cv.wait(lock, [&] { return done->released; });
    }
    if (proc)
        proc(arg);
    std::lock_guard<std::mutex> lock(done->mutex);
    done->finished = true;
    done->cv.notify_all();
}
