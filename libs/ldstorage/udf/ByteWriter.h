#pragma once

// Little-, big- and both-endian stores into a descriptor buffer. UDF is little-endian; ISO 9660
// stores most numbers twice, little-endian then big-endian.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace udf {

inline void putLe16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

inline void putLe32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

inline void putLe64(uint8_t* p, uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

inline void putBe16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}

inline void putBe32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (24 - 8 * i));
}

inline void putBoth16(uint8_t* p, uint16_t v)
{
    putLe16(p, v);
    putBe16(p + 2, v);
}

inline void putBoth32(uint8_t* p, uint32_t v)
{
    putLe32(p, v);
    putBe32(p + 4, v);
}

inline uint16_t getLe16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

inline uint32_t getLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Copies an ASCII text into a fixed field padded with `pad`.
inline void putPadded(uint8_t* p, size_t size, const std::string& text, char pad = ' ')
{
    std::memset(p, pad, size);
    std::memcpy(p, text.data(), text.size() < size ? text.size() : size);
}

} // namespace udf
