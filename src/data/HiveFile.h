#pragma once

#include "RegistryHive.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

namespace kvds {

// The system calls through which a hive file is written. Tests replace them
// to make a write, an fsync or a rename fail.
struct HiveFileOperations
{
    ssize_t (*write)(int fd, const void* data, size_t size) = ::write;
    int (*fsync)(int fd) = ::fsync;
    int (*rename)(const char* from, const char* to) = ::rename;
};

// One hive of the settings store as a .reg text file. The user hive is
// $XDG_CONFIG_HOME/Kavo/user.reg (KAVO_USER_HIVE overrides it), the machine
// hive /etc/xdg/Kavo/machine.reg (KAVO_MACHINE_HIVE). Paths are resolved when
// the object is made, so each operation follows the current environment.
//
// Writes never lose data: each one takes an exclusive flock on "<file>.lock",
// re-reads the file, applies its change, writes a temporary file beside it,
// fsyncs it and renames it over the hive. A file that cannot be used (not a
// regular file, larger than MaxFileSize, unparsable, keys nested deeper than
// RegistryHive::MaxKeyDepth) is never overwritten: it reads as empty, writes
// to it fail, and one warning per file is logged.
//
// Reads share one parsed copy per file and process, kept until the file's
// identity (device, inode, size, times) changes.
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

    // Settings files are a few kilobytes; anything this large is not one.
    static constexpr size_t MaxFileSize = 4 * 1024 * 1024;

    explicit HiveFile(Root root);
    HiveFile(Root root, const std::string& path, const HiveFileOperations& operations = {});

    static std::string DefaultPath(Root root);

    Root GetRoot() const { return m_root; }
    const std::string& Path() const { return m_path; }
    // "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
    std::u16string RootName() const;

    // The parsed file, never null. A missing or empty file is an empty hive
    // (usable); an unreadable or damaged one an empty hive, not usable.
    std::shared_ptr<const RegistryHive> Snapshot(bool* usable = nullptr) const;
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
    // Reads the file; with useCache a copy parsed earlier is taken when the
    // file has not changed since.
    ReadResult Read(const std::string& path, bool useCache,
                    std::shared_ptr<const RegistryHive>& hive) const;
    std::string ResolvedPath() const;
    bool WriteAtomically(const std::string& path, const std::string& bytes) const;

    Root m_root;
    std::string m_path;
    HiveFileOperations m_ops;
};

} // namespace kvds
