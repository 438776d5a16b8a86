#include "LayoutPlanner.h"

#include "DiscNames.h"

#include "IsoDirectoryRecords.h"
#include "UdfDescriptors.h"

#include <algorithm>
#include <numeric>

namespace udf {

namespace {

// UDF reserves unique ids 1-15; the root has 0.
constexpr uint32_t firstFileUniqueId = 16;
constexpr size_t entryHeaderBytes = 176;
constexpr size_t shortAdBytes = 8;
constexpr uint32_t firstPartitionSector = 257;
constexpr uint32_t blockSectors = 16;
// First sector after the integrity sequence.
constexpr uint32_t isoGapStart = 66;

uint32_t sectorsFor(uint64_t bytes)
{
    return uint32_t((bytes + sectorSize - 1) / sectorSize);
}

std::vector<IsoDirectoryRecords::Entry> isoEntries(const Layout& layout, bool joliet)
{
    std::vector<IsoDirectoryRecords::Entry> entries;
    for (size_t i : joliet ? layout.jolietOrder : layout.isoOrder) {
        const PlannedFile& f = layout.files[i];
        entries.push_back({joliet ? IsoDirectoryRecords::joliet(f.jolietName)
                                  : IsoDirectoryRecords::ascii(f.isoName),
                           LayoutPlanner::isoExtents(f), f.modifiedSeconds});
    }
    return entries;
}

std::vector<size_t> directoryOrder(const std::vector<std::u16string>& names)
{
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return IsoDirectoryRecords::sortsBefore(names[a], names[b]);
    });
    return order;
}

} // namespace

uint64_t LayoutPlanner::maxFileSize()
{
    return (sectorSize - entryHeaderBytes) / shortAdBytes * maxUdfExtent;
}

std::vector<FileExtent> LayoutPlanner::split(uint64_t firstSector, uint64_t size,
                                             uint64_t maxExtent)
{
    std::vector<FileExtent> extents;
    for (uint64_t done = 0; done < size;) {
        const uint64_t length = std::min(maxExtent, size - done);
        extents.push_back({firstSector + done / sectorSize, length});
        done += length;
    }
    return extents;
}

std::vector<FileExtent> LayoutPlanner::udfExtents(const PlannedFile& file)
{
    return split(file.dataSector, file.size, maxUdfExtent);
}

std::vector<FileExtent> LayoutPlanner::isoExtents(const PlannedFile& file)
{
    // One record takes up to 32 bits of length; only bigger files need a multi-extent chain.
    return split(file.dataSector, file.size, file.size <= UINT32_MAX ? file.size : maxIsoExtent);
}

Layout LayoutPlanner::plan(std::vector<PlannedFile> files, const std::string& volumeId,
                           int64_t createdSeconds)
{
    Layout layout;
    layout.volumeId = volumeId;
    layout.createdSeconds = createdSeconds;
    layout.files = std::move(files);

    std::vector<std::u16string> names;
    for (const PlannedFile& f : layout.files)
        names.push_back(f.name);
    const std::vector<std::u16string> udfNames = DiscNames::udfNames(names);
    const std::vector<std::u16string> jolietNames = DiscNames::jolietNames(names);
    const std::vector<std::string> isoNames = DiscNames::isoNames(names);
    std::vector<std::u16string> isoWide;
    for (size_t i = 0; i < layout.files.size(); ++i) {
        PlannedFile& f = layout.files[i];
        f.udfName = udfNames[i];
        f.jolietName = jolietNames[i];
        f.isoName = isoNames[i];
        f.uniqueId = firstFileUniqueId + uint32_t(i);
        isoWide.emplace_back(f.isoName.begin(), f.isoName.end());
    }
    layout.isoOrder = directoryOrder(isoWide);
    layout.jolietOrder = directoryOrder(jolietNames);
    layout.nextUniqueId = firstFileUniqueId + uint32_t(layout.files.size());

    place(layout, firstPartitionSector);
    // A whole number of 16-sector blocks (a DVD's ECC block, libburn's 32 KiB write chunk) keeps
    // the closing anchor on the last sector even where the recorder pads. The padding goes
    // before the partition: UDF readers take unused sectors at its end for trailing garbage.
    if (const uint32_t odd = layout.totalSectors % blockSectors)
        place(layout, firstPartitionSector + blockSectors - odd);
    return layout;
}

