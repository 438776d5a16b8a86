#pragma once

#include "udf/SourceRead.h"

#include <cstdint>
#include <string>
#include <vector>

namespace burn {
struct burn_disc;
}

namespace ld {

class BurnDrive;

// A file to be written, as the volume collected it.
struct VolumeEntry
{
    std::string name;       // UTF-8 name at the root of the disc (already unique)
    std::u16string name16;  // the same name in UTF-16
    std::string sourcePath; // UTF-8 path on the hard disk
    uint64_t size = 0;
};

// Where a file's data lies on the medium: one or more runs of blocks.
struct DataSpan
{
    uint64_t startBlock = 0;
    uint64_t bytes = 0;
};

// The file system of a new session, produced as a stream for libburn. ISO 9660 comes from
// libisofs (IsoVolumeImage); UDF from our bridge writer (UdfVolumeImage).
class VolumeImage
{
public:
    virtual ~VolumeImage() = default;

    // A name already taken on the medium (a mounted session's files).
    virtual bool hasName(const std::string& name) const = 0;
    virtual int32_t addFile(const VolumeEntry& entry, std::string* reason) = 0;
    // Lays the session out and returns the disc to hand to libburn; the image owns it.
    virtual int32_t plan(BurnDrive& drive, std::string* reason) = 0;
    virtual burn::burn_disc* disc() const = 0;
    virtual uint64_t totalSectors() const = 0;
    virtual uint64_t startBlock() const = 0;
    // Whether libisoburn writes the session (it places it and grows the file system in place);
    // otherwise libburn writes the stream as it is, from the first block.
    virtual bool writtenByIsoburn() const = 0;
    // Why the stream itself failed during the write (a source that vanished or changed), with
    // the sources it could not read; 0 when the stream did not fail.
    virtual int32_t streamFailure(std::string* reason, std::vector<std::string>* unreadable) const
    {
        return (void)reason, (void)unreadable, 0;
    }
    // How the write read the source of added file `index`, when the stream itself read it;
    // otherwise (incomplete) the read-back reads the source again.
    virtual udf::SourceRead sourceRead(size_t index) const
    {
        return (void)index, udf::SourceRead{};
    }
    // After a good write: make the new session the one readers see.
    virtual int32_t closeSession(BurnDrive& drive, std::string* reason) = 0;
    // Drops a planned session that will not be written (too big, cancelled, failed).
    virtual void abandon(BurnDrive& drive) = 0;
    // Where each added file's data lies, read back after the write, in the order of addFile.
    virtual int32_t locateFiles(BurnDrive& drive, std::vector<std::vector<DataSpan>>* spans,
                                std::string* reason) = 0;
};

} // namespace ld
