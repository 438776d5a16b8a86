#pragma once

#include "LDStorage.h"

#include <cstdint>

namespace ld {

// Sends progress reports (kind 1) through a caller's callback and remembers a cancel answer.
class ProgressReporter
{
public:
    ProgressReporter(LD_ProgressCallback callback, void* context, uint32_t deviceHandle);

    // One report; false when the callback answered with a cancel (now or before).
    bool report(LD_Phase phase, uint64_t current, uint64_t total, int32_t error = LD_OK);
    bool cancelled() const { return cancelled_; }

private:
    LD_ProgressCallback callback_;
    void* context_;
    uint32_t deviceHandle_;
    bool cancelled_ = false;
};

} // namespace ld
