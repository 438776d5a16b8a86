#pragma once

#include <cstdint>
#include <string>

namespace burn {
struct burn_disc;
}

namespace ld {

class BurnDrive;
class ProgressReporter;

// Writes a prepared disc with libburn and reports the sectors written until the drive is idle
// again; a cancel answer from the callback cancels the drive and waits for it.
class DiscWriter
{
public:
    static int32_t write(BurnDrive& drive, burn::burn_disc* disc, uint64_t totalSectors,
                         ProgressReporter& progress, std::string* reason);
};

} // namespace ld
