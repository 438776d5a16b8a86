#pragma once

// The 16-byte tag that heads every UDF descriptor: identifier, version, checksum, serial number,
// CRC over the descriptor body and the descriptor's own location.

#include <cstddef>
#include <cstdint>

namespace udf {

enum TagId : uint16_t
{
    TagPrimaryVolume = 1,
    TagAnchor = 2,
    TagImplementationUse = 4,
    TagPartition = 5,
    TagLogicalVolume = 6,
    TagUnallocatedSpace = 7,
    TagTerminating = 8,
    TagIntegrity = 9,
    TagFileSet = 256,
    TagFileIdentifier = 257,
    TagFileEntry = 261,
};

class DescriptorTag
{
public:
    // CRC-CCITT (polynomial 0x1021, initial value 0, no reflection) as ECMA-167 asks.
    static uint16_t crc(const uint8_t* data, size_t length);
    // Sum of the tag's bytes 0-3 and 5-15, modulo 256.
    static uint8_t checksum(const uint8_t* tag);
    // Fills the tag at `descriptor` for a descriptor of `length` bytes (tag included) recorded
    // at `location`; the body must already be in place, since the CRC covers it.
    static void finish(uint8_t* descriptor, size_t length, uint16_t id, uint32_t location);
};

} // namespace udf
