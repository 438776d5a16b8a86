#include "RegistryHive.h"

#include "TextConversion.h"

#include <algorithm>

namespace kvds {

namespace {

const std::u16string kHeader = u"Windows Registry Editor Version 5.00";

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t';
}

std::u16string Trim(const std::u16string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b]))
        ++b;
    while (e > b && IsSpace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

char16_t FoldChar(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

bool EqualsNoCase(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    }
    return true;
}

bool StartsWithNoCase(const std::u16string& s, size_t pos, const std::u16string& prefix)
{
    return s.size() >= pos + prefix.size() && EqualsNoCase(s.substr(pos, prefix.size()), prefix);
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Parses 1..maxDigits hex digits making up the whole of `s`.
bool ParseHexNumber(const std::u16string& s, size_t maxDigits, uint32_t& value)
{
    if (s.empty() || s.size() > maxDigits)
        return false;
    value = 0;
    for (char16_t c : s) {
        const int d = HexDigit(c);
        if (d < 0)
            return false;
        value = (value << 4) | uint32_t(d);
    }
    return true;
}

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Marks the units of `s` that are not part of a well-formed surrogate pair.
std::vector<bool> UnpairedSurrogates(const std::u16string& s)
{
    std::vector<bool> bad(s.size(), false);
    for (size_t i = 0; i < s.size(); ++i) {
        if (IsHighSurrogate(s[i])) {
            if (i + 1 < s.size() && IsLowSurrogate(s[i + 1]))
                ++i;
            else
                bad[i] = true;
        } else if (IsLowSurrogate(s[i])) {
            bad[i] = true;
        }
    }
    return bad;
}

// Reads a quoted string starting at s[pos] == '"'; on success pos is past the
// closing quote. Escapes: \\ \" \n \r \t \uXXXX.
bool ParseQuoted(const std::u16string& s, size_t& pos, std::u16string& out, std::string* error)
{
    out.clear();
    ++pos;
    while (pos < s.size()) {
        const char16_t c = s[pos++];
        if (c == u'"')
            return true;
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (pos >= s.size())
            break;
        const char16_t e = s[pos++];
        switch (e) {
        case u'\\':
        case u'"':
            out += e;
            break;
        case u'n':
            out += u'\n';
            break;
        case u'r':
            out += u'\r';
            break;
        case u't':
            out += u'\t';
            break;
        case u'u': {
            uint32_t unit = 0;
            if (pos + 4 > s.size() || !ParseHexNumber(s.substr(pos, 4), 4, unit)) {
                if (error)
                    *error = "bad \\u escape";
                return false;
            }
            out += char16_t(unit);
            pos += 4;
            break;
        }
        default:
            if (error)
                *error = "unknown escape in quoted text";
            return false;
        }
    }
    if (error)
        *error = "unterminated quoted text";
    return false;
}

bool ParseHexList(const std::u16string& list, std::basic_string<unsigned char>& out)
{
    out.clear();
    if (Trim(list).empty())
        return true;
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(u',', start);
        const std::u16string token =
            Trim(list.substr(start, comma == std::u16string::npos ? comma : comma - start));
        uint32_t byte = 0;
        if (!ParseHexNumber(token, 2, byte))
            return false;
        out += static_cast<unsigned char>(byte);
        if (comma == std::u16string::npos)
            return true;
        start = comma + 1;
    }
}

std::basic_string<unsigned char> Utf16Bytes(const std::u16string& s, bool terminate)
{
    std::basic_string<unsigned char> data;
    data.reserve((s.size() + 1) * 2);
    for (char16_t c : s) {
        data += static_cast<unsigned char>(c & 0xFF);
        data += static_cast<unsigned char>(c >> 8);
    }
    if (terminate)
        data.append(2, 0);
    return data;
}

// A REG_SZ whose data is exactly one terminated string of printable,
// well-formed text is written in quotes; anything else keeps its exact
// bytes in hex(1) form.
bool QuotableString(const RegistryValue& v, std::u16string& text)
{
    const auto& d = v.data;
    if (v.type != RegSz || d.size() < 2 || d.size() % 2 || d[d.size() - 1] || d[d.size() - 2])
        return false;
    text.clear();
    for (size_t i = 0; i + 2 < d.size(); i += 2) {
        const char16_t c = char16_t(d[i] | (d[i + 1] << 8));
        if (c < 0x20 || c == 0x7F)
            return false;
        text += c;
    }
    for (bool bad : UnpairedSurrogates(text)) {
        if (bad)
            return false;
    }
    return true;
}

void AppendHex4(std::u16string& out, uint32_t v, int digits)
{
    static const char16_t* hex = u"0123456789abcdef";
    for (int i = digits - 1; i >= 0; --i)
        out += hex[(v >> (i * 4)) & 0xF];
}

std::u16string EscapeName(const std::u16string& name)
{
    std::u16string out;
    const std::vector<bool> bad = UnpairedSurrogates(name);
    for (size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c == u'\\' || c == u'"') {
            out += u'\\';
            out += c;
        } else if (c == u'\n') {
            out += u"\\n";
        } else if (c == u'\r') {
            out += u"\\r";
        } else if (c == u'\t') {
            out += u"\\t";
        } else if (c < 0x20 || c == 0x7F || bad[i]) {
            out += u"\\u";
            AppendHex4(out, c, 4);
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string EscapeString(const std::u16string& text)
{
    std::u16string out;
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out;
}

std::u16string ShortRootName(const std::u16string& root)
{
    if (EqualsNoCase(root, u"HKEY_CURRENT_USER"))
        return u"HKCU";
    if (EqualsNoCase(root, u"HKEY_LOCAL_MACHINE"))
        return u"HKLM";
    return root;
}

} // namespace

std::u16string RegistryHive::Fold(const std::u16string& s)
{
    std::u16string out(s);
    for (auto& c : out)
        c = FoldChar(c);
    return out;
}

RegistryHive::Key::Key(const Key& other)
    : name(other.name), values(other.values), valueIndex(other.valueIndex)
{
    for (const auto& [folded, child] : other.children)
        children.emplace(folded, std::make_unique<Key>(*child));
}

RegistryHive::Key& RegistryHive::Key::operator=(const Key& other)
{
    if (this != &other)
        *this = Key(other);
    return *this;
}

bool RegistryHive::IsValidKeyPath(const std::u16string& path)
{
    if (path.empty() || path.front() == u'\\' || path.back() == u'\\')
        return false;
    if (path.find(u"\\\\") != std::u16string::npos)
        return false;
    size_t depth = 1;
    for (char16_t c : path) {
        if (c < 0x20)
            return false;
        if (c == u'\\' && ++depth > MaxKeyDepth)
            return false;
    }
    for (bool bad : UnpairedSurrogates(path)) {
        if (bad)
            return false;
    }
    return true;
}

const RegistryHive::Key* RegistryHive::FindKey(const std::u16string& path) const
{
    if (path.empty())
        return nullptr;
    const Key* key = &m_root;
    for (size_t start = 0;;) {
        const size_t end = path.find(u'\\', start);
        const auto it = key->children.find(Fold(path.substr(start, end - start)));
        if (it == key->children.end())
            return nullptr;
        key = it->second.get();
        if (end == std::u16string::npos)
            return key;
        start = end + 1;
    }
}

RegistryHive::Key* RegistryHive::FindKey(const std::u16string& path)
{
    return const_cast<Key*>(static_cast<const RegistryHive*>(this)->FindKey(path));
}

RegistryHive::Key* RegistryHive::MakeKey(const std::u16string& path)
{
    if (!IsValidKeyPath(path))
        return nullptr;
    Key* key = &m_root;
    for (size_t start = 0;;) {
        const size_t end = path.find(u'\\', start);
        const std::u16string name = path.substr(start, end - start);
        std::unique_ptr<Key>& child = key->children[Fold(name)];
        if (!child) {
            child = std::make_unique<Key>();
            child->name = name;
        }
        key = child.get();
        if (end == std::u16string::npos)
            return key;
        start = end + 1;
    }
}

bool RegistryHive::KeyExists(const std::u16string& path) const
{
    return FindKey(path) != nullptr;
}

bool RegistryHive::CreateKey(const std::u16string& path)
{
    return MakeKey(path) != nullptr;
}

bool RegistryHive::DeleteTree(const std::u16string& path)
{
    const size_t sep = path.rfind(u'\\');
    Key* parent = sep == std::u16string::npos ? &m_root : FindKey(path.substr(0, sep));
    if (!parent)
        return false;
    return parent->children.erase(Fold(path.substr(sep == std::u16string::npos ? 0 : sep + 1))) ==
           1;
}

std::vector<std::u16string> RegistryHive::SubKeyNames(const std::u16string& path) const
{
    std::vector<std::u16string> names;
    if (const Key* key = FindKey(path)) {
        for (const auto& child : key->children)
            names.push_back(child.second->name);
    }
    return names;
}

std::vector<std::u16string> RegistryHive::ValueNames(const std::u16string& path) const
{
    std::vector<std::u16string> names;
    if (const Key* key = FindKey(path)) {
        for (const auto& v : key->values)
            names.push_back(v.first);
    }
    return names;
}

const RegistryValue* RegistryHive::FindValue(const std::u16string& path,
                                             const std::u16string& name) const
{
    const Key* key = FindKey(path);
    if (!key)
        return nullptr;
    const auto it = key->valueIndex.find(Fold(name));
    return it == key->valueIndex.end() ? nullptr : &key->values[it->second].second;
}

void RegistryHive::PutValue(Key& key, const std::u16string& name, const RegistryValue& value)
{
    const auto [it, added] = key.valueIndex.emplace(Fold(name), key.values.size());
    if (added)
        key.values.emplace_back(name, value);
    else
        key.values[it->second].second = value;
}

bool RegistryHive::SetValue(const std::u16string& path, const std::u16string& name,
                            const RegistryValue& value)
{
    Key* key = FindKey(path);
    if (!key)
        return false;
    PutValue(*key, name, value);
    return true;
}

bool RegistryHive::DeleteValue(const std::u16string& path, const std::u16string& name)
{
    Key* key = FindKey(path);
    if (!key)
        return false;
    const auto it = key->valueIndex.find(Fold(name));
    if (it == key->valueIndex.end())
        return false;
    const size_t gone = it->second;
    key->values.erase(key->values.begin() + std::ptrdiff_t(gone));
    key->valueIndex.erase(it);
    for (auto& entry : key->valueIndex) {
        if (entry.second > gone)
            --entry.second;
    }
    return true;
}

bool RegistryHive::Parse(const std::string& bytes, const std::u16string& rootName,
                         std::string* error)
{
    Clear();
    std::u16string text;
    auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) {
        if (bytes.size() % 2) {
            if (error)
                *error = "odd length for UTF-16 text";
            return false;
        }
        for (size_t i = 2; i < bytes.size(); i += 2)
            text += char16_t(at(i) | (at(i + 1) << 8));
    } else if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) {
        if (error)
            *error = "big-endian UTF-16 is not supported";
        return false;
    } else {
        const size_t skip =
            (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) ? 3 : 0;
        const std::string body = bytes.substr(skip);
        text = Utf8ToWide(body);
        if (!body.empty() && text.empty()) {
            if (error)
                *error = "not valid UTF-8";
            return false;
        }
    }
    if (!ParseText(text, rootName, error)) {
        Clear();
        return false;
    }
    return true;
}

