#include "CompressedUnicode.h"

#include <algorithm>
#include <cstring>

namespace udf {

bool CompressedUnicode::fitsEightBit(const std::u16string& text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xff; });
}

std::vector<uint8_t> CompressedUnicode::encode(const std::u16string& text)
{
    std::vector<uint8_t> out;
    if (text.empty())
        return out;
    const bool narrow = fitsEightBit(text);
    out.reserve(1 + text.size() * (narrow ? 1 : 2));
    out.push_back(narrow ? 8 : 16);
    for (char16_t c : text) {
        if (!narrow)
            out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c));
    }
    return out;
}

size_t CompressedUnicode::capacity(const std::u16string& text, size_t bytes)
{
    if (bytes == 0)
        return 0;
    return fitsEightBit(text) ? bytes - 1 : (bytes - 1) / 2;
}

void CompressedUnicode::putDstring(uint8_t* field, size_t size, const std::u16string& text)
{
    std::memset(field, 0, size);
    std::u16string cut = text.substr(0, capacity(text, size - 1));
    // Never leave half of a surrogate pair at the end.
    if (!cut.empty() && cut.size() < text.size() && (cut.back() & 0xfc00) == 0xd800)
        cut.pop_back();
    const std::vector<uint8_t> bytes = encode(cut);
    std::copy(bytes.begin(), bytes.end(), field);
    field[size - 1] = uint8_t(bytes.size());
}

} // namespace udf
