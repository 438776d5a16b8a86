#pragma once

#include "LDStorage.h"

#include <string>

namespace ld {

// UTF-16 <-> UTF-8 for names and paths crossing the flat interface.
std::string toUtf8(const std::u16string& text);
std::u16string toUtf16(const std::string& text);

// Reads a text argument (8-bit or UTF-16) as UTF-8; false when the argument is malformed.
bool readText(const LD_Text* text, std::string* out);

// Writes a terminated UTF-16 string into an output buffer of `size` bytes.
int32_t writeUtf16(const std::string& text, uint32_t size, void* value, uint32_t* outSize);

} // namespace ld
