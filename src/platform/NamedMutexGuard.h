#pragma once

#include <string>

// Holds the named mutex name (see NamedMutex) from construction, waiting
// without limit, to destruction.
class NamedMutexGuard
{
public:
    explicit NamedMutexGuard(const std::string& name);
    virtual ~NamedMutexGuard();

    NamedMutexGuard(const NamedMutexGuard&) = delete;
    NamedMutexGuard& operator=(const NamedMutexGuard&) = delete;

private:
    std::string m_handle;
    bool m_held = false;
};
