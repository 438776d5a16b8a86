#include "LDDevice.h"

#include "BurnerLog.h"
#include "DrivePrivateData.h"
#include "StorageDeviceList.h"
#include "StorageStatus.h"

namespace {
// Room for a description or a path, in UTF-16 units.
constexpr uint32_t kTextUnits = 1024;
} // namespace

LDDevice::LDDevice(StorageLibrary& library) : m_library(library) {}

LDDevice::LDDevice(StorageLibrary& library, const LD_DeviceRecord& record, bool owns)
    : m_library(library), m_record(record), m_owns(owns)
{
}

LDDevice::~LDDevice()
{
    CloseHeld();
}

bool LDDevice::HasHandle() const
{
    return DrivePrivateData::HasHandle(m_record);
}

void LDDevice::CloseHeld()
{
    if (m_owns && HasHandle())
        m_library.CloseDevice(&m_record);
    m_record = LD_DeviceRecord{};
    m_owns = false;
}

int32_t LDDevice::Open(uint32_t index)
{
    if (HasHandle()) {
        const int32_t closed = m_owns ? m_library.CloseDevice(&m_record) : LD_OK;
        if (closed != LD_OK) {
            BurnerLog() << "Failed to close old device with code: [" << closed
                        << " ]. Continuing to open new device ...";
        }
        m_record = LD_DeviceRecord{};
    }
    uint32_t opticalCount = 0;
    m_library.GetStorageDeviceCount(LD_ClassOpticalTape, &opticalCount);
    BurnerLog() << "We found " << opticalCount << " optical and/or tape drive(s)";

    m_status = m_library.OpenStorageDevice(index, &m_record);
    if (m_status != LD_OK) {
        StorageStatus::LogError(m_status);
        m_record = LD_DeviceRecord{};
        return m_status;
    }
    m_owns = true;
    std::u16string description;
    DeviceText(LD_DevDescription, description);
    StorageDeviceList::Instance().Register(m_record, description);
    m_status = LD_OK;
    return m_status;
}

LD_DeviceRecord LDDevice::Detach()
{
    const LD_DeviceRecord record = m_record;
    m_record = LD_DeviceRecord{};
    m_owns = false;
    return record;
}

void LDDevice::Attach(const LD_DeviceRecord& record)
{
    CloseHeld();
    m_record = record;
    m_owns = true;
}

int32_t LDDevice::Query(bool media, uint32_t id, uint32_t size, void* value, uint32_t* outSize)
{
    m_status = media ? m_library.GetMediaProperty(&m_record, id, size, value, outSize)
                     : m_library.GetDeviceProperty(&m_record, id, size, value, outSize);
    return m_status;
}

int32_t LDDevice::DeviceText(uint32_t id, std::u16string& text)
{
    std::u16string buffer(kTextUnits, u'\0');
    uint32_t size = kTextUnits * sizeof(char16_t);
    text.clear();
    if (Query(false, id, size, buffer.data(), &size) == LD_OK)
        text.assign(buffer.c_str());
    return m_status;
}

int32_t LDDevice::MediaArray(uint32_t id, uint32_t maxCount, std::vector<uint32_t>& values)
{
    values.assign(maxCount, 0);
    uint32_t size = maxCount * sizeof(uint32_t);
    if (Query(true, id, size, values.data(), &size) != LD_OK) {
        values.clear();
        return m_status;
    }
    // The library says how much it filled; never trust it beyond the buffer.
    if (size / sizeof(uint32_t) < maxCount)
        values.resize(size / sizeof(uint32_t));
    return m_status;
}

int32_t LDDevice::State(uint32_t& state)
{
    return m_status = m_library.GetState(&m_record, &state);
}

int32_t LDDevice::Tray(uint32_t command)
{
    return m_status = m_library.TrayControl(&m_record, command);
}
