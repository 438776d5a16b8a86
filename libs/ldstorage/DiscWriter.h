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
    // throughIsoburn: libisoburn places the session and grows the file system in place;
    // otherwise the stream goes on the medium as it is, from its first block. imageFile: the
    // file an image burner writes (empty for a recorder), whose pages go to the disk while
    // the write runs rather than all in the sync at its end, and whose progress counts the
    // sectors that have reached the disk.
    static int32_t write(BurnDrive& drive, burn::burn_disc* disc, bool throughIsoburn,
                         uint64_t totalSectors, const std::string& imageFile,
                         ProgressReporter& progress, std::string* reason);
};

} // namespace ld
