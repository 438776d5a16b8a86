#include "TextConversion.h"

#include "MemoryBuffer.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacementChar = 0xFFFD;
constexpr char32_t kMaxBmp = 0xFFFF;
constexpr char32_t kMaxUtf16 = 0x10FFFF;
constexpr char32_t kSurHighStart = 0xD800;
constexpr char32_t kSurHighEnd = 0xDBFF;
constexpr char32_t kSurLowStart = 0xDC00;
constexpr char32_t kSurLowEnd = 0xDFFF;
constexpr int kHalfShift = 10;
constexpr char32_t kHalfBase = 0x10000;
constexpr char32_t kHalfMask = 0x3FF;

// Trailing bytes announced by a lead byte (the last two rows are never legal
// but still decide how far a truncated sequence reaches).
int TrailingBytes(unsigned char lead)
{
    if (lead < 0xC0)
        return 0;
    if (lead < 0xE0)
        return 1;
    if (lead < 0xF0)
        return 2;
    if (lead < 0xF8)
        return 3;
    if (lead < 0xFC)
        return 4;
    return 5;
}

constexpr char32_t kOffsetsFromUtf8[6] = {0x00000000UL, 0x00003080UL, 0x000E2080UL,
                                          0x03C82080UL, 0xFA082080UL, 0x82082080UL};
constexpr unsigned char kFirstByteMark[7] = {0x00, 0x00, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};

// Every trailing byte must be 10xxxxxx, also the first one after E0, ED, F0
// and F4 (where the narrower ranges exclude overlong and surrogate forms).
bool IsLegalUtf8(const unsigned char* source, int length)
{
    const unsigned char* p = source + length;
    unsigned char a;
    switch (length) {
    default:
        return false;
    case 4:
        if ((a = *--p) < 0x80 || a > 0xBF)
            return false;
        [[fallthrough]];
    case 3:
        if ((a = *--p) < 0x80 || a > 0xBF)
            return false;
        [[fallthrough]];
    case 2:
        if ((a = *--p) < 0x80 || a > 0xBF)
            return false;
        switch (*source) {
        case 0xE0:
            if (a < 0xA0)
                return false;
            break;
        case 0xED:
            if (a > 0x9F)
                return false;
            break;
        case 0xF0:
            if (a < 0x90)
                return false;
            break;
        case 0xF4:
            if (a > 0x8F)
                return false;
            break;
        default:
            break;
        }
        [[fallthrough]];
    case 1:
        if (*source >= 0x80 && *source < 0xC2)
            return false;
    }
    return *source <= 0xF4;
}

} // namespace

namespace kvds {

ConversionResult ConvertUtf8ToUtf16(const char* src, size_t srcLen, char16_t* dst, size_t dstCap,
                                    size_t* written)
{
    ConversionResult result = ConversionOK;
    auto source = reinterpret_cast<const unsigned char*>(src);
    const unsigned char* sourceEnd = source + srcLen;
    size_t out = 0;
    while (source < sourceEnd) {
        const int extra = TrailingBytes(*source);
        if (extra >= sourceEnd - source) {
            result = SourceExhausted;
            break;
        }
        if (!IsLegalUtf8(source, extra + 1)) {
            result = SourceIllegal;
            break;
        }
        char32_t ch = 0;
        for (int i = extra; i >= 0; --i) {
            ch += *source++;
            if (i)
                ch <<= 6;
        }
        ch -= kOffsetsFromUtf8[extra];
        if (out >= dstCap) {
            result = TargetExhausted;
            break;
        }
        if (ch <= kMaxBmp) {
            dst[out++] = (ch >= kSurHighStart && ch <= kSurLowEnd) ? char16_t(kReplacementChar)
                                                                   : char16_t(ch);
        } else if (ch > kMaxUtf16) {
            dst[out++] = char16_t(kReplacementChar);
        } else {
            if (out + 1 >= dstCap) {
                result = TargetExhausted;
                break;
            }
            ch -= kHalfBase;
            dst[out++] = char16_t((ch >> kHalfShift) + kSurHighStart);
            dst[out++] = char16_t((ch & kHalfMask) + kSurLowStart);
        }
    }
    if (written)
        *written = out;
    return result;
}

ConversionResult ConvertUtf16ToUtf8(const char16_t* src, size_t srcLen, char* dst, size_t dstCap,
                                    size_t* written)
{
    ConversionResult result = ConversionOK;
    const char16_t* source = src;
    const char16_t* sourceEnd = src + srcLen;
    size_t out = 0;
    while (source < sourceEnd) {
        char32_t ch = *source++;
        if (ch >= kSurHighStart && ch <= kSurHighEnd) {
            if (source >= sourceEnd) {
                result = SourceExhausted;
                break;
            }
            const char32_t ch2 = *source;
            if (ch2 >= kSurLowStart && ch2 <= kSurLowEnd) {
                ch = ((ch - kSurHighStart) << kHalfShift) + (ch2 - kSurLowStart) + kHalfBase;
                ++source;
            }
        }
        int bytes;
        if (ch < 0x80)
            bytes = 1;
        else if (ch < 0x800)
            bytes = 2;
        else if (ch < 0x10000)
            bytes = 3;
        else if (ch <= kMaxUtf16)
            bytes = 4;
        else {
            bytes = 3;
            ch = kReplacementChar;
        }
        if (out + bytes > dstCap) {
            result = TargetExhausted;
            break;
        }
        for (int i = bytes - 1; i > 0; --i) {
            dst[out + i] = char((ch | 0x80) & 0xBF);
            ch >>= 6;
        }
        dst[out] = char(ch | kFirstByteMark[bytes]);
        out += bytes;
    }
    if (written)
        *written = out;
    return result;
}

} // namespace kvds

std::u16string Utf8ToWide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    kvtl::MemoryBuffer<char16_t> buffer;
    if (!buffer.Resize(utf8.size() + 1, true))
        return {};
    size_t written = 0;
    if (kvds::ConvertUtf8ToUtf16(utf8.data(), utf8.size(), buffer.Data(), buffer.Count(),
                                 &written) != kvds::ConversionOK)
        return {};
    return std::u16string(buffer.Data(), written);
}

std::string WideToUtf8(const std::u16string& wide)
{
    if (wide.empty())
        return {};
    kvtl::MemoryBuffer<char> buffer;
    if (!buffer.Resize(wide.size() * 4 + 1, true))
        return {};
    size_t written = 0;
    if (kvds::ConvertUtf16ToUtf8(wide.data(), wide.size(), buffer.Data(), buffer.Count(),
                                 &written) != kvds::ConversionOK)
        return {};
    return std::string(buffer.Data(), written);
}
