#pragma once

// Typed accessors for single settings values. Each call opens its own settings
// object, uses it and releases it, so separate threads may call them at once.
//
//   Settings group (per user, read with fallback to the machine hive):
//     WriteSetting(path, name, value)      mode 8, creates the key
//     ReadSetting(path, name, out)         mode 5
//   Install group (machine hive):
//     WriteInstallSetting(path, name, value)   mode 9
//     ReadInstallSetting(path, name, out)      mode 6
//
// Paths and names are both UTF-8 std::string (or const char*) or both
// std::u16string. Values: any integer (stored as an 8-byte QWORD), float,
// double, bool, std::string (UTF-8), std::u16string, string literals, and
// binary data through the (data, size) form. An empty name fails at once.

#include "KavoSettings.h"

#include <set>
#include <string>

namespace kvds::detail {

template <class S, class F>
bool WithSettings(bool install, bool create, bool readOnly, const S& path, const S& name, F&& f)
{
    if (name.empty())
        return false;
    kvtl::RefCountedPtr<IKavoSettings> settings;
    if (!OpenSettings(install, create, path, readOnly, settings) || !settings)
        return false;
    return f(*settings);
}

template <class S, class F> bool WithKey(bool install, bool readOnly, const S& path, F&& f)
{
    kvtl::RefCountedPtr<IKavoSettings> settings;
    if (!OpenSettings(install, false, path, readOnly, settings) || !settings)
        return false;
    return f(*settings);
}

template <class S, class Set>
bool SubKeys(bool install, const S& path, const S& subPath, Set& names)
{
    return WithKey(install, true, path, [&](IKavoSettings& s) {
        if (subPath.empty())
            return s.GetSubKeys(names);
        kvtl::RefCountedPtr<IKavoSettings> sub;
        return s.OpenSubKey(subPath, sub) && sub && sub->GetSubKeys(names);
    });
}

} // namespace kvds::detail

// ---- Settings group -------------------------------------------------------

template <class V>
bool WriteSetting(const std::string& path, const std::string& name, const V& value)
{
    return kvds::detail::WithSettings(false, true, false, path, name, [&](kvds::IKavoSettings& s) {
        return s.SetValue(name, value);
    });
}
template <class V>
bool WriteSetting(const std::u16string& path, const std::u16string& name, const V& value)
{
    return kvds::detail::WithSettings(false, true, false, path, name, [&](kvds::IKavoSettings& s) {
        return s.SetValue(name, value);
    });
}
inline bool WriteSetting(const std::string& path, const std::string& name,
                         const unsigned char* data, uint32_t size)
{
    return kvds::detail::WithSettings(false, true, false, path, name, [&](kvds::IKavoSettings& s) {
        return s.SetValue(name, data, size);
    });
}
inline bool WriteSetting(const std::u16string& path, const std::u16string& name,
                         const unsigned char* data, uint32_t size)
{
    return kvds::detail::WithSettings(false, true, false, path, name, [&](kvds::IKavoSettings& s) {
        return s.SetValue(name, data, size);
    });
}

template <class V> bool ReadSetting(const std::string& path, const std::string& name, V& out)
{
    return kvds::detail::WithSettings(false, false, true, path, name, [&](kvds::IKavoSettings& s) {
        return s.GetValue(name, out);
    });
}
template <class V> bool ReadSetting(const std::u16string& path, const std::u16string& name, V& out)
{
    return kvds::detail::WithSettings(false, false, true, path, name, [&](kvds::IKavoSettings& s) {
        return s.GetValue(name, out);
    });
}

// ---- Install group --------------------------------------------------------

template <class V>
bool WriteInstallSetting(const std::string& path, const std::string& name, const V& value)
{
    return kvds::detail::WithSettings(true, true, false, path, name, [&](kvds::IKavoSettings& s) {
        return s.SetValue(name, value);
    });
}
template <class V>
bool WriteInstallSetting(const std::u16string& path, const std::u16string& name, const V& value)
{
    return kvds::detail::WithSettings(true, true, false, path, name, [&](kvds::IKavoSettings& s) {
        return s.SetValue(name, value);
    });
}
inline bool WriteInstallSetting(const std::string& path, const std::string& name,
                                const unsigned char* data, uint32_t size)
{
    return kvds::detail::WithSettings(true, true, false, path, name, [&](kvds::IKavoSettings& s) {
        return s.SetValue(name, data, size);
    });
}
inline bool WriteInstallSetting(const std::u16string& path, const std::u16string& name,
                                const unsigned char* data, uint32_t size)
{
    return kvds::detail::WithSettings(true, true, false, path, name, [&](kvds::IKavoSettings& s) {
        return s.SetValue(name, data, size);
    });
}

template <class V> bool ReadInstallSetting(const std::string& path, const std::string& name, V& out)
{
    return kvds::detail::WithSettings(true, false, true, path, name, [&](kvds::IKavoSettings& s) {
        return s.GetValue(name, out);
    });
}
template <class V>
bool ReadInstallSetting(const std::u16string& path, const std::u16string& name, V& out)
{
    return kvds::detail::WithSettings(true, false, true, path, name, [&](kvds::IKavoSettings& s) {
        return s.GetValue(name, out);
    });
}

// ---- Enumeration, existence and deletion (read-only opens) -----------------

// Number of sub-keys of `path`, or their names below `path` + `subPath`
// (an empty subPath means `path` itself).
bool GetSubKeys(const std::string& path, uint32_t& count);
bool GetSubKeys(const std::u16string& path, uint32_t& count);
bool GetSubKeys(const std::string& path, const std::string& subPath, std::set<std::string>& names);
bool GetSubKeys(const std::u16string& path, const std::u16string& subPath,
                std::set<std::u16string>& names);
bool GetInstallSubKeys(const std::string& path, uint32_t& count);
bool GetInstallSubKeys(const std::u16string& path, uint32_t& count);
bool GetInstallSubKeys(const std::string& path, const std::string& subPath,
                       std::set<std::string>& names);
bool GetInstallSubKeys(const std::u16string& path, const std::u16string& subPath,
                       std::set<std::u16string>& names);

bool GetValueNames(const std::string& path, uint32_t& count);
bool GetValueNames(const std::u16string& path, uint32_t& count);
bool GetValueNames(const std::string& path, std::set<std::string>& names);
bool GetValueNames(const std::u16string& path, std::set<std::u16string>& names);
bool GetInstallValueNames(const std::string& path, uint32_t& count);
bool GetInstallValueNames(const std::u16string& path, uint32_t& count);
bool GetInstallValueNames(const std::string& path, std::set<std::string>& names);
bool GetInstallValueNames(const std::u16string& path, std::set<std::u16string>& names);

bool SettingsKeyExists(const std::string& path);
bool SettingsKeyExists(const std::u16string& path);
bool InstallSettingsKeyExists(const std::string& path);
bool InstallSettingsKeyExists(const std::u16string& path);

// Deletes one value: Settings group in mode 2 (the user hive only), Install
// group in mode 3.
bool DeleteSetting(const std::string& path, const std::string& name);
bool DeleteSetting(const std::u16string& path, const std::u16string& name);
bool DeleteInstallSetting(const std::string& path, const std::string& name);
bool DeleteInstallSetting(const std::u16string& path, const std::u16string& name);

// Deletes a whole key of the Settings group (user hive, mode 2).
bool DeleteSettingsKey(const std::string& path);
bool DeleteSettingsKey(const std::u16string& path);