bool RegistryHive::ParseText(const std::u16string& text, const std::u16string& rootName,
                             std::string* error)
{
    auto fail = [&](size_t line, const char* why) {
        if (error)
            *error = "line " + std::to_string(line + 1) + ": " + why;
        return false;
    };

    std::vector<std::u16string> lines;
    for (size_t start = 0; start <= text.size();) {
        size_t nl = text.find(u'\n', start);
        if (nl == std::u16string::npos)
            nl = text.size();
        std::u16string line = text.substr(start, nl - start);
        if (!line.empty() && line.back() == u'\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = nl + 1;
    }

    size_t i = 0;
    while (i < lines.size() && Trim(lines[i]).empty())
        ++i;
    if (i == lines.size())
        return true; // an empty file is an empty hive
    if (Trim(lines[i]) != kHeader)
        return fail(i, "missing header");
    ++i;

    const std::u16string shortRoot = ShortRootName(rootName);
    Key* currentKey = nullptr;
    for (; i < lines.size(); ++i) {
        const std::u16string line = Trim(lines[i]);
        if (line.empty() || line[0] == u';')
            continue;
        if (line[0] == u'[') {
            if (line.back() != u']' || line.size() < 3)
                return fail(i, "bad key line");
            const std::u16string inner = line.substr(1, line.size() - 2);
            if (inner[0] == u'-')
                return fail(i, "key deletion entries are not stored in a hive");
            const size_t sep = inner.find(u'\\');
            const std::u16string root = inner.substr(0, sep);
            if (!EqualsNoCase(root, rootName) && !EqualsNoCase(root, shortRoot))
                return fail(i, "key of another root");
            if (sep == std::u16string::npos)
                return fail(i, "key without a path");
            const std::u16string path = inner.substr(sep + 1);
            if (std::count(path.begin(), path.end(), u'\\') >= std::ptrdiff_t(MaxKeyDepth))
                return fail(i, "key nested too deeply");
            currentKey = MakeKey(path);
            if (!currentKey)
                return fail(i, "bad key path");
            continue;
        }
        if (line[0] != u'"' && line[0] != u'@')
            return fail(i, "unexpected text");
        if (!currentKey)
            return fail(i, "value outside a key");

        size_t pos = 0;
        std::u16string name;
        if (line[0] == u'@') {
            pos = 1;
        } else {
            std::string why;
            if (!ParseQuoted(line, pos, name, &why))
                return fail(i, why.c_str());
            if (name.empty())
                return fail(i, "empty quoted name (the default value is @)");
        }
        while (pos < line.size() && IsSpace(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != u'=')
            return fail(i, "missing '='");
        ++pos;
        while (pos < line.size() && IsSpace(line[pos]))
            ++pos;

        RegistryValue value;
        if (pos < line.size() && line[pos] == u'"') {
            std::u16string s;
            std::string why;
            if (!ParseQuoted(line, pos, s, &why))
                return fail(i, why.c_str());
            if (!Trim(line.substr(pos)).empty())
                return fail(i, "text after a string");
            value.type = RegSz;
            value.data = Utf16Bytes(s, true);
        } else if (StartsWithNoCase(line, pos, u"dword:")) {
            uint32_t v = 0;
            if (!ParseHexNumber(Trim(line.substr(pos + 6)), 8, v))
                return fail(i, "bad dword");
            value.type = RegDword;
            for (int b = 0; b < 4; ++b)
                value.data += static_cast<unsigned char>((v >> (8 * b)) & 0xFF);
        } else if (StartsWithNoCase(line, pos, u"hex")) {
            pos += 3;
            value.type = RegBinary;
            if (pos < line.size() && line[pos] == u'(') {
                const size_t close = line.find(u')', pos);
                if (close == std::u16string::npos ||
                    !ParseHexNumber(line.substr(pos + 1, close - pos - 1), 8, value.type))
                    return fail(i, "bad hex type");
                pos = close + 1;
            }
            if (pos >= line.size() || line[pos] != u':')
                return fail(i, "missing ':' after hex");
            std::u16string list = line.substr(pos + 1);
            // Long lists continue on the next line after a trailing "\".
            while (!list.empty() && list.back() == u'\\') {
                list.pop_back();
                if (++i >= lines.size())
                    return fail(i - 1, "continuation at end of file");
                list += Trim(lines[i]);
            }
            if (!ParseHexList(list, value.data))
                return fail(i, "bad hex list");
        } else if (pos < line.size() && line[pos] == u'-') {
            return fail(i, "value deletion entries are not stored in a hive");
        } else {
            return fail(i, "unknown value data");
        }
        PutValue(*currentKey, name, value);
    }
    return true;
}

std::string RegistryHive::Serialize(const std::u16string& rootName) const
{
    std::u16string out = kHeader + u"\n";
    std::u16string path;
    for (const auto& child : m_root.children)
        SerializeKey(*child.second, path, rootName, out);
    return WideToUtf8(out);
}

void RegistryHive::SerializeKey(const Key& key, std::u16string& path,
                                const std::u16string& rootName, std::u16string& out)
{
    const size_t parentLength = path.size();
    if (!path.empty())
        path += u'\\';
    path += key.name;
    // A key with children is implied by them; only empty leaves need their
    // own line.
    if (!key.values.empty() || key.children.empty())
        out += u"\n[" + rootName + u"\\" + path + u"]\n";
    for (const auto& [name, value] : key.values) {
        std::u16string line = name.empty() ? u"@" : u"\"" + EscapeName(name) + u"\"";
        line += u'=';
        std::u16string text;
        if (QuotableString(value, text)) {
            line += u"\"" + EscapeString(text) + u"\"";
        } else if (value.type == RegDword && value.data.size() == 4) {
            const uint32_t v = uint32_t(value.data[0]) | uint32_t(value.data[1]) << 8 |
                               uint32_t(value.data[2]) << 16 | uint32_t(value.data[3]) << 24;
            line += u"dword:";
            AppendHex4(line, v, 8);
        } else {
            if (value.type == RegBinary) {
                line += u"hex:";
            } else {
                std::u16string type;
                uint32_t t = value.type;
                do {
                    type.insert(type.begin(), u"0123456789abcdef"[t & 0xF]);
                    t >>= 4;
                } while (t);
                line += u"hex(" + type + u"):";
            }
            size_t column = line.size();
            for (size_t b = 0; b < value.data.size(); ++b) {
                AppendHex4(line, value.data[b], 2);
                column += 2;
                if (b + 1 < value.data.size()) {
                    line += u',';
                    ++column;
                    if (column > 76) {
                        line += u"\\\n  ";
                        column = 2;
                    }
                }
            }
        }
        out += line + u"\n";
    }
    for (const auto& child : key.children)
        SerializeKey(*child.second, path, rootName, out);
    path.resize(parentLength);
}

} // namespace kvds
