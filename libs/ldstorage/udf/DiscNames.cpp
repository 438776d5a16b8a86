#include "DiscNames.h"

#include "CompressedUnicode.h"

#include <set>

namespace udf {

namespace {

// Extensions longer than this are not worth keeping whole at the price of the name.
constexpr size_t maxKeptExtension = 16;
constexpr size_t jolietLimit = 64;
constexpr size_t isoNameAndExtension = 30;

size_t extensionStart(const std::u16string& name)
{
    const size_t dot = name.rfind(u'.');
    if (dot == std::u16string::npos || dot == 0 || name.size() - dot > maxKeptExtension)
        return name.size();
    return dot;
}

std::u16string cutUnits(const std::u16string& text, size_t units)
{
    std::u16string cut = text.substr(0, units);
    if (!cut.empty() && cut.size() < text.size() && (cut.back() & 0xfc00) == 0xd800)
        cut.pop_back();
    return cut;
}

std::u16string fold(const std::u16string& name)
{
    std::u16string folded = name;
    for (char16_t& c : folded)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return folded;
}

std::u16string replaceForbidden(std::u16string name, const std::u16string& forbidden)
{
    for (char16_t& c : name)
        if (c < 0x20 || forbidden.find(c) != std::u16string::npos)
            c = u'_';
    if (name.empty())
        name.assign(1, u'_');
    return name;
}

char16_t isoCharacter(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return char16_t(c - u'a' + u'A');
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_')
        return c;
    return u'_';
}

} // namespace

std::u16string DiscNames::shorten(const std::u16string& name, size_t limit)
{
    if (name.size() <= limit)
        return name;
    const size_t dot = extensionStart(name);
    std::u16string extension = name.substr(dot);
    if (extension.size() + 1 > limit)
        extension.clear();
    return cutUnits(name.substr(0, dot), limit - extension.size()) + extension;
}

void DiscNames::makeUnique(std::vector<std::u16string>& names, const Limit& limit, char16_t mark)
{
    std::set<std::u16string> taken;
    for (std::u16string& name : names) {
        name = shorten(name, limit(name));
        if (taken.insert(fold(name)).second)
            continue;
        const size_t dot = extensionStart(name);
        const std::u16string base = name.substr(0, dot);
        const std::u16string extension = name.substr(dot);
        for (unsigned n = 2;; ++n) {
            std::u16string suffix(1, mark);
            for (char c : std::to_string(n))
                suffix += char16_t(c);
            std::u16string candidate = base + suffix + extension;
            const size_t room = limit(candidate);
            if (candidate.size() > room)
                candidate =
                    cutUnits(base, room - suffix.size() - extension.size()) + suffix + extension;
            if (taken.insert(fold(candidate)).second) {
                name = candidate;
                break;
            }
        }
    }
}

std::vector<std::u16string> DiscNames::udfNames(const std::vector<std::u16string>& names)
{
    std::vector<std::u16string> out;
    for (const std::u16string& name : names)
        out.push_back(replaceForbidden(name, u"/"));
    makeUnique(out, [](const std::u16string& n) {
        return CompressedUnicode::capacity(n, CompressedUnicode::maxIdentifierBytes);
    });
    return out;
}

std::vector<std::u16string> DiscNames::jolietNames(const std::vector<std::u16string>& names)
{
    std::vector<std::u16string> out;
    for (const std::u16string& name : names)
        out.push_back(replaceForbidden(name, u"*/:;?\\"));
    makeUnique(out, [](const std::u16string&) { return jolietLimit; });
    return out;
}

std::vector<std::string> DiscNames::isoNames(const std::vector<std::u16string>& names)
{
    std::vector<std::u16string> mapped;
    for (const std::u16string& name : names) {
        const size_t dot = extensionStart(name);
        std::u16string iso;
        for (size_t i = 0; i < name.size(); ++i)
            iso += i == dot ? u'.' : isoCharacter(name[i]);
        if (iso.empty() || iso[0] == u'.')
            iso.insert(iso.begin(), u'_');
        mapped.push_back(iso);
    }
    // The separator does not count towards the 30 characters.
    makeUnique(
        mapped,
        [](const std::u16string& n) {
            return isoNameAndExtension + (n.find(u'.') != std::u16string::npos ? 1 : 0);
        },
        u'_');
    std::vector<std::string> out;
    for (const std::u16string& name : mapped) {
        std::string ascii(name.begin(), name.end());
        if (ascii.find('.') == std::string::npos)
            ascii += '.';
        out.push_back(ascii + ";1");
    }
    return out;
}

} // namespace udf
