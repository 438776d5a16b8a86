#pragma once

#include "StorageLibrary.h"

// Holds exclusive access to a recorder for its scope. A failed take is logged and the burn goes
// on; the access is given back in any case when the scope ends.
class ExclusiveAccess
{
public:
    ExclusiveAccess(StorageLibrary& library, LD_DeviceRecord& record);
    virtual ~ExclusiveAccess();

    ExclusiveAccess(const ExclusiveAccess&) = delete;
    ExclusiveAccess& operator=(const ExclusiveAccess&) = delete;

    int32_t Status() const { return m_status; }

private:
    int32_t Call(uint32_t mode);

    StorageLibrary& m_library;
    LD_DeviceRecord& m_record;
    int32_t m_status = 0;
};
