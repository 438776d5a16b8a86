#include "SettingsAccessors.h"

using kvds::IKavoSettings;
using kvds::detail::SubKeys;
using kvds::detail::WithKey;
using kvds::detail::WithSettings;

namespace {

template <class S> bool SubKeyCount(bool install, const S& path, uint32_t& count)
{
    return WithKey(install, true, path, [&](IKavoSettings& s) { return s.GetSubKeys(count); });
}

template <class S> bool ValueCount(bool install, const S& path, uint32_t& count)
{
    return WithKey(install, true, path, [&](IKavoSettings& s) { return s.GetValueNames(count); });
}

template <class S, class Set> bool ValueNames(bool install, const S& path, Set& names)
{
    return WithKey(install, true, path, [&](IKavoSettings& s) { return s.GetValueNames(names); });
}

template <class S> bool KeyExists(bool install, const S& path)
{
    return WithKey(install, true, path, [](IKavoSettings&) { return true; });
}

template <class S> bool DeleteOne(bool install, const S& path, const S& name)
{
    return WithSettings(install, false, false, path, name,
                        [&](IKavoSettings& s) { return s.DeleteValue(name); });
}

template <class S> bool DeleteKeyAt(const S& path)
{
    return WithKey(false, false, path, [](IKavoSettings& s) { return s.DeleteKey(); });
}

} // namespace

bool GetSubKeys(const std::string& path, uint32_t& count)
{
    return SubKeyCount(false, path, count);
}
bool GetSubKeys(const std::u16string& path, uint32_t& count)
{
    return SubKeyCount(false, path, count);
}
bool GetSubKeys(const std::string& path, const std::string& subPath, std::set<std::string>& names)
{
    return SubKeys(false, path, subPath, names);
}
bool GetSubKeys(const std::u16string& path, const std::u16string& subPath,
                std::set<std::u16string>& names)
{
    return SubKeys(false, path, subPath, names);
}
bool GetInstallSubKeys(const std::string& path, uint32_t& count)
{
    return SubKeyCount(true, path, count);
}
bool GetInstallSubKeys(const std::u16string& path, uint32_t& count)
{
    return SubKeyCount(true, path, count);
}
bool GetInstallSubKeys(const std::string& path, const std::string& subPath,
                       std::set<std::string>& names)
{
    return SubKeys(true, path, subPath, names);
}
bool GetInstallSubKeys(const std::u16string& path, const std::u16string& subPath,
                       std::set<std::u16string>& names)
{
    return SubKeys(true, path, subPath, names);
}

bool GetValueNames(const std::string& path, uint32_t& count)
{
    return ValueCount(false, path, count);
}
bool GetValueNames(const std::u16string& path, uint32_t& count)
{
    return ValueCount(false, path, count);
}
bool GetValueNames(const std::string& path, std::set<std::string>& names)
{
    return ValueNames(false, path, names);
}
bool GetValueNames(const std::u16string& path, std::set<std::u16string>& names)
{
    return ValueNames(false, path, names);
}
bool GetInstallValueNames(const std::string& path, uint32_t& count)
{
    return ValueCount(true, path, count);
}
bool GetInstallValueNames(const std::u16string& path, uint32_t& count)
{
    return ValueCount(true, path, count);
}
bool GetInstallValueNames(const std::string& path, std::set<std::string>& names)
{
    return ValueNames(true, path, names);
}
bool GetInstallValueNames(const std::u16string& path, std::set<std::u16string>& names)
{
    return ValueNames(true, path, names);
}

bool SettingsKeyExists(const std::string& path)
{
    return KeyExists(false, path);
}
bool SettingsKeyExists(const std::u16string& path)
{
    return KeyExists(false, path);
}
bool InstallSettingsKeyExists(const std::string& path)
{
    return KeyExists(true, path);
}
bool InstallSettingsKeyExists(const std::u16string& path)
{
    return KeyExists(true, path);
}

bool DeleteSetting(const std::string& path, const std::string& name)
{
    return DeleteOne(false, path, name);
}
bool DeleteSetting(const std::u16string& path, const std::u16string& name)
{
    return DeleteOne(false, path, name);
}
bool DeleteInstallSetting(const std::string& path, const std::string& name)
{
    return DeleteOne(true, path, name);
}
bool DeleteInstallSetting(const std::u16string& path, const std::u16string& name)
{
    return DeleteOne(true, path, name);
}

bool DeleteSettingsKey(const std::string& path)
{
    return DeleteKeyAt(path);
}
bool DeleteSettingsKey(const std::u16string& path)
{
    return DeleteKeyAt(path);
}
