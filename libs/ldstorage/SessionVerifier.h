#pragma once

#include "VolumeImage.h"

#include <string>
#include <vector>

namespace ld {

class BurnDrive;
class ProgressReporter;

// Reads every file of a written session back from the medium and compares its digest with the
// digest of its source: the one the write took as it read the source, while the file on disk is
// still that version, else one read from the hard disk beside the read-back.
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
                         const std::vector<udf::SourceRead>& reads,
                         const std::vector<std::vector<DataSpan>>& spans,
                         ProgressReporter& progress);
};

} // namespace ld
