#pragma once

#include "LDStorage.h"

// The callbacks the burner hands to the storage library, and the process-wide progress hook
// through which the running burn sees every progress report.
class StorageCallbacks
{
public:
    using Hook = int32_t (*)(const int32_t* kind, int32_t percent, LD_ProgressRecord* record,
                             void* context);

    // The progress callback of every volume call: calls the hook, logs the report, and answers
    // with the hook's answer. A request to insert a medium is refused (the wizard has no console
    // to wait on), which ends the library's operation.
    static int32_t Progress(const int32_t* kind, int32_t percent, LD_ProgressRecord* record,
                            void* context);
    // The status callback of the erase: logs the detailed status under "deviceCallbackMutex".
    // The context, when given, is the device's description (a std::u16string), for a report
    // whose handle the device list does not know.
    static int32_t Status(const LD_StatusInfo* info, void* context);

    static void InstallHook(Hook hook, void* context);
    static void ClearHook();

    // The name of a progress phase ("Write", "Verify", ...).
    static const char* PhaseName(uint32_t phase);
};
