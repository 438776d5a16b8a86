#pragma once

#include "IRefCounted.h"
#include "MemoryBuffer.h"
#include "RefCountedPtr.h"

#include <cstdint>
#include <set>
#include <string>

namespace kvds {

// Which hives a settings object opens and how. The primary hive takes every
// write; modes 2, 5 and 8 read and enumerate the machine hive as a fallback.
enum SettingsAccess : int32_t
{
    CurrentUserReadWrite = 1,
    UserThenMachineReadWrite = 2,
    MachineReadWrite = 3,
    CurrentUserRead = 4,
    UserThenMachineRead = 5,
    MachineRead = 6,
    CurrentUserCreate = 7,
    UserCreateMachineOpen = 8,
    MachineCreate = 9
};

// One key of the settings store. Wide strings are UTF-16, narrow ones UTF-8;
// every operation returns false on failure and leaves its output untouched
// (the enumerations clear their output set first).
class IKavoSettings : public kvtl::IRefCounted
{
public:
    virtual bool GetName(std::u16string& name) = 0;
    virtual bool GetName(std::string& name) = 0;
    virtual bool GetSubKeys(uint32_t& count) = 0;
    virtual bool GetSubKeys(std::set<std::u16string>& names) = 0;
    virtual bool GetSubKeys(std::set<std::string>& names) = 0;
    virtual bool OpenSubKey(const std::u16string& path,
                            kvtl::RefCountedPtr<IKavoSettings>& out) = 0;
    virtual bool OpenSubKey(const std::string& path, kvtl::RefCountedPtr<IKavoSettings>& out) = 0;
    virtual bool GetValueNames(uint32_t& count) = 0;
    virtual bool GetValueNames(std::set<std::u16string>& names) = 0;
    virtual bool GetValueNames(std::set<std::string>& names) = 0;

    // Every integer is stored as an 8-byte QWORD.
    virtual bool SetValue(const std::u16string& name, int64_t value) = 0;
    virtual bool SetValue(const std::string& name, int64_t value) = 0;
    virtual bool SetValue(const std::u16string& name, int32_t value) = 0;
    virtual bool SetValue(const std::string& name, int32_t value) = 0;
    virtual bool SetValue(const std::u16string& name, uint32_t value) = 0;
    virtual bool SetValue(const std::string& name, uint32_t value) = 0;
    virtual bool SetValue(const std::u16string& name, uint64_t value) = 0;
    virtual bool SetValue(const std::string& name, uint64_t value) = 0;
    virtual bool SetValue(const std::u16string& name, long long value) = 0;
    virtual bool SetValue(const std::string& name, long long value) = 0;
    virtual bool SetValue(const std::u16string& name, float value) = 0;
    virtual bool SetValue(const std::string& name, float value) = 0;
    virtual bool SetValue(const std::u16string& name, double value) = 0;
    virtual bool SetValue(const std::string& name, double value) = 0;
    virtual bool SetValue(const std::u16string& name, bool value) = 0;
    virtual bool SetValue(const std::string& name, bool value) = 0;
    virtual bool SetValue(const std::u16string& name, const std::string& value) = 0;
    virtual bool SetValue(const std::string& name, const std::string& value) = 0;
    virtual bool SetValue(const std::u16string& name, const std::u16string& value) = 0;
    virtual bool SetValue(const std::string& name, const std::u16string& value) = 0;
    virtual bool SetValue(const std::u16string& name, const unsigned char* data, uint32_t size) = 0;
    virtual bool SetValue(const std::string& name, const unsigned char* data, uint32_t size) = 0;

    virtual bool GetValue(const std::u16string& name, int64_t& value) = 0;
    virtual bool GetValue(const std::string& name, int64_t& value) = 0;
    virtual bool GetValue(const std::u16string& name, int32_t& value) = 0;
    virtual bool GetValue(const std::string& name, int32_t& value) = 0;
    virtual bool GetValue(const std::u16string& name, uint32_t& value) = 0;
    virtual bool GetValue(const std::string& name, uint32_t& value) = 0;
    virtual bool GetValue(const std::u16string& name, uint64_t& value) = 0;
    virtual bool GetValue(const std::string& name, uint64_t& value) = 0;
    virtual bool GetValue(const std::u16string& name, long long& value) = 0;
    virtual bool GetValue(const std::string& name, long long& value) = 0;
    virtual bool GetValue(const std::u16string& name, float& value) = 0;
    virtual bool GetValue(const std::string& name, float& value) = 0;
    virtual bool GetValue(const std::u16string& name, double& value) = 0;
    virtual bool GetValue(const std::string& name, double& value) = 0;
    virtual bool GetValue(const std::u16string& name, bool& value) = 0;
    virtual bool GetValue(const std::string& name, bool& value) = 0;
    virtual bool GetValue(const std::u16string& name, std::string& value) = 0;
    virtual bool GetValue(const std::string& name, std::string& value) = 0;
    virtual bool GetValue(const std::u16string& name, std::u16string& value) = 0;
    virtual bool GetValue(const std::string& name, std::u16string& value) = 0;
    virtual bool GetValue(const std::u16string& name, kvtl::MemoryBuffer<unsigned char>& value) = 0;
    virtual bool GetValue(const std::string& name, kvtl::MemoryBuffer<unsigned char>& value) = 0;

    virtual bool DeleteKey() = 0;
    virtual bool DeleteValue(const std::u16string& name) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;

    // Non-virtual conveniences so that string literals and the remaining
    // 64-bit type pick the intended overload (a bare const char* would
    // otherwise convert to bool).
    bool SetValue(const std::u16string& name, const char* value)
    {
        return value && SetValue(name, std::string(value));
    }
    bool SetValue(const std::string& name, const char* value)
    {
        return value && SetValue(name, std::string(value));
    }
    bool SetValue(const std::u16string& name, const char16_t* value)
    {
        return value && SetValue(name, std::u16string(value));
    }
    bool SetValue(const std::string& name, const char16_t* value)
    {
        return value && SetValue(name, std::u16string(value));
    }
    // Any other pointer would silently become a bool; binary data takes a size.
    template <class T> bool SetValue(const std::u16string& name, const T* value) = delete;
    template <class T> bool SetValue(const std::string& name, const T* value) = delete;
    bool SetValue(const std::u16string& name, unsigned long long value)
    {
        return SetValue(name, static_cast<int64_t>(value));
    }
    bool SetValue(const std::string& name, unsigned long long value)
    {
        return SetValue(name, static_cast<int64_t>(value));
    }
    bool GetValue(const std::u16string& name, unsigned long long& value)
    {
        int64_t v = 0;
        if (!GetValue(name, v))
            return false;
        value = static_cast<unsigned long long>(v);
        return true;
    }
    bool GetValue(const std::string& name, unsigned long long& value)
    {
        int64_t v = 0;
        if (!GetValue(name, v))
            return false;
        value = static_cast<unsigned long long>(v);
        return true;
    }
};

using SettingsPtr = kvtl::RefCountedPtr<IKavoSettings>;

} // namespace kvds
