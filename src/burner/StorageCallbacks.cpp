#include "StorageCallbacks.h"

#include "BurnerLog.h"
#include "NamedMutex.h"
#include "StorageDeviceList.h"
#include "StorageStatus.h"

#include <mutex>

namespace {

std::mutex g_hookMutex;
StorageCallbacks::Hook g_hook = nullptr;
void* g_hookContext = nullptr;

const char* const kDashes = "------------------------------------------------------------";

} // namespace

void StorageCallbacks::InstallHook(Hook hook, void* context)
{
    std::lock_guard<std::mutex> lock(g_hookMutex);
    g_hook = hook;
    g_hookContext = context;
}

void StorageCallbacks::ClearHook()
{
    InstallHook(nullptr, nullptr);
}

const char* StorageCallbacks::PhaseName(uint32_t phase)
{
    static const char* const names[] = {"Progress", "Format", "Mount", "Plan",
                                        "Write",    "Close",  "Verify"};
    return phase < sizeof names / sizeof names[0] ? names[phase] : "Unknown";
}

int32_t StorageCallbacks::Progress(const int32_t* kind, int32_t percent, LD_ProgressRecord* record,
                                   void* /*context*/)
{
    Hook hook = nullptr;
    void* hookContext = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_hookMutex);
        hook = g_hook;
        hookContext = g_hookContext;
    }
    const int32_t answer = hook ? hook(kind, percent, record, hookContext) : 0;

    const int32_t reportKind = kind ? *kind : 0;
    if (reportKind == LD_ReportProgress && record) {
        BurnerLog line;
        line << "Device: " << record->deviceHandle << " " << PhaseName(record->phase) << " "
             << percent << "% complete";
        if (record->totalSectors > 0)
            line << " (" << record->currentSector << " of " << record->totalSectors << " sectors)";
    }
    if (reportKind == LD_ReportProgress && record && record->errorCode != 0) {
        BurnerLog() << "Error: " << StorageStatus::Text(int32_t(record->errorCode)) << " "
                    << StorageDeviceList::Instance().Description(record->deviceHandle);
    }
    if (reportKind == LD_ReportInsertMedium || reportKind == LD_ReportInsertNextMedium) {
        BurnerLog() << (reportKind == LD_ReportInsertMedium
                            ? "Insert media into the device, then press <enter>"
                            : "Insert next media into the device, then press <enter>");
        // Nobody can answer: the wizard has no console. Stop the operation instead of waiting.
        BurnerLog() << "No console to wait on: medium request refused";
        return LD_UserCancelled;
    }
    return answer != 0 ? answer : 0;
}

int32_t StorageCallbacks::Status(const LD_StatusInfo* info, void* context)
{
    NamedMutex& mutex = NamedMutex::DeviceCallbackMutex();
    mutex.Lock();
    if (info) {
        BurnerLog() << kDashes;
        BurnerLog() << "Detailed Status Info:";
        BurnerLog() << kDashes;
        BurnerLog() << "Device ID is: " << info->deviceHandle;
        BurnerLog() << "Status of this media is: " << StorageStatus::Text(info->mediaStatus);
        BurnerLog() << "Current operation is: " << PhaseName(info->operation);
        std::u16string description = StorageDeviceList::Instance().Description(info->deviceHandle);
        if (description.empty() && context)
            description = *static_cast<const std::u16string*>(context);
        BurnerLog() << "Device Path/Description is: " << description;
        BurnerLog() << " CurrentBlock = " << info->currentBlock
                    << " out of Total = " << info->totalBlocks;
        BurnerLog() << " Read errors = " << info->readErrors
                    << " Miscompares = " << info->miscompares;
        BurnerLog() << "Current Speed: " << info->speedKbps << " kbps";
        BurnerLog() << "Progress: " << info->percent << "% complete";
    }
    mutex.Unlock();
    return 0;
}
