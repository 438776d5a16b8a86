#include "SessionVerifier.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "LDStorage.h"
#include "ProgressReporter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace ld {

namespace {

using Digest = udf::ContentDigest::Value;
constexpr size_t kChunk = 4 * 1024 * 1024;

// Counts verified blocks and reports them a few times a second.
class VerifyProgress
{
public:
    VerifyProgress(ProgressReporter& reporter, uint64_t total) : reporter_(reporter), total_(total)
    {
    }
    bool add(uint64_t blocks)
    {
        done_ += blocks;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(200))
            return !reporter_.cancelled();
        last_ = now;
        return reporter_.report(LD_PhaseVerify, done_, total_);
    }

private:
    ProgressReporter& reporter_;
    uint64_t total_;
    uint64_t done_ = 0;
    std::chrono::steady_clock::time_point last_{};
};

struct SourceDigest
{
    bool ok = false;
    Digest digest{};
    uint64_t size = 0;
    std::string error;
    int errorNumber = 0;
};

bool digestSourceInto(const std::string& path, SourceDigest* out, const std::atomic<bool>& stop)
{
    uint64_t* size = &out->size;
    std::string* error = &out->error;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        out->errorNumber = errno;
        *error = std::strerror(errno);
        return false;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    std::vector<char> buffer(kChunk);
    udf::ContentDigest digest;
    *size = 0;
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            out->errorNumber = errno;
            *error = std::strerror(errno);
            ok = false;
            break;
        }
        if (got == 0 || stop)
            break;
        digest.add(buffer.data(), size_t(got));
        *size += uint64_t(got);
    }
    ::close(fd);
    out->digest = digest.value();
    return ok;
}

// Runs beside the read-back on a second thread, for a source the write did not read as it is.
SourceDigest digestSource(const std::string& path, const std::atomic<bool>& stop)
{
    SourceDigest out;
    out.ok = digestSourceInto(path, &out, stop);
    return out;
}

int32_t digestDisc(BurnDrive& drive, const std::vector<DataSpan>& spans, Digest* onDisc,
                   VerifyProgress& progress)
{
    std::vector<char> buffer(kChunk);
    udf::ContentDigest digest;
    int32_t status = LD_OK;
    for (const DataSpan& span : spans) {
        uint64_t left = span.bytes;
        off_t address = off_t(span.startBlock) * 2048;
        while (left > 0 && status == LD_OK) {
            const uint64_t want = std::min<uint64_t>(left, kChunk);
            const off_t whole = off_t((want + 2047) / 2048 * 2048);
            off_t got = 0;
            if (burn_read_data(drive.drive(), address, buffer.data(), whole, &got, 2) <= 0 ||
                got < off_t(want)) {
                status = LD_ReadError;
                break;
            }
            digest.add(buffer.data(), size_t(want));
            left -= want;
            address += whole;
            if (!progress.add(uint64_t(whole) / 2048))
                status = LD_UserCancelled;
        }
    }
    *onDisc = digest.value();
    return status;
}

} // namespace

SessionVerifier::Result SessionVerifier::verify(BurnDrive& drive,
                                                const std::vector<VolumeEntry>& entries,
                                                const std::vector<udf::SourceRead>& reads,
                                                const std::vector<std::vector<DataSpan>>& spans,
                                                ProgressReporter& reporter)
{
    Result result;
    uint64_t totalBlocks = 0;
    for (const auto& file : spans)
        for (const DataSpan& span : file)
            totalBlocks += (span.bytes + 2047) / 2048;
    if (!reporter.report(LD_PhaseVerify, 0, totalBlocks)) {
        result.status = LD_UserCancelled;
        return result;
    }
    VerifyProgress progress(reporter, totalBlocks);
    for (size_t i = 0; i < entries.size() && i < spans.size(); ++i) {
        const VolumeEntry& entry = entries[i];
        std::atomic<bool> stop{false};
        struct stat now = {};
        const bool known = i < reads.size() && ::stat(entry.sourcePath.c_str(), &now) == 0 &&
                           reads[i].stillMatches(now);
        std::future<SourceDigest> pending;
        if (!known)
            pending =
                std::async(std::launch::async, digestSource, entry.sourcePath, std::cref(stop));
        Digest onDisc{};
        const int32_t read = digestDisc(drive, spans[i], &onDisc, progress);
        if (read != LD_OK)
            stop = true;
        SourceDigest source;
        if (known)
            source = {true, reads[i].digest, uint64_t(now.st_size), {}, 0};
        else
            source = pending.get();
        if (read == LD_UserCancelled) {
            result.status = read;
            result.reason = "cancelled";
            return result;
        }
        if (read != LD_OK) {
            result.status = LD_ReadError;
            result.reason = "\"" + entry.name + "\" cannot be read back from the disc";
            return result;
        }
        if (!source.ok) {
            result.unreadableSources.push_back(entry.sourcePath);
            if (result.status == LD_OK) {
                result.status = source.errorNumber == ENOENT ? LD_FileNotFound : LD_ReadError;
                result.reason = entry.sourcePath + " cannot be read: " + source.error;
            }
            continue;
        }
        uint64_t onDiscSize = 0;
        for (const DataSpan& span : spans[i])
            onDiscSize += span.bytes;
        if (onDiscSize != source.size || source.digest != onDisc) {
            result.status = LD_DataMiscompare;
            result.reason = "\"" + entry.name + "\" on the disc differs from " + entry.sourcePath;
            return result;
        }
    }
    if (result.status == LD_OK)
        reporter.report(LD_PhaseVerify, totalBlocks, totalBlocks);
    return result;
}

} // namespace ld
