#include "EventState.h"

#include <chrono>

EventState::EventState(bool manualReset, bool initialState)
    : m_manualReset(manualReset), m_signalled(initialState)
{
}

bool EventState::ConsumeLocked()
{
    if (!m_signalled)
        return false;
    if (!m_manualReset)
        m_signalled = false;
    return true;
}

bool EventState::Wait(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (timeoutMs == kInfinite) {
        m_cv.wait(lock, [this] { return m_signalled; });
        return ConsumeLocked();
    }
    if (!m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_signalled; }))
        return false;
    return ConsumeLocked();
}

void EventState::Set()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_signalled = true;
    // An automatic-reset event releases one waiter, a manual one all of them.
    if (m_manualReset)
        m_cv.notify_all();
    else
        m_cv.notify_one();
}

void EventState::Reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_signalled = false;
}
