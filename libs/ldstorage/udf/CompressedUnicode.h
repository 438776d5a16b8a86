#pragma once

// OSTA compressed Unicode: a compression-id byte (8: one byte a character, 16: two bytes a
// character, big-endian) followed by the characters. File identifiers use it bare; fixed fields
// (dstrings) add the used length in their last byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace udf {

class CompressedUnicode
{
public:
    // Longest file identifier a file identifier descriptor holds, in bytes.
    static constexpr size_t maxIdentifierBytes = 255;

    static bool fitsEightBit(const std::u16string& text);
    // Compression id and characters; empty for an empty text.
    static std::vector<uint8_t> encode(const std::u16string& text);
    // How many characters of `text` an identifier of `bytes` bytes holds.
    static size_t capacity(const std::u16string& text, size_t bytes);
    // A dstring field of `size` bytes: the text cut to fit, zero padding, length in the last byte.
    static void putDstring(uint8_t* field, size_t size, const std::u16string& text);
};

} // namespace udf
