#pragma once

#include <cstdint>

namespace ld {

class BurnDrive;

// The file systems of the last session on a medium, as LD_FileSystem bits (0 for none): ISO
// 9660 and Joliet from the volume descriptors, UDF from the volume recognition sequence.
uint32_t probeFileSystems(BurnDrive& drive);

} // namespace ld
