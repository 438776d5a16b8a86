#pragma once

// A UDF 1.50 bridge image: ISO 9660 (+ Joliet) and UDF over the same file data, produced sector
// by sector for libburn. Planning stats the sources and refuses what cannot be written before
// anything is written; the stream then reads each source once, in order, with flat memory.

#include "SourceRead.h"

#include <libburn/libburn.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace udf {

struct SourceFile
{
    std::string path;    // host path (UTF-8)
    std::u16string name; // name at the disc root
};

struct ImageSettings
{
    std::string volumeId = "KavoTransferWizard";
    uint64_t capacitySectors = 0; // 0: no limit
};

struct Failure
{
    int32_t status = 0; // an LD_ status code, 0 while nothing failed
    std::string message;
};

struct FileExtent
{
    uint64_t lba = 0;    // absolute sector of the image
    uint64_t length = 0; // bytes
};

struct Layout;
class SectorStream;

class BridgeImage
{
public:
    // Stats every source and places everything; on failure returns null and fills `failure`
    // (missing or unreadable source, not a regular file, too large, over the capacity).
    static std::unique_ptr<BridgeImage> plan(const std::vector<SourceFile>& sources,
                                             const ImageSettings& settings, Failure* failure);
    ~BridgeImage();

    uint64_t totalSectors() const;
    // A new stream from the first sector on, with one reference for the caller, who frees it
    // with burn_source_free(). It stays valid after this object is gone. It delivers any amount
    // a read (bit 0 of burn_fifo_source_new's flag) and reads its sources in 2 MiB chunks, so
    // it can go straight to the track; a libburn fifo of 4 MB caps an image file burner at
    // about 75 MB/s (its worker sleeps whenever the ring is full; see bench/udf).
    burn::burn_source* makeBurnSource();
    // Progress of the latest stream.
    uint64_t sectorsDone() const;
    // Thread-safe; the stream's next read then fails with LD_UserCancelled.
    void cancel();
    // Why the latest stream failed (status 0 while it has not).
    Failure failure() const;
    // Where file `fileIndex` lies on the disc, as its UDF extents (the ISO side shares them).
    std::vector<FileExtent> fileExtents(size_t fileIndex) const;
    std::vector<std::string> unreadableFiles() const;
    // How the latest stream read source `fileIndex` (complete once it passed its last byte).
    SourceRead sourceRead(size_t fileIndex) const;

    // Names the file got on each side, in source order.
    const Layout& layout() const { return *layout_; }

private:
    BridgeImage() = default;

    std::shared_ptr<const Layout> layout_;
    std::shared_ptr<const std::vector<uint8_t>> header_;
    std::shared_ptr<SectorStream> stream_;
};

} // namespace udf
