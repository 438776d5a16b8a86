#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// Process-wide book of the named mutexes this process holds. A name is held
// by one thread of the process at a time, recursively for that thread, and
// while held it also holds an exclusive flock on <runtime dir>/kavo-locks/
// <name>.lock, which excludes every other process of the user and which the
// kernel drops when the holder dies.
class NamedMutexRegistry
{
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

    // Lives until the process ends, so static owners may use it on the way out.
    static NamedMutexRegistry& Instance();

    // Blocks up to timeoutMs. True when held. A name that starts with '\0'
    // is private to the process and takes no file lock.
    bool Acquire(const std::string& name, uint32_t timeoutMs);
    // False when the calling thread does not hold name.
    bool Release(const std::string& name);
    // Unique name for an unnamed mutex.
    std::string PrivateName();
    // The lock file used for name; empty when no runtime directory exists.
    static std::string LockFilePath(const std::string& name);

private:
    struct Entry
    {
        std::condition_variable cv;
        std::thread::id owner;
        int count = 0;
        int fd = -1;
    };
    NamedMutexRegistry() = default;
    // Takes the file lock of name; -1 when the file cannot be opened (the
    // lock then holds within the process only), -2 on time-out.
    static int LockFile(const std::string& name, uint32_t timeoutMs);

    std::mutex m_mutex;
    std::map<std::string, Entry> m_entries;
    uint64_t m_privateCounter = 0;
};
