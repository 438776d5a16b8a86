#include "DescriptorTag.h"

#include "ByteWriter.h"

#include <array>

namespace udf {

namespace {

constexpr std::array<uint16_t, 256> makeCrcTable()
{
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t c = uint16_t(i << 8);
        for (int b = 0; b < 8; ++b)
            c = (c & 0x8000) ? uint16_t((c << 1) ^ 0x1021) : uint16_t(c << 1);
        table[i] = c;
    }
    return table;
}

constexpr auto crcTable = makeCrcTable();

// UDF 1.50 descriptors carry version 2 (the NSR02 structures).
constexpr uint16_t descriptorVersion = 2;
constexpr uint16_t tagSerialNumber = 1;

} // namespace

uint16_t DescriptorTag::crc(const uint8_t* data, size_t length)
{
    uint16_t c = 0;
    for (size_t i = 0; i < length; ++i)
        c = uint16_t((c << 8) ^ crcTable[((c >> 8) ^ data[i]) & 0xff]);
    return c;
}

uint8_t DescriptorTag::checksum(const uint8_t* tag)
{
    unsigned sum = 0;
    for (int i = 0; i < 16; ++i)
        if (i != 4)
            sum += tag[i];
    return uint8_t(sum);
}

void DescriptorTag::finish(uint8_t* descriptor, size_t length, uint16_t id, uint32_t location)
{
    putLe16(descriptor, id);
    putLe16(descriptor + 2, descriptorVersion);
    descriptor[5] = 0;
    putLe16(descriptor + 6, tagSerialNumber);
    const size_t bodyLength = length - 16;
    putLe16(descriptor + 8, crc(descriptor + 16, bodyLength));
    putLe16(descriptor + 10, uint16_t(bodyLength));
    putLe32(descriptor + 12, location);
    descriptor[4] = checksum(descriptor);
}

} // namespace udf
