#include "VolumeProbe.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "LDStorage.h"

#include <cstring>
#include <vector>

namespace ld {

uint32_t probeFileSystems(BurnDrive& drive)
{
    int sessionStart = 0;
    if (isoburn_disc_get_msc1(drive.drive(), &sessionStart) <= 0)
        sessionStart = 0;
    // Blocks 16 to 31 of the session: ISO 9660 descriptors, then the UDF recognition sequence.
    std::vector<char> blocks(16 * 2048);
    off_t got = 0;
    if (burn_read_data(drive.drive(), off_t(sessionStart + 16) * 2048, blocks.data(),
                       off_t(blocks.size()), &got, 2) <= 0)
        return 0;
    uint32_t found = 0;
    for (off_t at = 0; at + 2048 <= got; at += 2048) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(blocks.data() + at);
        const char* id = reinterpret_cast<const char*>(b + 1);
        if (std::memcmp(id, "CD001", 5) == 0) {
            if (b[0] == 1)
                found |= LD_FsIsoLevel2Long;
            // A supplementary descriptor with a UCS-2 escape sequence is Joliet.
            if (b[0] == 2 && b[88] == '%' && b[89] == '/' &&
                (b[90] == '@' || b[90] == 'C' || b[90] == 'E'))
                found |= LD_FsJoliet;
        } else if (std::memcmp(id, "NSR02", 5) == 0) {
            found |= LD_FsUdf15;
        } else if (std::memcmp(id, "NSR03", 5) == 0) {
            found |= 0x1000; // UDF 2.0 and later
        }
    }
    return found;
}

} // namespace ld
