#pragma once

#include "IRefCounted.h"
#include "StorageLibrary.h"

// The open device behind a Drive. Every copy of the Drive holds a reference; the device is
// closed when the last one goes. Counted on the controller's thread only (copies are made and
// dropped before a burn starts and after it ends).
class DrivePrivateData : public kvtl::RefCountedImpl<kvtl::IRefCounted>
{
public:
    DrivePrivateData(StorageLibrary& library, const LD_DeviceRecord& record);
    ~DrivePrivateData() override;

    DrivePrivateData(const DrivePrivateData&) = delete;
    DrivePrivateData& operator=(const DrivePrivateData&) = delete;

    const LD_DeviceRecord& Record() const { return m_record; }
    StorageLibrary& Library() const { return m_library; }

    // A record whose handle is 0 or all bits set holds no device.
    static bool HasHandle(const LD_DeviceRecord& record)
    {
        return record.words[0] != 0 && record.words[0] != 0xFFFFFFFFu;
    }

private:
    StorageLibrary& m_library;
    LD_DeviceRecord m_record;
};
