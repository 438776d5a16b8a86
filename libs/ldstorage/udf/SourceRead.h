#pragma once

#include "ContentDigest.h"

#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace udf {

// A source file as the write read it: the digest of every byte that went on the disc and the
// file's identity while it was read. The read-back compares the medium with this digest instead
// of reading the source a second time, as long as the file on disk is still that version.
struct SourceRead
{
    bool complete = false;
    ContentDigest::Value digest{};
    struct stat identity = {};

    // Same file, same size, and neither written (mtime) nor otherwise touched (ctime) since.
    static bool sameVersion(const struct stat& a, const struct stat& b)
    {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
               a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
               a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
    }
    bool stillMatches(const struct stat& now) const
    {
        return complete && sameVersion(identity, now);
    }

    // The reasons a source that changed under the write fails it with, the same for every
    // file system we write.
    static std::string shorterText(const std::string& path, uint64_t read, uint64_t planned)
    {
        return path + ": the file became shorter during the write (" + std::to_string(read) +
               " of " + std::to_string(planned) + " bytes).";
    }
    static std::string changedSizeText(const std::string& path, uint64_t planned, int64_t now)
    {
        return path + ": the file changed size during the write (" + std::to_string(planned) +
               " bytes planned, " + std::to_string(now) + " now).";
    }
};

} // namespace udf
