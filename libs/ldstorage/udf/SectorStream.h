#pragma once

// Reads a planned bridge image front to back: volume structures from the prepared header,
// file entries built on the fly, then each source file in turn through one bounded buffer.
// A source that is missing, unreadable, or no longer the planned size fails the stream with a
// status and the file's name instead of writing a damaged image.

#include "ContentDigest.h"
#include "LayoutPlanner.h"
#include "SourceRead.h"
#include "UdfBridgeImage.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace udf {

class SectorStream
{
public:
    SectorStream(std::shared_ptr<const Layout> layout,
                 std::shared_ptr<const std::vector<uint8_t>> header);
    ~SectorStream();
    SectorStream(const SectorStream&) = delete;
    SectorStream& operator=(const SectorStream&) = delete;

    // Fills `buffer` with the next `size` bytes; fewer only at the end. Returns the bytes given,
    // 0 at the end, -1 once the stream failed.
    int read(uint8_t* buffer, int size);
    // The consumer stopped reading (may come from another thread): the next read releases the
    // open source and ends the stream.
    void stop();

    uint64_t sectorsDone() const { return position_.load() / sectorSize; }
    void cancel() { cancelled_ = true; }
    Failure failure() const;
    std::vector<std::string> unreadableFiles() const;
    // How file `index` was read, once the stream has passed its last byte.
    SourceRead sourceRead(size_t index) const;

private:
    size_t fill(uint8_t* out, size_t want);
    size_t fillData(uint8_t* out, size_t want);
    bool openFile(const PlannedFile& file);
    bool refill(const PlannedFile& file);
    // Reads the open (or first opened) file's next bytes, at most `capacity`, digesting them;
    // 0 once the stream failed.
    size_t readSource(const PlannedFile& file, uint8_t* into, size_t capacity);
    // A source must keep the size it was planned with, or the image would be damaged.
    bool keepsPlannedSize(const PlannedFile& file, struct stat* now);
    void closeFile();
    void fail(int32_t status, const std::string& message, const std::string& unreadablePath = {});

    std::shared_ptr<const Layout> layout_;
    std::shared_ptr<const std::vector<uint8_t>> header_;
    const uint64_t totalBytes_;
    std::atomic<uint64_t> position_{0};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> stopped_{false};
    bool failed_ = false;

    std::vector<uint8_t> sector_; // a file entry or the closing anchor, built when reached
    uint64_t sectorBuilt_ = UINT64_MAX;

    size_t file_ = 0; // file whose data the position is in or before
    int fd_ = -1;
    uint64_t fileRead_ = 0; // bytes of the open file read into the buffer so far
    std::vector<uint8_t> buffer_;
    size_t bufferAt_ = 0;
    size_t bufferEnd_ = 0;
    ContentDigest digest_;    // of the open file, as far as it was read
    struct stat opened_ = {}; // the open file's identity when it was opened

    mutable std::mutex mutex_;
    Failure failure_;
    std::vector<std::string> unreadable_;
    std::vector<SourceRead> reads_;
};

} // namespace udf
