#pragma once

#include "VolumeImage.h"

#include <string>
#include <vector>

namespace ld {

class BurnDrive;
class ProgressReporter;

// Reads every file of a written session back from the medium and compares its MD5 with the
// MD5 of its source on the hard disk.
class SessionVerifier
{
public:
    struct Result
    {
        int32_t status = 0;
        std::string reason;
        std::vector<std::string> unreadableSources;
    };

    static Result verify(BurnDrive& drive, const std::vector<VolumeEntry>& entries,
                         const std::vector<std::vector<DataSpan>>& spans,
                         ProgressReporter& progress);
};

} // namespace ld
