#pragma once

// The UDF 1.50 descriptors of a bridge image, each written into a zeroed sector buffer with its
// tag, CRC and checksum. Locations of volume structures are absolute sectors; those inside the
// partition (file set, entries, identifiers) are partition blocks.

#include "LayoutPlanner.h"

#include <cstdint>
#include <string>
#include <vector>

namespace udf {

class UdfDescriptors
{
public:
    static constexpr uint32_t mainSequence = 32;
    static constexpr uint32_t reserveSequence = 48;
    static constexpr uint32_t sequenceSectors = 16;
    static constexpr uint32_t integritySequence = 64;
    static constexpr uint32_t anchorSector = 256;
    static constexpr uint16_t revision = 0x0150;

    static void volumeRecognition(uint8_t* sector, const char* identifier);
    static void anchor(uint8_t* sector, uint32_t location);
    // One volume descriptor sequence (main or reserve) of six descriptors from `first` on.
    static void volumeSequence(uint8_t* sectors, uint32_t first, const Layout& layout);
    static void integrity(uint8_t* sectors, const Layout& layout);
    // File set descriptor and its terminator.
    static void fileSet(uint8_t* sectors, const Layout& layout);
    static void rootEntry(uint8_t* sector, const Layout& layout);
    static void fileEntry(uint8_t* sector, const Layout& layout, size_t fileIndex);
    // The root directory's file identifier descriptors, parent first.
    static std::vector<uint8_t> rootIdentifiers(const Layout& layout);
    static size_t identifierLength(const std::u16string& name);

    static void timestamp(uint8_t* p, int64_t seconds, uint32_t nanoseconds);
};

} // namespace udf
