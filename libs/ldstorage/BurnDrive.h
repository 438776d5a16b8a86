#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace burn {
struct burn_drive;
struct burn_drive_info;
struct burn_progress;
} // namespace burn

namespace ld {

class RecorderBackend;

// One libburn drive held through libisoburn: a real recorder ("/dev/sr0") or an image file
// ("stdio:/path"). Holding it is the exclusive access; the destructor releases it.
class BurnDrive
{
public:
    // A real recorder goes through its backend; an image file (no backend) straight to libburn.
    explicit BurnDrive(std::string address, std::shared_ptr<RecorderBackend> backend = nullptr);
    ~BurnDrive();
    BurnDrive(const BurnDrive&) = delete;
    BurnDrive& operator=(const BurnDrive&) = delete;

    // Acquires the drive; a status code and the reason when it cannot be had.
    int32_t acquire(std::string* reason);
    // Releases and acquires again: libburn judges an image file (absent, empty, written) once,
    // when it is acquired, so a written image is read back through a fresh acquisition.
    int32_t reacquire(std::string* reason);
    void release(bool eject = false);

    burn::burn_drive* drive() const { return drive_; }
    const std::string& address() const { return address_; }

    // Cancels whatever the drive is doing and waits until it is idle.
    void cancelAndWait();

    // The state of a running job (libburn's burn_drive_status) and its progress.
    int pollJob(burn::burn_progress* progress);
    bool jobWentWell();
    // Why the drive broke off its last job, when it said so (libburn's messages).
    std::string jobFailure();

    // Drives acquired by this process: libburn must not rescan while any is held.
    static int heldCount();

private:
    std::string address_;
    std::shared_ptr<RecorderBackend> backend_;
    burn::burn_drive_info* infos_ = nullptr;
    burn::burn_drive* drive_ = nullptr;
};

} // namespace ld