void LayoutPlanner::place(Layout& layout, uint32_t partitionStart)
{
    layout.partitionStart = partitionStart;
    uint32_t next = layout.partitionStart;
    layout.fileSet = next;
    next += 2;
    layout.rootEntry = next++;
    layout.rootIdentifiers = next;
    layout.rootIdentifierBytes = uint32_t(UdfDescriptors::identifierLength(std::u16string()));
    for (const PlannedFile& f : layout.files)
        layout.rootIdentifierBytes += uint32_t(UdfDescriptors::identifierLength(f.udfName));
    next += sectorsFor(layout.rootIdentifierBytes);

    // The ISO 9660 structures go in the gap before the anchor when they fit, so that the UDF
    // structures and the data run up to the closing anchor (7-Zip takes anything the UDF side
    // does not use before it as trailing garbage). Directory sizes depend on names and extent
    // counts only, not on where the files lie.
    const uint32_t isoRootSectors =
        sectorsFor(IsoDirectoryRecords::rootDirectory(isoEntries(layout, false), 0, 0, 0).size());
    const uint32_t jolietRootSectors =
        sectorsFor(IsoDirectoryRecords::rootDirectory(isoEntries(layout, true), 0, 0, 0).size());
    const uint32_t isoSectors = 4 + isoRootSectors + jolietRootSectors;
    uint32_t iso = isoGapStart;
    if (iso + isoSectors > UdfDescriptors::anchorSector) {
        iso = next;
        next += isoSectors;
    }
    layout.isoPathTableL = iso++;
    layout.isoPathTableM = iso++;
    layout.jolietPathTableL = iso++;
    layout.jolietPathTableM = iso++;
    layout.isoRoot = iso;
    layout.isoRootBytes = isoRootSectors * sectorSize;
    layout.jolietRoot = iso + isoRootSectors;
    layout.jolietRootBytes = jolietRootSectors * sectorSize;

    layout.firstEntry = next;
    for (PlannedFile& f : layout.files)
        f.entrySector = next++;
    layout.firstData = next;
    uint64_t data = next;
    for (PlannedFile& f : layout.files) {
        // An empty file has no extent; ISO and UDF readers both accept sector 0 for it.
        f.dataSector = f.size == 0 ? 0 : uint32_t(data);
        data += f.sectors();
    }
    layout.endData = uint32_t(data);
    layout.totalSectors = layout.endData + 1;
}

std::vector<uint8_t> LayoutPlanner::header(const Layout& layout)
{
    std::vector<uint8_t> out(size_t(layout.firstEntry) * sectorSize, 0);
    auto at = [&](uint32_t sector) { return out.data() + size_t(sector) * sectorSize; };

    IsoDirectoryRecords::Volume iso;
    iso.volumeId = layout.volumeId;
    iso.totalSectors = layout.totalSectors;
    iso.pathTableL = layout.isoPathTableL;
    iso.pathTableM = layout.isoPathTableM;
    iso.rootSector = layout.isoRoot;
    iso.rootBytes = layout.isoRootBytes;
    iso.createdSeconds = layout.createdSeconds;
    IsoDirectoryRecords::volumeDescriptor(at(16), iso);
    iso.joliet = true;
    iso.pathTableL = layout.jolietPathTableL;
    iso.pathTableM = layout.jolietPathTableM;
    iso.rootSector = layout.jolietRoot;
    iso.rootBytes = layout.jolietRootBytes;
    IsoDirectoryRecords::volumeDescriptor(at(17), iso);
    IsoDirectoryRecords::terminator(at(18));

    UdfDescriptors::volumeRecognition(at(19), "BEA01");
    UdfDescriptors::volumeRecognition(at(20), "NSR02");
    UdfDescriptors::volumeRecognition(at(21), "TEA01");
    UdfDescriptors::volumeSequence(at(UdfDescriptors::mainSequence), UdfDescriptors::mainSequence,
                                   layout);
    UdfDescriptors::volumeSequence(at(UdfDescriptors::reserveSequence),
                                   UdfDescriptors::reserveSequence, layout);
    UdfDescriptors::integrity(at(UdfDescriptors::integritySequence), layout);
    UdfDescriptors::anchor(at(UdfDescriptors::anchorSector), UdfDescriptors::anchorSector);

    UdfDescriptors::fileSet(at(layout.fileSet), layout);
    UdfDescriptors::rootEntry(at(layout.rootEntry), layout);
    const std::vector<uint8_t> identifiers = UdfDescriptors::rootIdentifiers(layout);
    std::copy(identifiers.begin(), identifiers.end(), at(layout.rootIdentifiers));

    auto copy = [&](uint32_t sector, const std::vector<uint8_t>& bytes) {
        std::copy(bytes.begin(), bytes.end(), at(sector));
    };
    copy(layout.isoPathTableL, IsoDirectoryRecords::pathTable(layout.isoRoot, false));
    copy(layout.isoPathTableM, IsoDirectoryRecords::pathTable(layout.isoRoot, true));
    copy(layout.jolietPathTableL, IsoDirectoryRecords::pathTable(layout.jolietRoot, false));
    copy(layout.jolietPathTableM, IsoDirectoryRecords::pathTable(layout.jolietRoot, true));
    copy(layout.isoRoot,
         IsoDirectoryRecords::rootDirectory(isoEntries(layout, false), layout.isoRoot,
                                            layout.isoRootBytes, layout.createdSeconds));
    copy(layout.jolietRoot,
         IsoDirectoryRecords::rootDirectory(isoEntries(layout, true), layout.jolietRoot,
                                            layout.jolietRootBytes, layout.createdSeconds));
    return out;
}

} // namespace udf
