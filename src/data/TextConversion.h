#pragma once

#include <cstddef>
#include <string>

// UTF-8 <-> UTF-16 conversion for every 8-bit string that crosses the data
// services (settings names, paths and values; messaging texts). Failure is
// reported only as an empty result; callers treat an empty name as invalid.
std::u16string Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::u16string& wide);

namespace kvds {

// Results of the reference conversion routines.
enum ConversionResult
{
    ConversionOK = 0,
    SourceExhausted = 1, // a sequence runs past the end of the source
    TargetExhausted = 2, // no room in the target
    SourceIllegal = 3    // the source is not legal UTF-8 / UTF-16
};

// The lenient reference routines under the two functions above. *written
// receives the number of units produced before the routine stopped.
ConversionResult ConvertUtf8ToUtf16(const char* src, size_t srcLen, char16_t* dst, size_t dstCap,
                                    size_t* written);
ConversionResult ConvertUtf16ToUtf8(const char16_t* src, size_t srcLen, char* dst, size_t dstCap,
                                    size_t* written);

} // namespace kvds
