#pragma once

#include <mutex>

// A recursive in-process lock (the owning thread may enter again), with a
// scope guard.
class KavoThreadLock
{
public:
    KavoThreadLock() = default;
    virtual ~KavoThreadLock() = default;

    KavoThreadLock(const KavoThreadLock&) = delete;
    KavoThreadLock& operator=(const KavoThreadLock&) = delete;

    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }

    // Holds a KavoThreadLock from construction to destruction.
    class ScopeLock
    {
    public:
        explicit ScopeLock(KavoThreadLock& lock) : m_lock(&lock) { m_lock->Lock(); }
        virtual ~ScopeLock() { m_lock->Unlock(); }

        ScopeLock(const ScopeLock&) = delete;
        ScopeLock& operator=(const ScopeLock&) = delete;

    private:
        KavoThreadLock* m_lock;
    };

private:
    std::recursive_mutex m_mutex;
};
