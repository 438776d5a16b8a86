#pragma once

#include <cstdint>
#include <string>

namespace burn {
struct burn_drive;
struct burn_drive_info;
} // namespace burn

namespace ld {

// One libburn drive held through libisoburn: a real recorder ("/dev/sr0") or an image file
// ("stdio:/path"). Holding it is the exclusive access; the destructor releases it.
class BurnDrive
{
public:
    explicit BurnDrive(std::string address);
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

    // Drives acquired by this process: libburn must not rescan while any is held.
    static int heldCount();

private:
    std::string address_;
    burn::burn_drive_info* infos_ = nullptr;
    burn::burn_drive* drive_ = nullptr;
};

} // namespace ld
