#include "FakeRecorderBackend.h"

#include "BurnApi.h"
#include "LDStorage.h"

#include <chrono>
#include <sys/stat.h>
#include <thread>

using ld::MediumReport;
using ld::TrayState;

FakeRecorderBackend::Drive FakeRecorderBackend::recorder(const std::string& address,
                                                         const std::string& image)
{
    Drive d;
    d.info.address = address;
    d.info.vendor = "HL-DT-ST";
    d.info.product = "DVDRAM GH24NSD1";
    d.info.writesCd = d.info.writesDvd = d.info.readsDvd = true;
    d.image = image;
    return d;
}

MediumReport FakeRecorderBackend::disc(int profile, MediumReport::Status status, uint64_t blocks,
                                       int layers)
{
    MediumReport m;
    m.status = status;
    m.profile = profile;
    m.erasable = profile == 0x0a || profile == 0x13 || profile == 0x14 || profile == 0x12 ||
                 profile == 0x1a || profile == 0x43;
    m.freeBytes = status == MediumReport::Status::Full ? 0 : int64_t(blocks) * 2048;
    m.readCapacity = status == MediumReport::Status::Blank ? 0 : uint32_t(blocks);
    if (status == MediumReport::Status::Appendable) {
        m.nextWritable = uint32_t(blocks / 4);
        m.freeBytes = int64_t(blocks - blocks / 4) * 2048;
    }
    for (int i = 0; i < layers; ++i)
        m.layerBlocks.push_back(uint32_t(blocks / uint64_t(layers)));
    m.writeRates = {profile < 0x10 ? 7200u : 22160u, profile < 0x10 ? 1800u : 5540u};
    return m;
}

void FakeRecorderBackend::add(const Drive& drive)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!drives_.count(drive.info.address))
        order_.push_back(drive.info.address);
    drives_[drive.info.address] = drive;
}

FakeRecorderBackend::Drive FakeRecorderBackend::snapshot(const std::string& address) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return drives_.at(address);
}

std::vector<ld::RecorderInfo> FakeRecorderBackend::scan()
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<ld::RecorderInfo> out;
    for (const std::string& address : order_) {
        const Drive& d = drives_.at(address);
        // libburn's scan does not list what it cannot open, nor a drive that is gone.
        if (d.tray != TrayState::Gone && !d.permissionDenied)
            out.push_back(d.info);
    }
    return out;
}

std::string FakeRecorderBackend::dataAddress(const std::string& address) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return "stdio:" + drives_.at(address).image;
}

int32_t FakeRecorderBackend::checkAcquire(const std::string& address, std::string* reason)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Drive& d = drives_.at(address);
    if (d.tray == TrayState::Gone) {
        *reason = "Cannot open " + address + ": No such device";
        return LD_NotFound;
    }
    if (d.heldElsewhere) {
        *reason = "another program is using " + address;
        return LD_DeviceInUse;
    }
    if (d.permissionDenied) {
        *reason = "Permission denied: " + address;
        return LD_InvalidAccess;
    }
    return LD_OK;
}

int32_t FakeRecorderBackend::readMedium(const std::string& address, burn::burn_drive*,
                                        MediumReport* medium)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Drive& d = drives_.at(address);
    if (d.tray == TrayState::Gone)
        return LD_NotFound;
    if (d.tray == TrayState::Open || d.tray == TrayState::Empty) {
        *medium = MediumReport();
        return LD_OK;
    }
    if (d.unreadyReads > 0) {
        --d.unreadyReads;
        *medium = MediumReport();
        medium->status = MediumReport::Status::Unready;
        return LD_OK;
    }
    *medium = d.medium;
    // Once a blank disc has been written it reads as closed, as a real one does.
    struct stat st = {};
    if (d.medium.status == MediumReport::Status::Blank && ::stat(d.image.c_str(), &st) == 0 &&
        st.st_size > 0) {
        const uint64_t used = (uint64_t(st.st_size) + 2047) / 2048;
        medium->status = MediumReport::Status::Full;
        medium->readCapacity = uint32_t(used);
        medium->nextWritable = uint32_t(used);
        medium->freeBytes = 0;
    }
    return LD_OK;
}

int32_t FakeRecorderBackend::startErase(const std::string& address, burn::burn_drive*, bool fast,
                                        std::string*)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Drive& d = drives_.at(address);
    d.erases.push_back(fast);
    d.medium.status = MediumReport::Status::Blank;
    d.medium.freeBytes += int64_t(d.medium.nextWritable) * 2048;
    d.medium.nextWritable = 0;
    return LD_OK;
}

int FakeRecorderBackend::pollJob(const std::string& address, burn::burn_drive* drive,
                                 burn::burn_progress* progress)
{
    int64_t failAt = -1;
    int delay = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const Drive& d = drives_.at(address);
        failAt = d.failed ? -1 : d.failAtSector;
        delay = d.pollDelayMs;
    }
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    burn::burn_progress own = {};
    burn::burn_progress* p = progress ? progress : &own;
    const int status = burn::burn_drive_get_status(drive, p);
    // Only a job's own polls (with progress) see the failure; a write done before the first
    // poll breaks off at its end.
    if (failAt >= 0 && progress && (status == burn::BURN_DRIVE_IDLE || p->sector >= failAt)) {
        // The drive breaks off: libburn ends the job as failed.
        if (status != burn::BURN_DRIVE_IDLE)
            burn::burn_drive_cancel(drive);
        std::lock_guard<std::mutex> lock(mutex_);
        Drive& d = drives_.at(address);
        d.failed = true;
        if (d.goneAtFailure)
            d.tray = TrayState::Gone;
    }
    return status;
}

bool FakeRecorderBackend::jobWentWell(const std::string& address, burn::burn_drive* drive)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (drives_.at(address).failed)
            return false;
    }
    return burn::burn_drive_wrote_well(drive) > 0;
}

std::string FakeRecorderBackend::jobFailure(const std::string& address)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Drive& d = drives_.at(address);
    return d.failed ? d.failMessage : std::string();
}

TrayState FakeRecorderBackend::trayState(const std::string& address)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Drive& d = drives_.at(address);
    return d.heldElsewhere && d.tray != TrayState::Gone ? TrayState::Busy : d.tray;
}

int32_t FakeRecorderBackend::moveTray(const std::string& address, bool eject, std::string* reason)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Drive& d = drives_.at(address);
    if (d.tray == TrayState::Gone) {
        *reason = address + ": No such device";
        return LD_NotFound;
    }
    if (d.heldElsewhere) {
        *reason = address + ": Device or resource busy";
        return LD_DeviceInUse;
    }
    d.trayMoves.push_back(eject);
    if (eject)
        d.tray = TrayState::Open;
    else
        d.tray =
            d.medium.status == MediumReport::Status::Empty ? TrayState::Empty : TrayState::Loaded;
    return LD_OK;
}
