#include "DiscWriter.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "BurnRuntime.h"
#include "LDStorage.h"
#include "ProgressReporter.h"

#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace ld {

namespace {

// Starts the writeback of an image file's dirty pages as the write goes, so that the disk works
// while the stream is produced and the final sync finds little left. Without it the kernel
// holds gigabytes back until that sync (or until the dirty limit throttles the writer), and a
// disk that another program's big write has just busied makes us wait for all of it at once.
class ImageWriteback
{
public:
    explicit ImageWriteback(const std::string& path) : path_(path) {}
    ~ImageWriteback()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    void kick()
    {
        if (path_.empty())
            return;
        if (fd_ < 0)
            fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ >= 0)
            ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    }

private:
    std::string path_;
    int fd_ = -1;
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
    while (drive.pollJob(&p) != BURN_DRIVE_IDLE) {
        writeback.kick();
        const uint64_t current = p.sector > 0 ? uint64_t(p.sector) : 0;
        if (!progress.report(LD_PhaseWrite, current, totalSectors) && !cancelSent) {
            burn_drive_cancel(d);
            cancelSent = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
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
