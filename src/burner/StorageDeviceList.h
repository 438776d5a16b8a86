#pragma once

#include "LDStorage.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

// The open devices of the process with their descriptions, by handle. The library's callbacks
// carry only a handle; their log lines name the device through this list.
class StorageDeviceList
{
public:
    static StorageDeviceList& Instance();

    void Register(const LD_DeviceRecord& record, const std::u16string& description);
    void Remove(uint32_t handle);
    // Empty when the handle is not listed.
    std::u16string Description(uint32_t handle) const;

private:
    StorageDeviceList() = default;

    mutable std::mutex m_mutex;
    std::map<uint32_t, std::u16string> m_descriptions;
};
