#include "KvpmEvent.h"

#include "EventState.h"

#include <cstring>
#include <new>

namespace kvpm {

Event::Event(const char* name, bool manualReset, bool initialState)
{
    if (name) {
        if (std::strlen(name) > kMaxNameLength)
            return;
        m_name = name;
    }
    m_handle.reset(new (std::nothrow) EventState(manualReset, initialState));
}

Event::~Event() = default;

bool Event::Wait(uint32_t timeoutMs)
{
    if (!m_handle)
        return true;
    return m_handle->Wait(timeoutMs);
}

void Event::Set()
{
    if (m_handle)
        m_handle->Set();
}

uint32_t Event::SignalAndWait(Event& other)
{
    if (!m_handle || !other.m_handle)
        return kWaitFailed;
    m_handle->Set();
    other.m_handle->Wait(EventState::kInfinite);
    return kWaitObject0;
}

void Event::Reset()
{
    if (m_handle)
        m_handle->Reset();
}

} // namespace kvpm
