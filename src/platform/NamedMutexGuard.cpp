#include "NamedMutexGuard.h"

#include "NamedMutexRegistry.h"

NamedMutexGuard::NamedMutexGuard(const std::string& name)
    : m_handle(name.empty() ? NamedMutexRegistry::Instance().PrivateName() : name)
{
    m_held = NamedMutexRegistry::Instance().Acquire(m_handle, NamedMutexRegistry::kInfinite);
}

NamedMutexGuard::~NamedMutexGuard()
{
    if (m_held)
        NamedMutexRegistry::Instance().Release(m_handle);
}
