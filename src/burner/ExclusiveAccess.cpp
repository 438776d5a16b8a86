#include "ExclusiveAccess.h"

#include "BurnerLog.h"
#include "StorageStatus.h"

namespace {
constexpr uint32_t kTake = 1;
constexpr uint32_t kRelease = 3;
constexpr char kOwner[] = "LD_Storage";
constexpr uint32_t kOwnerUnits = 128;
} // namespace

ExclusiveAccess::ExclusiveAccess(StorageLibrary& library, LD_DeviceRecord& record)
    : m_library(library), m_record(record)
{
    m_status = Call(kTake);
    if (m_status == LD_OK)
        BurnerLog() << "Done setting exclusive access\n";
    else
        StorageStatus::LogError(m_status, &m_library, &m_record);
}

ExclusiveAccess::~ExclusiveAccess()
{
    const int32_t released = Call(kRelease);
    if (released == LD_OK)
        BurnerLog() << "Done releasing exclusive access\n";
    else
        StorageStatus::LogError(released, &m_library, &m_record);
}

int32_t ExclusiveAccess::Call(uint32_t mode)
{
    const LD_Text owner{LD_Text8, sizeof kOwner, kOwner};
    char16_t current[kOwnerUnits] = {};
    LD_Text currentOwner{LD_Text16, kOwnerUnits, current};
    return m_library.ExclusiveAccess(&m_record, mode, &owner, &currentOwner);
}
