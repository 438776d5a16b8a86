#pragma once

#include "StorageLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

// Scope owner of one device record of the storage library, with typed property queries. When it
// owns the device (it opened it, or was given it with owns set) its destructor closes it.
class LDDevice
{
public:
    explicit LDDevice(StorageLibrary& library);
    LDDevice(StorageLibrary& library, const LD_DeviceRecord& record, bool owns);
    virtual ~LDDevice();

    LDDevice(const LDDevice&) = delete;
    LDDevice& operator=(const LDDevice&) = delete;

    // Opens recorder number index (from 1), closing any device held before. Failures are logged.
    int32_t Open(uint32_t index);
    // Moves the record out; this object then holds none.
    LD_DeviceRecord Detach();
    // Closes what it holds and takes record, owning it.
    void Attach(const LD_DeviceRecord& record);

    LD_DeviceRecord& Record() { return m_record; }
    bool HasHandle() const;
    // Status of the last query.
    int32_t Status() const { return m_status; }

    int32_t DeviceValue(uint32_t id, uint32_t& value) { return Value(false, id, value); }
    int32_t DeviceValue64(uint32_t id, uint64_t& value) { return Value(false, id, value); }
    int32_t DeviceText(uint32_t id, std::u16string& text);
    int32_t MediaValue(uint32_t id, uint32_t& value) { return Value(true, id, value); }
    int32_t MediaValue64(uint32_t id, uint64_t& value) { return Value(true, id, value); }
    // Up to maxCount 32-bit entries of an array property.
    int32_t MediaArray(uint32_t id, uint32_t maxCount, std::vector<uint32_t>& values);
    int32_t State(uint32_t& state);
    int32_t Tray(uint32_t command);

private:
    void CloseHeld();
    int32_t Query(bool media, uint32_t id, uint32_t size, void* value, uint32_t* outSize);
    template <class T> int32_t Value(bool media, uint32_t id, T& value)
    {
        uint32_t size = sizeof value;
        return Query(media, id, sizeof value, &value, &size);
    }

    StorageLibrary& m_library;
    LD_DeviceRecord m_record{};
    int32_t m_status = 0;
    bool m_owns = false;
};
