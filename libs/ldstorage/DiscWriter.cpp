#include "DiscWriter.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "BurnRuntime.h"
#include "LDStorage.h"
#include "ProgressReporter.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace ld {

namespace {

// Follows an image file's pages to the disk while the write runs. libburn's writes land in the
// system's cache, which takes gigabytes in a second or two and then holds the writer back to the
// disk's pace; the sectors libburn has passed say nothing about what is written. So the writeback
// is started as the write goes (the disk works while the stream is produced, the final sync finds
// little left) and the progress reported is what has reached the disk: it then moves at the
// disk's steady rate, as a recorder's does, and a time estimated from it holds.
class ImageWriteback
{
public:
    explicit ImageWriteback(const std::string& path) : path_(path) {}
    ~ImageWriteback()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    // Of the sectors written from startLba on, how many are on the disk; waits for the disk for
    // at most budget. A recorder's, or a file the system cannot follow, counts as written.
    uint64_t confirmed(int startLba, uint64_t written, std::chrono::milliseconds budget)
    {
        if (path_.empty() || failed_)
            return written;
        if (fd_ < 0)
            fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0 || ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE) != 0) {
            failed_ = true;
            return written;
        }
        const off64_t start = off64_t(startLba > 0 ? startLba : 0) * 2048;
        const off64_t target = start + off64_t(written) * 2048;
        if (done_ < start)
            done_ = start;
        const auto until = std::chrono::steady_clock::now() + budget;
        constexpr off64_t Chunk = 16 << 20;
        while (done_ < target && std::chrono::steady_clock::now() < until) {
            const off64_t n = std::min(Chunk, target - done_);
            if (::sync_file_range(fd_, done_, n,
                                  SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                      SYNC_FILE_RANGE_WAIT_AFTER) != 0) {
                failed_ = true;
                return written;
            }
            done_ += n;
        }
        return uint64_t(std::min(done_, target) - start) / 2048;
    }

private:
    std::string path_;
    int fd_ = -1;
    bool failed_ = false;
    off64_t done_ = 0;
};

} // namespace

int32_t DiscWriter::write(BurnDrive& drive, burn_disc* disc, bool throughIsoburn,
                          uint64_t totalSectors, const std::string& imageFile,
                          ProgressReporter& progress, std::string* reason)
{
    burn_drive* d = drive.drive();
    burn_write_opts* opts = burn_write_opts_new(d);
    if (!opts) {
        *reason = "out of memory";
        return LD_Fatal;
    }
    burn_write_opts_set_perform_opc(opts, 0);
    burn_write_opts_set_underrun_proof(opts, 1);
    burn_write_opts_set_multi(opts, 0); // a written disc is closed
    // An image file is synced once, at the end: complete on the disk when we say so, without
    // stalling the stream every 16 MB as libburn does by default.
    burn_write_opts_set_stdio_fsync(opts, 1);
    char reasons[BURN_REASONS_LEN] = {};
    if (burn_write_opts_auto_write_type(opts, disc, reasons, 0) == BURN_WRITE_NONE) {
        burn_write_opts_free(opts);
        *reason = std::string("the medium cannot be written: ") + reasons;
        return LD_MediaError;
    }
    burn_drive_set_speed(d, 0, 0);
    // libburn marks the drive busy before it returns when it takes the job. A drive that is
    // still idle refused it: most often the worker of a write that was just cancelled on the
    // same drive slot has not quite ended, so try again for a while.
    std::string refusal;
    for (int attempt = 0; attempt < 50; ++attempt) {
        BurnRuntime::takeMessages();
        if (throughIsoburn)
            isoburn_disc_write(opts, disc);
        else
            burn_disc_write(opts, disc);
        if (burn_drive_get_status(d, nullptr) != BURN_DRIVE_IDLE) {
            refusal.clear();
            break;
        }
        refusal = BurnRuntime::takeMessages();
        if (refusal.find("still going on") == std::string::npos)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    burn_write_opts_free(opts);
    if (!refusal.empty() || burn_drive_get_status(d, nullptr) == BURN_DRIVE_IDLE) {
        if (burn_drive_wrote_well(d) <= 0 || !refusal.empty()) {
            *reason = refusal.empty() ? "the drive did not start writing" : refusal;
            return LD_WriteError;
        }
    }

    bool cancelSent = false;
    burn_progress p = {};
    ImageWriteback writeback(imageFile);
    constexpr std::chrono::milliseconds Poll(200);
    while (drive.pollJob(&p) != BURN_DRIVE_IDLE) {
        const auto polled = std::chrono::steady_clock::now();
        const uint64_t current = writeback.confirmed(
            p.start_sector, p.sector > 0 ? uint64_t(p.sector) : 0, cancelSent ? Poll * 0 : Poll);
        if (!progress.report(LD_PhaseWrite, current, totalSectors) && !cancelSent) {
            burn_drive_cancel(d);
            cancelSent = true;
        }
        std::this_thread::sleep_until(polled + Poll);
    }
    const bool wroteWell = drive.jobWentWell();
    const std::string messages = drive.jobFailure();
    if (cancelSent || progress.cancelled()) {
        *reason = "cancelled";
        return LD_UserCancelled;
    }
    if (!wroteWell) {
        *reason = messages.empty() ? "the drive reported a failed write" : messages;
        return LD_WriteError;
    }
    return LD_OK;
}

} // namespace ld
