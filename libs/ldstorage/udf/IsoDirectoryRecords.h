#pragma once

// The ISO 9660 side of the bridge: primary and Joliet volume descriptors, path tables and the
// root directory. A file of 4 GiB or more gets one record per extent, every record but the last
// flagged multi-extent (level 3), so ISO readers see the whole file.

#include "UdfBridgeImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace udf {

class IsoDirectoryRecords
{
public:
    struct Entry
    {
        std::vector<uint8_t> identifier; // d-characters, or UCS-2 big-endian for Joliet
        std::vector<FileExtent> extents;
        int64_t seconds = 0;
    };

    struct Volume
    {
        bool joliet = false;
        std::string volumeId;
        uint32_t totalSectors = 0;
        uint32_t pathTableL = 0;
        uint32_t pathTableM = 0;
        uint32_t rootSector = 0;
        uint32_t rootBytes = 0;
        int64_t createdSeconds = 0;
    };

    static std::vector<uint8_t> joliet(const std::u16string& name);
    static std::vector<uint8_t> ascii(const std::string& name);

    // The root directory: ".", "..", then the entries in the order given. Records never cross
    // a sector; the result is whole sectors.
    static std::vector<uint8_t> rootDirectory(const std::vector<Entry>& entries,
                                              uint32_t selfSector, uint32_t selfBytes,
                                              int64_t createdSeconds);
    // A path table holding the root only, in one sector.
    static std::vector<uint8_t> pathTable(uint32_t rootSector, bool bigEndian);
    static void volumeDescriptor(uint8_t* sector, const Volume& volume);
    static void terminator(uint8_t* sector);
    // True when `a` sorts before `b` in a directory (name, then extension, space padded).
    static bool sortsBefore(const std::u16string& a, const std::u16string& b);

    static void recordTime(uint8_t* p, int64_t seconds);
};

} // namespace udf
