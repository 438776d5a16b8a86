#pragma once

#include "IKavoSettings.h"

#include <map>
#include <string>

namespace kvds {
class HiveFile;
}

// A key of the settings store below "SOFTWARE\Kavo\". The two hives are the
// user and machine hive files (see HiveFile); a key "opens" when it exists in
// its hive file, and the create modes create it there.
class KavoSettings : public kvtl::RefCountedImpl<kvds::IKavoSettings>
{
public:
    // Hive roots recorded after a successful open.
    enum RecordedRoot : uint32_t
    {
        NoRoot = 0,
        CurrentUserRoot = 1,
        LocalMachineRoot = 2
    };

    // Without a parent the path is "SOFTWARE\Kavo\" + name; with one it is the
    // parent's path + "\" + name, and the parent keeps a reference on this
    // object in its children.
    KavoSettings(const std::u16string& name, kvds::SettingsAccess mode,
                 KavoSettings* parent = nullptr);
    ~KavoSettings() override;
    KavoSettings(const KavoSettings&) = delete;
    KavoSettings& operator=(const KavoSettings&) = delete;

    const std::u16string& Path() const { return m_path; }
    kvds::SettingsAccess Mode() const { return m_mode; }
    RecordedRoot Root() const { return m_root; }

    // Opens (or, in the create modes, creates) the hives the mode uses.
    bool OpenKey();

    // True for the only paths DeleteKey may remove: strictly below the
    // "SOFTWARE\Kavo\" root.
    static bool IsDeletablePath(const std::u16string& fullPath);

    using kvds::IKavoSettings::GetValue;
    using kvds::IKavoSettings::SetValue;

    bool GetName(std::u16string& name) override;
    bool GetName(std::string& name) override;
    bool GetSubKeys(uint32_t& count) override;
    bool GetSubKeys(std::set<std::u16string>& names) override;
    bool GetSubKeys(std::set<std::string>& names) override;
    bool OpenSubKey(const std::u16string& path,
                    kvtl::RefCountedPtr<kvds::IKavoSettings>& out) override;
    bool OpenSubKey(const std::string& path,
                    kvtl::RefCountedPtr<kvds::IKavoSettings>& out) override;
    bool GetValueNames(uint32_t& count) override;
    bool GetValueNames(std::set<std::u16string>& names) override;
    bool GetValueNames(std::set<std::string>& names) override;

    bool SetValue(const std::u16string& name, int64_t value) override;
    bool SetValue(const std::string& name, int64_t value) override;
    bool SetValue(const std::u16string& name, int32_t value) override;
    bool SetValue(const std::string& name, int32_t value) override;
    bool SetValue(const std::u16string& name, uint32_t value) override;
    bool SetValue(const std::string& name, uint32_t value) override;
    bool SetValue(const std::u16string& name, uint64_t value) override;
    bool SetValue(const std::string& name, uint64_t value) override;
    bool SetValue(const std::u16string& name, long long value) override;
    bool SetValue(const std::string& name, long long value) override;
    bool SetValue(const std::u16string& name, float value) override;
    bool SetValue(const std::string& name, float value) override;
    bool SetValue(const std::u16string& name, double value) override;
    bool SetValue(const std::string& name, double value) override;
    bool SetValue(const std::u16string& name, bool value) override;
    bool SetValue(const std::string& name, bool value) override;
    bool SetValue(const std::u16string& name, const std::string& value) override;
    bool SetValue(const std::string& name, const std::string& value) override;
    bool SetValue(const std::u16string& name, const std::u16string& value) override;
    bool SetValue(const std::string& name, const std::u16string& value) override;
    bool SetValue(const std::u16string& name, const unsigned char* data, uint32_t size) override;
    bool SetValue(const std::string& name, const unsigned char* data, uint32_t size) override;

    bool GetValue(const std::u16string& name, int64_t& value) override;
    bool GetValue(const std::string& name, int64_t& value) override;
    bool GetValue(const std::u16string& name, int32_t& value) override;
    bool GetValue(const std::string& name, int32_t& value) override;
    bool GetValue(const std::u16string& name, uint32_t& value) override;
    bool GetValue(const std::string& name, uint32_t& value) override;
    bool GetValue(const std::u16string& name, uint64_t& value) override;
    bool GetValue(const std::string& name, uint64_t& value) override;
    bool GetValue(const std::u16string& name, long long& value) override;
    bool GetValue(const std::string& name, long long& value) override;
    bool GetValue(const std::u16string& name, float& value) override;
    bool GetValue(const std::string& name, float& value) override;
    bool GetValue(const std::u16string& name, double& value) override;
    bool GetValue(const std::string& name, double& value) override;
    bool GetValue(const std::u16string& name, bool& value) override;
    bool GetValue(const std::string& name, bool& value) override;
    bool GetValue(const std::u16string& name, std::string& value) override;
    bool GetValue(const std::string& name, std::string& value) override;
    bool GetValue(const std::u16string& name, std::u16string& value) override;
    bool GetValue(const std::string& name, std::u16string& value) override;
    bool GetValue(const std::u16string& name, kvtl::MemoryBuffer<unsigned char>& value) override;
    bool GetValue(const std::string& name, kvtl::MemoryBuffer<unsigned char>& value) override;

    bool DeleteKey() override;
    bool DeleteValue(const std::u16string& name) override;
    bool DeleteValue(const std::string& name) override;

private:
    struct Encoded;
    bool UsesUser() const;
    bool UsesMachine() const;
    bool HasFallback() const;
    bool PrimaryIsUser() const;
    bool PrimaryWritable() const;
    bool OpenHive(bool user, bool create, bool writeAccess);
    bool WriteRaw(const std::u16string& name, uint32_t type, const unsigned char* data,
                  size_t size);
    // Reads a value from the primary key, then the fallback key, accepting
    // only what `accept` (type, size) allows.
    bool ReadRaw(const std::u16string& name, bool (*accept)(uint32_t, size_t),
                 std::basic_string<unsigned char>& data);
    bool EnumerateSubKeys(bool user, std::set<std::u16string>& names);
    void EnumerateValues(bool user, std::set<std::u16string>& names);

    std::u16string m_path;
    std::u16string m_name;
    kvds::SettingsAccess m_mode;
    RecordedRoot m_root = NoRoot;
    bool m_userOpen = false;
    bool m_machineOpen = false;
    std::map<std::u16string, kvtl::RefCountedPtr_STLSafe<kvds::IKavoSettings>> m_children;
};

// Opens the settings object for `path` (components separated by "/" or
// "\") below `parent`, or below "SOFTWARE\Kavo\" without one. On success the
// leaf is stored in `out` with a reference taken.
bool OpenSettingsPath(const std::u16string& path, kvds::SettingsAccess mode, KavoSettings* parent,
                      kvtl::RefCountedPtr<kvds::IKavoSettings>& out);

// Opens `path` in the Install group (install) or the Settings group, choosing
// the mode from create and readOnly. An empty path fails.
bool OpenSettings(bool install, bool create, const std::u16string& path, bool readOnly,
                  kvtl::RefCountedPtr<kvds::IKavoSettings>& out);
bool OpenSettings(bool install, bool create, const std::string& path, bool readOnly,
                  kvtl::RefCountedPtr<kvds::IKavoSettings>& out);
