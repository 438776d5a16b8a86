#include "BurnDrive.h"

#include "BurnApi.h"
#include "BurnRuntime.h"
#include "LDStorage.h"
#include "LdLog.h"
#include "RecorderBackend.h"

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

BurnDrive::BurnDrive(std::string address, std::shared_ptr<RecorderBackend> backend)
    : address_(std::move(address)), backend_(std::move(backend))
{
}

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
    if (backend_) {
        const int32_t refused = backend_->checkAcquire(address_, reason);
        if (refused != LD_OK)
            return refused;
    }
    BurnRuntime::takeMessages();
    std::string adr = backend_ ? backend_->dataAddress(address_) : address_;
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
    if (pollJob(nullptr) == BURN_DRIVE_IDLE)
        return;
    // libburn.h: cancel, then wait for BURN_DRIVE_IDLE before the drive is released.
    burn_drive_cancel(drive_);
    while (pollJob(nullptr) != BURN_DRIVE_IDLE)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

int BurnDrive::pollJob(burn_progress* progress)
{
    return backend_ ? backend_->pollJob(address_, drive_, progress)
                    : burn_drive_get_status(drive_, progress);
}

bool BurnDrive::jobWentWell()
{
    return backend_ ? backend_->jobWentWell(address_, drive_) : burn_drive_wrote_well(drive_) > 0;
}

std::string BurnDrive::jobFailure()
{
    return backend_ ? backend_->jobFailure(address_) : BurnRuntime::takeMessages();
}

} // namespace ld
