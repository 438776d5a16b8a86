#pragma once

#include "udf/ContentDigest.h"
#include "udf/SourceRead.h"

#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>

struct iso_stream;

namespace ld {

// A source file as libisofs reads it into an ISO 9660 session. Every byte handed to libisofs
// goes into a digest, so that the read-back compares the medium with it instead of reading the
// source a second time. A source that cannot be opened or read, or that no longer has the size
// it was added with, fails the write with its name (libisofs alone would fill it with zeros).
class IsoSourceStream
{
public:
    // A new stream (one reference, for libisofs to take) over `path`, whose identity and size
    // are `added`; `state` tells later how the write read it.
    static iso_stream* create(const std::string& path, const struct stat& added,
                              std::shared_ptr<IsoSourceStream>* state);

    explicit IsoSourceStream(std::string path, const struct stat& added);
    ~IsoSourceStream();
    IsoSourceStream(const IsoSourceStream&) = delete;
    IsoSourceStream& operator=(const IsoSourceStream&) = delete;

    // Complete once a single pass handed out every byte and the file stayed that version.
    udf::SourceRead sourceRead() const;
    // Why the stream failed (0 while it did not).
    int32_t failure(std::string* reason) const;
    const std::string& path() const { return path_; }
    const struct stat& added() const { return added_; }

    // libisofs's calls, on its writer thread.
    int open();
    int close();
    int read(void* into, size_t count);
    uint64_t size() const { return uint64_t(added_.st_size); }

private:
    bool refill();
    bool keepsSize(struct stat* now);
    int fail(int32_t status, const std::string& message);

    const std::string path_;
    const struct stat added_;

    int fd_ = -1;
    struct stat opened_ = {};
    uint64_t handedOut_ = 0; // bytes given to libisofs in this pass
    uint64_t fileRead_ = 0;  // bytes read from the file in this pass
    std::unique_ptr<uint8_t[]> buffer_;
    size_t bufferAt_ = 0;
    size_t bufferEnd_ = 0;
    udf::ContentDigest digest_;

    mutable std::mutex mutex_;
    udf::SourceRead read_;
    int32_t failure_ = 0;
    std::string reason_;
};

} // namespace ld
