#pragma once

#include "RegistryHive.h"

#include <functional>
#include <string>

namespace kvds {

// One hive of the settings store as a .reg text file. The user hive is
// $XDG_CONFIG_HOME/Kavo/user.reg (KAVO_USER_HIVE overrides it), the machine
// hive /etc/xdg/Kavo/machine.reg (KAVO_MACHINE_HIVE). Paths are resolved when
// the object is made, so each operation follows the current environment.
//
// Writes never lose data: each one takes an exclusive flock on "<file>.lock",
// re-reads the file, applies its change, writes a temporary file beside it,
// fsyncs it and renames it over the hive. A file that cannot be parsed is
// never overwritten: it reads as empty, writes to it fail, and one warning
// per file is logged.
class HiveFile
{
public:
    enum Root
    {
        CurrentUser,
        LocalMachine
    };
    enum class Change
    {
        Fail,
        Unchanged,
        Changed
    };

    explicit HiveFile(Root root);
    HiveFile(Root root, const std::string& path);

    static std::string DefaultPath(Root root);

    Root GetRoot() const { return m_root; }
    const std::string& Path() const { return m_path; }
    // "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
    std::u16string RootName() const;

    // A missing or empty file is an empty hive (true). An unreadable or
    // damaged file gives an empty hive and false.
    bool Load(RegistryHive& hive) const;
    // Whether this process may write the file (or create it and its folder).
    bool IsWritable() const;
    // Locked read-modify-write; true when the change was applied and stored
    // (or changed nothing).
    bool Update(const std::function<Change(RegistryHive&)>& change) const;

private:
    enum class ReadResult
    {
        Ok,
        Missing,
        Failed
    };
    ReadResult ReadAndParse(const std::string& path, RegistryHive& hive) const;
    std::string ResolvedPath() const;
    bool WriteAtomically(const std::string& path, const std::string& bytes) const;

    Root m_root;
    std::string m_path;
};

} // namespace kvds
