#include "UdfDescriptors.h"

#include "ByteWriter.h"
#include "CompressedUnicode.h"
#include "DescriptorTag.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace udf {

namespace {

constexpr uint8_t osClassUnix = 4;
constexpr uint8_t osLinux = 5;
constexpr const char* implementationName = "*Portavo";
constexpr uint8_t fileTypeDirectory = 4;
constexpr uint8_t fileTypeFile = 5;
// Read for owner, group and others; directories add execute (search).
constexpr uint32_t filePermissions = 0x1084;
constexpr uint32_t directoryPermissions = 0x14a5;
constexpr uint8_t characteristicDirectory = 0x02;
constexpr uint8_t characteristicParent = 0x08;

enum class Suffix
{
    Implementation,
    Udf,
    Domain,
    None
};

void regid(uint8_t* p, const char* identifier, Suffix suffix)
{
    std::memset(p, 0, 32);
    std::memcpy(p + 1, identifier, std::strlen(identifier));
    uint8_t* s = p + 24;
    switch (suffix) {
    case Suffix::Implementation:
        s[0] = osClassUnix;
        s[1] = osLinux;
        break;
    case Suffix::Udf:
        putLe16(s, UdfDescriptors::revision);
        s[2] = osClassUnix;
        s[3] = osLinux;
        break;
    case Suffix::Domain:
        putLe16(s, UdfDescriptors::revision);
        break;
    case Suffix::None:
        break;
    }
}

void implementation(uint8_t* p)
{
    regid(p, implementationName, Suffix::Implementation);
}

void charspec(uint8_t* p)
{
    p[0] = 0; // CS0
    std::memcpy(p + 1, "OSTA Compressed Unicode", 23);
}

void longAd(uint8_t* p, uint32_t length, uint32_t block)
{
    putLe32(p, length);
    putLe32(p + 4, block);
    putLe16(p + 8, 0); // partition reference
}

std::u16string widen(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// The first 16 characters of a volume set identifier must be unique (hex digits by habit).
std::u16string volumeSetIdentifier(const Layout& layout)
{
    char unique[17];
    std::snprintf(unique, sizeof unique, "%08llX%08X", (unsigned long long)layout.createdSeconds,
                  layout.totalSectors);
    return widen(unique) + widen(layout.volumeId);
}

void finish(uint8_t* p, size_t length, uint16_t id, uint32_t location)
{
    DescriptorTag::finish(p, length, id, location);
}

} // namespace

void UdfDescriptors::timestamp(uint8_t* p, int64_t seconds, uint32_t nanoseconds)
{
    const time_t t = time_t(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    putLe16(p, 0x1000); // local time, offset 0 from UTC
    putLe16(p + 2, uint16_t(tm.tm_year + 1900));
    p[4] = uint8_t(tm.tm_mon + 1);
    p[5] = uint8_t(tm.tm_mday);
    p[6] = uint8_t(tm.tm_hour);
    p[7] = uint8_t(tm.tm_min);
    p[8] = uint8_t(tm.tm_sec);
    const uint32_t micro = nanoseconds / 1000;
    p[9] = uint8_t(micro / 10000);
    p[10] = uint8_t(micro / 100 % 100);
    p[11] = uint8_t(micro % 100);
}

void UdfDescriptors::volumeRecognition(uint8_t* p, const char* identifier)
{
    p[0] = 0;
    std::memcpy(p + 1, identifier, 5);
    p[6] = 1;
}

void UdfDescriptors::anchor(uint8_t* p, uint32_t location)
{
    putLe32(p + 16, sequenceSectors * sectorSize);
    putLe32(p + 20, mainSequence);
    putLe32(p + 24, sequenceSectors * sectorSize);
    putLe32(p + 28, reserveSequence);
    finish(p, 512, TagAnchor, location);
}

void UdfDescriptors::volumeSequence(uint8_t* sectors, uint32_t first, const Layout& layout)
{
    const std::u16string volumeId = widen(layout.volumeId);
    uint32_t number = 0;

    uint8_t* p = sectors;
    putLe32(p + 16, number++);
    CompressedUnicode::putDstring(p + 24, 32, volumeId);
    putLe16(p + 56, 1);
    putLe16(p + 58, 1);
    putLe16(p + 60, 2);
    putLe16(p + 62, 2);
    putLe32(p + 64, 1);
    putLe32(p + 68, 1);
    CompressedUnicode::putDstring(p + 72, 128, volumeSetIdentifier(layout));
    charspec(p + 200);
    charspec(p + 264);
    timestamp(p + 376, layout.createdSeconds, 0);
    implementation(p + 388);
    finish(p, 512, TagPrimaryVolume, first);

    p += sectorSize;
    putLe32(p + 16, number++);
    regid(p + 20, "*UDF LV Info", Suffix::Udf);
    charspec(p + 52);
    CompressedUnicode::putDstring(p + 116, 128, volumeId);
    implementation(p + 352);
    finish(p, 512, TagImplementationUse, first + 1);

    p += sectorSize;
    putLe32(p + 16, number++);
    putLe16(p + 20, 1); // allocated
    putLe16(p + 22, 0); // partition number
    regid(p + 24, "+NSR02", Suffix::None);
    putLe32(p + 184, 1); // read-only
    putLe32(p + 188, layout.partitionStart);
    putLe32(p + 192, layout.partitionLength());
    implementation(p + 196);
    finish(p, 512, TagPartition, first + 2);

    p += sectorSize;
    putLe32(p + 16, number++);
    charspec(p + 20);
    CompressedUnicode::putDstring(p + 84, 128, volumeId);
    putLe32(p + 212, sectorSize);
    regid(p + 216, "*OSTA UDF Compliant", Suffix::Domain);
    longAd(p + 248, sectorSize, layout.block(layout.fileSet));
    putLe32(p + 264, 6); // map table length
    putLe32(p + 268, 1); // one type 1 partition map
    implementation(p + 272);
    putLe32(p + 432, 2 * sectorSize);
    putLe32(p + 436, integritySequence);
    p[440] = 1;
    p[441] = 6;
    putLe16(p + 442, 1);
    putLe16(p + 444, 0);
    finish(p, 446, TagLogicalVolume, first + 3);

    p += sectorSize;
    putLe32(p + 16, number++);
    finish(p, 24, TagUnallocatedSpace, first + 4);

    p += sectorSize;
    finish(p, 512, TagTerminating, first + 5);
}

void UdfDescriptors::integrity(uint8_t* p, const Layout& layout)
{
    timestamp(p + 16, layout.createdSeconds, 0);
    putLe32(p + 28, 1); // closed
    putLe64(p + 40, layout.nextUniqueId);
    putLe32(p + 72, 1);  // partitions
    putLe32(p + 76, 46); // implementation use length
    putLe32(p + 80, 0);  // free blocks
    putLe32(p + 84, layout.partitionLength());
    implementation(p + 88);
    putLe32(p + 120, uint32_t(layout.files.size()));
    putLe32(p + 124, 1); // the root
    putLe16(p + 128, revision);
    putLe16(p + 130, revision);
    putLe16(p + 132, revision);
    finish(p, 134, TagIntegrity, integritySequence);
    finish(p + sectorSize, 512, TagTerminating, integritySequence + 1);
}

void UdfDescriptors::fileSet(uint8_t* p, const Layout& layout)
{
    const std::u16string volumeId = widen(layout.volumeId);
    timestamp(p + 16, layout.createdSeconds, 0);
    putLe16(p + 28, 3);
    putLe16(p + 30, 3);
    putLe32(p + 32, 1);
    putLe32(p + 36, 1);
    charspec(p + 48);
    CompressedUnicode::putDstring(p + 112, 128, volumeId);
    charspec(p + 240);
    CompressedUnicode::putDstring(p + 304, 32, volumeId);
    longAd(p + 400, sectorSize, layout.block(layout.rootEntry));
    regid(p + 416, "*OSTA UDF Compliant", Suffix::Domain);
    finish(p, 512, TagFileSet, layout.block(layout.fileSet));
    finish(p + sectorSize, 512, TagTerminating, layout.block(layout.fileSet) + 1);
}

namespace {

struct EntryFields
{
    uint8_t fileType;
    uint32_t permissions;
    uint64_t length;
    int64_t seconds;
    uint32_t nanoseconds;
    uint32_t uniqueId;
};

void entry(uint8_t* p, const Layout& layout, uint32_t sector, const EntryFields& f,
           const std::vector<FileExtent>& extents)
{
    putLe16(p + 20, 4); // strategy 4: a single direct entry
    putLe16(p + 24, 1);
    p[27] = f.fileType;
    putLe16(p + 34, 0); // short allocation descriptors
    putLe32(p + 36, 0xffffffff);
    putLe32(p + 40, 0xffffffff);
    putLe32(p + 44, f.permissions);
    putLe16(p + 48, 1);
    putLe64(p + 56, f.length);
    putLe64(p + 64, (f.length + sectorSize - 1) / sectorSize);
    UdfDescriptors::timestamp(p + 72, f.seconds, f.nanoseconds);
    UdfDescriptors::timestamp(p + 84, f.seconds, f.nanoseconds);
    UdfDescriptors::timestamp(p + 96, f.seconds, f.nanoseconds);
    putLe32(p + 108, 1);
    implementation(p + 128);
    putLe64(p + 160, f.uniqueId);
    putLe32(p + 168, 0);
    putLe32(p + 172, uint32_t(extents.size() * 8));
    uint8_t* ad = p + 176;
    for (const FileExtent& e : extents) {
        putLe32(ad, uint32_t(e.length));
        putLe32(ad + 4, layout.block(uint32_t(e.lba)));
        ad += 8;
    }
    finish(p, size_t(ad - p), TagFileEntry, layout.block(sector));
}

} // namespace

void UdfDescriptors::rootEntry(uint8_t* p, const Layout& layout)
{
    const std::vector<FileExtent> extents{{layout.rootIdentifiers, layout.rootIdentifierBytes}};
    entry(p, layout, layout.rootEntry,
          {fileTypeDirectory, directoryPermissions, layout.rootIdentifierBytes,
           layout.createdSeconds, 0, 0},
          extents);
}

void UdfDescriptors::fileEntry(uint8_t* p, const Layout& layout, size_t fileIndex)
{
    const PlannedFile& file = layout.files[fileIndex];
    entry(p, layout, file.entrySector,
          {fileTypeFile, filePermissions, file.size, file.modifiedSeconds, file.modifiedNanoseconds,
           file.uniqueId},
          LayoutPlanner::udfExtents(file));
}

size_t UdfDescriptors::identifierLength(const std::u16string& name)
{
    return (38 + CompressedUnicode::encode(name).size() + 3) / 4 * 4;
}

std::vector<uint8_t> UdfDescriptors::rootIdentifiers(const Layout& layout)
{
    std::vector<uint8_t> out;
    auto add = [&](const std::u16string& name, uint8_t characteristics, uint32_t entrySector) {
        const std::vector<uint8_t> identifier = CompressedUnicode::encode(name);
        const size_t at = out.size();
        const size_t length = identifierLength(name);
        out.resize(at + length, 0);
        uint8_t* p = out.data() + at;
        putLe16(p + 16, 1);
        p[18] = characteristics;
        p[19] = uint8_t(identifier.size());
        longAd(p + 20, sectorSize, layout.block(entrySector));
        putLe16(p + 36, 0);
        std::copy(identifier.begin(), identifier.end(), p + 38);
        finish(p, length, TagFileIdentifier,
               layout.block(layout.rootIdentifiers) + uint32_t(at / sectorSize));
    };
    add(std::u16string(), characteristicDirectory | characteristicParent, layout.rootEntry);
    for (const PlannedFile& file : layout.files)
        add(file.udfName, 0, file.entrySector);
    return out;
}

} // namespace udf
