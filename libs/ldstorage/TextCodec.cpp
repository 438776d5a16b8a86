#include "TextCodec.h"

#include <cstring>

namespace ld {

std::string toUtf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD; // a lone surrogate cannot be written as UTF-8
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string toUtf16(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        uint32_t c = 0xFFFD;
        size_t len = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b >> 5) == 0x6 && i + 1 < text.size()) {
            c = ((b & 0x1F) << 6) | (text[i + 1] & 0x3F);
            len = 2;
        } else if ((b >> 4) == 0xE && i + 2 < text.size()) {
            c = ((b & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
            len = 3;
        } else if ((b >> 3) == 0x1E && i + 3 < text.size()) {
            c = ((b & 0x07) << 18) | ((text[i + 1] & 0x3F) << 12) | ((text[i + 2] & 0x3F) << 6) |
                (text[i + 3] & 0x3F);
            len = 4;
        }
        i += len;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

namespace {

// The characters up to the terminator or the stated length, whichever comes first.
template <typename Char> std::basic_string<Char> terminated(const LD_Text* text)
{
    const auto* s = static_cast<const Char*>(text->data);
    size_t n = 0;
    while ((text->length == 0 || n < text->length) && s[n])
        ++n;
    return std::basic_string<Char>(s, n);
}

} // namespace

bool readText(const LD_Text* text, std::string* out)
{
    if (!text || !text->data || !out)
        return false;
    if (text->type == LD_Text8)
        *out = terminated<char>(text);
    else if (text->type == LD_Text16)
        *out = toUtf8(terminated<char16_t>(text));
    else
        return false;
    return true;
}

int32_t writeUtf16(const std::string& text, uint32_t size, void* value, uint32_t* outSize)
{
    std::u16string wide = toUtf16(text);
    wide.push_back(u'\0');
    const uint32_t bytes = uint32_t(wide.size() * sizeof(char16_t));
    if (outSize)
        *outSize = bytes;
    if (!value || size < bytes)
        return LD_BufferOverflow;
    std::memcpy(value, wide.data(), bytes);
    return LD_OK;
}

} // namespace ld
