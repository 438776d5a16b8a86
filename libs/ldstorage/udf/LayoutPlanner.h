#pragma once

// Where everything of a bridge image lies. Sector numbers are absolute (2048-byte sectors from
// the start of the image); UDF addresses the same sectors relative to the partition start.
//
//   0-15     system area (zeros)
//   16-18    ISO 9660 primary, Joliet supplementary, terminator
//   19-21    BEA01, NSR02, TEA01
//   32-47    UDF main volume descriptor sequence; 48-63 its reserve copy
//   64-65    logical volume integrity descriptor (closed) and terminator
//   66...    ISO and Joliet path tables and root directories (in the partition, after the
//            root identifiers, when there are too many files for this gap)
//   256      anchor; the partition starts at 257 (or up to 15 sectors later, so that the
//            image is a whole number of 16-sector blocks) and ends before the last sector
//   257...   file set descriptor and terminator, root file entry, root identifiers,
//            one file entry a file, then the file data, each file from a fresh sector,
//            shared by both sides
//   last     second anchor

#include "UdfBridgeImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace udf {

constexpr uint32_t sectorSize = 2048;
// UDF extent lengths have 30 bits; all but the last extent are whole sectors.
constexpr uint64_t maxUdfExtent = (uint64_t(1) << 30) - sectorSize;
// ISO 9660 data lengths have 32 bits.
constexpr uint64_t maxIsoExtent = (uint64_t(1) << 32) - sectorSize;

struct PlannedFile
{
    std::string path;
    std::u16string name;
    uint64_t size = 0;
    int64_t modifiedSeconds = 0;
    uint32_t modifiedNanoseconds = 0;

    std::u16string udfName;
    std::u16string jolietName;
    std::string isoName;
    uint32_t entrySector = 0;
    uint32_t dataSector = 0;
    uint32_t uniqueId = 0;

    uint64_t sectors() const { return (size + sectorSize - 1) / sectorSize; }
};

struct Layout
{
    std::vector<PlannedFile> files;
    std::vector<size_t> isoOrder;    // files in ISO directory order
    std::vector<size_t> jolietOrder; // files in Joliet directory order
    std::string volumeId;
    int64_t createdSeconds = 0;

    uint32_t partitionStart = 0;
    uint32_t fileSet = 0;
    uint32_t rootEntry = 0;
    uint32_t rootIdentifiers = 0;
    uint32_t rootIdentifierBytes = 0;
    uint32_t isoPathTableL = 0;
    uint32_t isoPathTableM = 0;
    uint32_t jolietPathTableL = 0;
    uint32_t jolietPathTableM = 0;
    uint32_t isoRoot = 0;
    uint32_t isoRootBytes = 0;
    uint32_t jolietRoot = 0;
    uint32_t jolietRootBytes = 0;
    uint32_t firstEntry = 0;
    uint32_t firstData = 0;
    uint32_t endData = 0;
    uint32_t totalSectors = 0;
    uint32_t nextUniqueId = 0;

    uint32_t partitionLength() const { return totalSectors - 1 - partitionStart; }
    uint32_t block(uint32_t sector) const { return sector - partitionStart; }
};

class LayoutPlanner
{
public:
    // Largest file one file entry can describe with short allocation descriptors.
    static uint64_t maxFileSize();

    // Names every file on each side and places every structure; files must carry path, name,
    // size and time.
    static Layout plan(std::vector<PlannedFile> files, const std::string& volumeId,
                       int64_t createdSeconds);

    // Cuts `size` bytes starting at `firstSector` into extents of at most `maxExtent` bytes.
    static std::vector<FileExtent> split(uint64_t firstSector, uint64_t size, uint64_t maxExtent);
    static std::vector<FileExtent> udfExtents(const PlannedFile& file);
    // One extent below 4 GiB, else a multi-extent chain.
    static std::vector<FileExtent> isoExtents(const PlannedFile& file);

    // Sectors 0 up to the first file entry: every volume structure, both directories.
    static std::vector<uint8_t> header(const Layout& layout);

private:
    // Places every structure and file from the partition start on.
    static void place(Layout& layout, uint32_t partitionStart);
};

} // namespace udf
