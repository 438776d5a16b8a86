#pragma once

#include <QString>

// Turns a video's file name into one the destination's file system accepts, the way desktop
// file managers do when they copy to a stick: FAT, exFAT and NTFS (as Windows and ntfs-3g's
// windows_names see it) refuse " * : < > ? \ | and control characters, drop trailing dots and
// spaces, hold at most 255 UTF-16 units and compare names without regard to case; FAT and
// NTFS also refuse the device names CON, PRN, AUX, NUL, COM1-9 and LPT1-9. Other file systems
// keep the name as it is, within their byte limit. Names are shortened at a character
// boundary and keep their extension; room is left for the part file's suffix.
class FileNameMapper
{
public:
    enum class Rules
    {
        // Any byte but "/" and NUL; length in bytes (ext4, btrfs, an unknown folder).
        Posix,
        Fat,
        ExFat,
        Ntfs
    };

    // Limit of FAT long names, exFAT and NTFS names, in UTF-16 units.
    static constexpr int WindowsNameUnits = 255;

    explicit FileNameMapper(Rules rules = Rules::Posix, int nameMaxBytes = 255);
    // Rules for a drive's file-system code (FS_FAT...); the byte limit read from the folder's
    // file system when folder is given.
    static FileNameMapper forDrive(unsigned int fileSystemCode, const QString& folder = QString());

    Rules rules() const { return m_rules; }
    bool caseInsensitive() const { return m_rules != Rules::Posix; }
    // The rules to try once when a drive of unknown type refuses a name as invalid.
    FileNameMapper windowsFallback() const;

    // name as the drive accepts it, short enough that name + reserve still fits.
    QString map(const QString& name, const QString& reserve = QString()) const;
    // The attempt-th candidate for an already mapped name: the name itself, then
    // "name (2).ext", "name (3).ext"..., each within the limits.
    QString numbered(const QString& mappedName, int attempt,
                     const QString& reserve = QString()) const;
    // The path of the entry in folder that holds name under these rules (the same name, or on
    // a case-insensitive drive one differing only by case), empty when none does.
    QString existing(const QString& folder, const QString& name) const;

private:
    bool fits(const QString& name) const;
    QString shortened(const QString& base, const QString& tail) const;

    Rules m_rules;
    int m_nameMaxBytes;
};
