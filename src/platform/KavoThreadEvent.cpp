#include "KavoThreadEvent.h"

#include "EventState.h"

#include <new>

KavoThreadEvent::KavoThreadEvent() : m_handle(new (std::nothrow) EventState(false, true)) {}

KavoThreadEvent::~KavoThreadEvent() = default;

void KavoThreadEvent::Wait()
{
    if (m_handle)
        m_handle->Wait(EventState::kInfinite);
}

void KavoThreadEvent::Set()
{
    if (m_handle)
        m_handle->Set();
}
