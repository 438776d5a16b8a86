#include "OSThread.h"

#include <system_error>
#include <unistd.h>

OSThread::OSThread() = default;

OSThread::~OSThread()
{
    Close();
}

bool OSThread::Create()
{
    if (m_gate)
        return false;
    auto gate = std::make_shared<Gate>();
    try {
        m_thread = std::thread(&OSThread::EntryRoutine, this, gate);
    } catch (const std::system_error&) {
        return false;
    }
    m_gate = gate;
    std::unique_lock<std::mutex> lock(gate->mutex);
    gate->cv.wait(lock, [&] { return gate->idKnown; });
    m_threadId = gate->threadId;
    return true;
}

bool OSThread::Resume()
{
    if (!m_gate)
        return false;
    std::lock_guard<std::mutex> lock(m_gate->mutex);
    if (m_gate->suspendCount > 0 && --m_gate->suspendCount == 0)
        m_gate->cv.notify_all();
    return true;
}

bool OSThread::Suspend()
{
    m_running = false;
    if (!m_gate)
        return false;
    std::lock_guard<std::mutex> lock(m_gate->mutex);
    if (m_gate->stepsBegun)
        return false;
    ++m_gate->suspendCount;
    return true;
}

bool OSThread::Wait()
{
    if (!m_gate)
        return false;
    std::unique_lock<std::mutex> lock(m_gate->mutex);
    m_gate->cv.wait(lock, [this] { return m_gate->finished; });
    return true;
}

void OSThread::Close()
{
    m_running = false;
    if (!m_gate)
        return;
    bool neverRan = false;
    {
        std::lock_guard<std::mutex> lock(m_gate->mutex);
        if (!m_gate->stepsBegun) {
            m_gate->abandoned = true;
            neverRan = true;
            m_gate->cv.notify_all();
        }
    }
    if (m_thread.joinable()) {
        // A thread that never ran ends at once; one that runs keeps going on
        // its own, as the owner chose not to wait for it.
        if (neverRan && m_thread.get_id() != std::this_thread::get_id())
            m_thread.join();
        else
            m_thread.detach();
    }
    m_gate.reset();
}

void OSThread::EntryRoutine(OSThread* self, std::shared_ptr<Gate> gate)
{
    {
        std::unique_lock<std::mutex> lock(gate->mutex);
        gate->threadId = static_cast<uint32_t>(gettid());
        gate->idKnown = true;
        gate->cv.notify_all();
        gate->cv.wait(lock, [&] { return gate->suspendCount == 0 || gate->abandoned; });
        if (gate->abandoned) {
            gate->finished = true;
            gate->cv.notify_all();
            return;
        }
        gate->stepsBegun = true;
    }
    self->m_running = true;
    self->OnStart();
    self->Execute();
    self->OnFinish();
    self->m_running = false;

    std::lock_guard<std::mutex> lock(gate->mutex);
    gate->finished = true;
    gate->cv.notify_all();
}
