#include "NamedMutex.h"

#include "NamedMutexRegistry.h"

NamedMutex::NamedMutex(const std::string& name)
    : m_name(name), m_handle(name.empty() ? NamedMutexRegistry::Instance().PrivateName() : name)
{
}

NamedMutex::~NamedMutex()
{
    while (m_heldCount > 0 && NamedMutexRegistry::Instance().Release(m_handle))
        --m_heldCount;
}

bool NamedMutex::Lock(uint32_t timeoutMs)
{
    if (!NamedMutexRegistry::Instance().Acquire(m_handle, timeoutMs))
        return false;
    ++m_heldCount;
    return true;
}

bool NamedMutex::Unlock()
{
    if (m_heldCount <= 0 || !NamedMutexRegistry::Instance().Release(m_handle))
        return false;
    --m_heldCount;
    return true;
}

NamedMutex& NamedMutex::DeviceCallbackMutex()
{
    static NamedMutex* mutex = new NamedMutex(kDeviceCallbackMutexName);
    return *mutex;
}
