#include "BurnDrive.h"

#include "BurnApi.h"
#include "BurnRuntime.h"
#include "LDStorage.h"
#include "LdLog.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace ld {

namespace {
std::atomic<int> held{0};
}

int BurnDrive::heldCount()
{
    return held.load();
}

BurnDrive::BurnDrive(std::string address) : address_(std::move(address)) {}

BurnDrive::~BurnDrive()
{
    release();
}

int32_t BurnDrive::acquire(std::string* reason)
{
    if (drive_)
        return LD_OK;
    if (!BurnRuntime::ensure()) {
        if (reason)
            *reason = "the burning libraries could not be started";
        return LD_DllFailedToLoad;
    }
    BurnRuntime::takeMessages();
    std::string adr = address_;
    // bit0: load the tray; bit5/bit6: ignore ACLs and extended attributes of the sources.
    const int rc = isoburn_drive_aquire(&infos_, adr.data(), 1 | 32 | 64);
    if (rc <= 0 || !infos_) {
        const std::string messages = BurnRuntime::takeMessages();
        if (reason)
            *reason = messages.empty() ? "the drive cannot be acquired" : messages;
        infos_ = nullptr;
        return rc == 0 ? LD_NotFound : LD_DeviceInUse;
    }
    drive_ = infos_[0].drive;
    ++held;
    return LD_OK;
}

int32_t BurnDrive::reacquire(std::string* reason)
{
    release();
    return acquire(reason);
}

void BurnDrive::release(bool eject)
{
    if (!drive_)
        return;
    cancelAndWait();
    isoburn_drive_release(drive_, eject ? 1 : 0);
    burn_drive_info_free(infos_);
    drive_ = nullptr;
    infos_ = nullptr;
    --held;
}

void BurnDrive::cancelAndWait()
{
    if (!drive_)
        return;
    if (burn_drive_get_status(drive_, nullptr) == BURN_DRIVE_IDLE)
        return;
    burn_drive_cancel(drive_);
    while (burn_drive_get_status(drive_, nullptr) != BURN_DRIVE_IDLE)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

} // namespace ld
