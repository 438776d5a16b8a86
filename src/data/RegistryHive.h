#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kvds {

// Registry value types as the .reg format numbers them.
enum RegistryType : uint32_t
{
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegMultiSz = 7,
    RegQword = 11
};

struct RegistryValue
{
    uint32_t type = RegNone;
    std::basic_string<unsigned char> data;
    bool operator==(const RegistryValue& o) const { return type == o.type && data == o.data; }
};

// The keys and values of one hive, held in memory, with the text form of a
// regedit export ("Windows Registry Editor Version 5.00"). Key paths are
// relative to the hive's root ("SOFTWARE\Kavo\Settings"); key and value names
// compare case-insensitively (ASCII) and keep the case they were created
// with. Every ancestor of a key exists. Keys form a tree, so creating or
// finding a key costs time in proportion to its path, whatever its depth.
class RegistryHive
{
public:
    // The deepest key a hive may hold, as in the Windows registry. A file with
    // a deeper key does not parse.
    static constexpr size_t MaxKeyDepth = 512;

    // Parses a hive file. The root name is the one every key must carry
    // ("HKEY_CURRENT_USER"; its short form is accepted too). UTF-8 (with or
    // without a byte-order mark) and UTF-16LE with a byte-order mark are
    // read. On failure the hive is left empty and `error` says why.
    bool Parse(const std::string& bytes, const std::u16string& rootName,
               std::string* error = nullptr);
    // The UTF-8 text of the hive.
    std::string Serialize(const std::u16string& rootName) const;

    bool KeyExists(const std::u16string& path) const;
    // Creates the key and its missing ancestors; false for an invalid path.
    bool CreateKey(const std::u16string& path);
    // Removes the key and everything below it; false when it does not exist.
    bool DeleteTree(const std::u16string& path);

    // Direct sub-key names, in their stored case. Empty when the key is absent.
    std::vector<std::u16string> SubKeyNames(const std::u16string& path) const;
    // Value names in the order they were created; "" is the default value.
    std::vector<std::u16string> ValueNames(const std::u16string& path) const;

    const RegistryValue* FindValue(const std::u16string& path, const std::u16string& name) const;
    // The key must exist.
    bool SetValue(const std::u16string& path, const std::u16string& name,
                  const RegistryValue& value);
    bool DeleteValue(const std::u16string& path, const std::u16string& name);

    bool IsEmpty() const { return m_root.children.empty(); }
    void Clear() { m_root = Key(); }

    // A key path is a "\"-separated list of at most MaxKeyDepth non-empty
    // components without control characters.
    static bool IsValidKeyPath(const std::u16string& path);

private:
    struct Key
    {
        Key() = default;
        Key(const Key& other);
        Key& operator=(const Key& other);
        Key(Key&&) = default;
        Key& operator=(Key&&) = default;

        std::u16string name; // as created
        // In creation order, with an index by folded name.
        std::vector<std::pair<std::u16string, RegistryValue>> values;
        std::map<std::u16string, size_t> valueIndex;
        // By folded name, so sub-keys list and write in a stable order.
        std::map<std::u16string, std::unique_ptr<Key>> children;
    };
    static std::u16string Fold(const std::u16string& s);
    Key* FindKey(const std::u16string& path);
    const Key* FindKey(const std::u16string& path) const;
    // Creates the key and its missing ancestors; null for an invalid path.
    Key* MakeKey(const std::u16string& path);
    static void PutValue(Key& key, const std::u16string& name, const RegistryValue& value);
    static void SerializeKey(const Key& key, std::u16string& path, const std::u16string& rootName,
                             std::u16string& out);
    bool ParseText(const std::u16string& text, const std::u16string& rootName, std::string* error);

    Key m_root; // unnamed; its children are the top-level keys
};

} // namespace kvds
