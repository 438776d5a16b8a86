#include "StorageDeviceList.h"

StorageDeviceList& StorageDeviceList::Instance()
{
    static StorageDeviceList list;
    return list;
}

void StorageDeviceList::Register(const LD_DeviceRecord& record, const std::u16string& description)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_descriptions[record.words[0]] = description;
}

void StorageDeviceList::Remove(uint32_t handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_descriptions.erase(handle);
}

std::u16string StorageDeviceList::Description(uint32_t handle) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_descriptions.find(handle);
    return it == m_descriptions.end() ? std::u16string() : it->second;
}
