#pragma once

#include <cstdint>
#include <string>

// Name of the system-wide mutex that guards the storage library's shared
// progress record; every use opens, waits, works, releases and closes.
constexpr const char* kStorageAccessMutexName = "LumadiscAPI";
// Name of the mutex the device-change callback holds while it runs.
constexpr const char* kDeviceCallbackMutexName = "deviceCallbackMutex";

// A mutex shared by every process of the user under one name (a flock on a
// lock file in the runtime directory; a killed holder releases it) and by the
// threads of this process. The owning thread may lock it again; it is free
// once unlocked as often as locked. An empty name gives a mutex private to
// this object.
class NamedMutex
{
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

    explicit NamedMutex(const std::string& name);
    // Gives back whatever the owning thread still holds through this object.
    virtual ~NamedMutex();

    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Waits up to timeoutMs (kInfinite: no limit). True when held.
    bool Lock(uint32_t timeoutMs = kInfinite);
    // False when the calling thread does not hold the mutex through this object.
    bool Unlock();

    const std::string& Name() const { return m_name; }

    // The process-wide "deviceCallbackMutex", made on first use and kept for
    // the life of the process.
    static NamedMutex& DeviceCallbackMutex();

private:
    std::string m_name;
    std::string m_handle; // the registry's key
    int m_heldCount = 0;
};
