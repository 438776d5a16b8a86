#pragma once

// The name each side of the bridge gives a file at the disc root. UDF keeps the name whole
// unless it passes 255 bytes of compressed Unicode; Joliet holds 64 characters; ISO 9660
// level 2/3 holds 30 d-characters (A-Z, 0-9, _) plus the dot and the version. Names that are too
// long are shortened (keeping the extension), and names that collide afterwards, ignoring case,
// get "~N" ("_N" on the ISO 9660 side) before the extension. Nothing here ever refuses a name.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace udf {

class DiscNames
{
public:
    using Limit = std::function<size_t(const std::u16string&)>;

    static std::vector<std::u16string> udfNames(const std::vector<std::u16string>& names);
    static std::vector<std::u16string> jolietNames(const std::vector<std::u16string>& names);
    // ASCII identifiers with the separator and version, e.g. "MY_FILM.MP4;1".
    static std::vector<std::string> isoNames(const std::vector<std::u16string>& names);

    // Cuts the part before the extension so that the name holds `limit` characters.
    static std::u16string shorten(const std::u16string& name, size_t limit);
    // Shortens every name to its limit and makes the names unique, first come first kept.
    static void makeUnique(std::vector<std::u16string>& names, const Limit& limit,
                           char16_t mark = u'~');
};

} // namespace udf
