// libFuzzer target for the hive-file parser. Whatever the bytes, parsing must
// not crash; a parsed hive must write out text that parses again to the same
// text, since the settings store rewrites hive files from what it parsed.
#include "RegistryHive.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::u16string root = u"HKEY_CURRENT_USER";
    kvds::RegistryHive hive;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!hive.Parse(bytes, root)) {
        if (!hive.IsEmpty())
            std::abort(); // a failed parse must leave nothing behind
        return 0;
    }
    const std::string text = hive.Serialize(root);
    kvds::RegistryHive again;
    if (text.empty() || !again.Parse(text, root) || again.Serialize(root) != text)
        std::abort();
    return 0;
}
