#include "ProgressReporter.h"

#include <algorithm>

namespace ld {

ProgressReporter::ProgressReporter(LD_ProgressCallback callback, void* context,
                                   uint32_t deviceHandle)
    : callback_(callback), context_(context), deviceHandle_(deviceHandle)
{
}

bool ProgressReporter::report(LD_Phase phase, uint64_t current, uint64_t total, int32_t error)
{
    if (!callback_)
        return !cancelled_;
    LD_ProgressRecord record = {};
    record.size = sizeof record;
    record.totalSectors = uint32_t(std::min<uint64_t>(total, UINT32_MAX));
    record.currentSector = uint32_t(std::min<uint64_t>(current, record.totalSectors));
    record.phase = phase;
    record.errorCode = uint32_t(error);
    record.deviceHandle = deviceHandle_;
    const int32_t kind = LD_ReportProgress;
    const int32_t percent = total ? int32_t(std::min<uint64_t>(100, current * 100 / total)) : 0;
    if (callback_(&kind, percent, &record, context_) == LD_UserCancelled)
        cancelled_ = true;
    return !cancelled_;
}

} // namespace ld
