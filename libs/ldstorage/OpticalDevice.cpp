#include "OpticalDevice.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "LdLog.h"
#include "MediumProfile.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace ld {

OpticalDevice::OpticalDevice(RecorderInfo info, std::shared_ptr<RecorderBackend> backend)
    : StorageDevice(info.address, backend), info_(std::move(info)), backend_(std::move(backend))
{
}

std::string OpticalDevice::description() const
{
    return info_.vendor + " " + info_.product;
}

uint64_t OpticalDevice::writeFamilies() const
{
    return (info_.writesCd ? LD_WritesCD : 0) | (info_.writesDvd ? LD_WritesDVD : 0) |
           (info_.writesBd ? LD_WritesBD : 0);
}

std::shared_ptr<BurnDrive> OpticalDevice::queryDrive(int32_t* status)
{
    if (auto held = heldDrive(); held && held->drive()) {
        *status = LD_OK;
        return held;
    }
    auto drive = std::make_shared<BurnDrive>(info_.address, backend_);
    std::string reason;
    *status = drive->acquire(&reason);
    if (*status != LD_OK) {
        logLine("Cannot use " + info_.address + ": " + reason);
        setSenseFromMessages(reason);
        return nullptr;
    }
    return drive;
}

int32_t OpticalDevice::readState(uint32_t* state)
{
    // The tray first: it answers without taking the drive, so the page's poll can ask often.
    switch (backend_->trayState(info_.address)) {
    case TrayState::Gone:
        return LD_NotFound;
    case TrayState::Open:
    case TrayState::Empty:
        *state = LD_DeviceNotReadyState;
        return LD_OK;
    case TrayState::Busy:
        *state = LD_DeviceBecomingReady;
        return LD_OK;
    case TrayState::Loaded:
        // The kernel saw the disc ready; the page polls this every second, so no grab here.
        *state = LD_DeviceReady;
        return LD_OK;
    case TrayState::Unknown:
        break;
    }
    int32_t status = LD_OK;
    auto drive = queryDrive(&status);
    if (!drive) {
        *state = status == LD_DeviceInUse ? LD_DeviceBecomingReady : LD_DeviceNotReadyState;
        return LD_OK;
    }
    MediumReport report;
    if (backend_->readMedium(info_.address, drive->drive(), &report) != LD_OK)
        report.status = MediumReport::Status::Unready;
    switch (report.status) {
    case MediumReport::Status::Empty:
        *state = LD_DeviceNotReadyState;
        break;
    case MediumReport::Status::Unready:
        *state = LD_DeviceBecomingReady;
        break;
    default:
        *state = LD_DeviceReady;
    }
    return LD_OK;
}

int32_t OpticalDevice::readTray(uint32_t* tray)
{
    switch (backend_->trayState(info_.address)) {
    case TrayState::Gone:
        return LD_NotFound;
    case TrayState::Open:
        *tray = 2;
        break;
    case TrayState::Empty:
    case TrayState::Loaded:
        *tray = 3;
        break;
    default:
        *tray = 1;
    }
    return LD_OK;
}

MediumState OpticalDevice::describe(const MediumReport& r)
{
    MediumState m;
    m.mmcProfile = uint32_t(r.profile);
    m.typeBits = typeBitsOfMmcProfile(r.profile);
    using S = MediumReport::Status;
    if (r.status == S::Blank)
        m.stateBits |= LD_StateBlank | LD_StateWritable;
    if (r.status == S::Appendable)
        m.stateBits |= LD_StateReadable | LD_StateWritable | LD_StateAppendable;
    if (r.status == S::Full)
        m.stateBits |= LD_StateReadable;
    if (r.erasable)
        m.stateBits |= LD_StateErasable | LD_StateRewrite;
    if (r.writeProtected)
        m.stateBits = (m.stateBits & ~uint32_t(LD_StateWritable)) | LD_StateProtected;
    m.usedBlocks = r.status == S::Full ? r.readCapacity : r.nextWritable;
    m.freeBytes =
        r.status == S::Full || r.writeProtected ? 0 : uint64_t(std::max<int64_t>(0, r.freeBytes));
    m.usedBytes = uint64_t(m.usedBlocks) * 2048;
    m.capacityBlocks = m.usedBlocks + uint32_t(m.freeBytes / 2048);
    m.sessions = r.status == S::Blank ? 0 : 1;
    m.layerBlocks = r.layerBlocks;
    if (m.layerBlocks.empty())
        m.layerBlocks.push_back(m.capacityBlocks);
    // Where writing starts within each layer: the used blocks fill the layers in order.
    uint64_t before = 0;
    for (uint32_t blocks : m.layerBlocks) {
        const uint64_t used = m.usedBlocks > before ? m.usedBlocks - before : 0;
        m.layerStarts.push_back(uint32_t(std::min<uint64_t>(used, blocks)));
        before += blocks;
    }
    for (uint32_t kBps : r.writeRates)
        m.writeRates.push_back(kBps * 100);
    std::sort(m.writeRates.rbegin(), m.writeRates.rend());
    m.writeRates.erase(std::unique(m.writeRates.begin(), m.writeRates.end()), m.writeRates.end());
    return m;
}

int32_t OpticalDevice::readMedium(MediumState* m)
{
    int32_t status = LD_OK;
    auto holder = queryDrive(&status);
    if (!holder)
        return status;
    MediumReport report;
    status = backend_->readMedium(info_.address, holder->drive(), &report);
    if (status != LD_OK)
        return status;
    if (report.status == MediumReport::Status::Empty ||
        report.status == MediumReport::Status::Unready)
        return LD_DeviceNotReady;
    if (report.status == MediumReport::Status::Unsuitable)
        return LD_InvalidMediaType;
    *m = describe(report);
    return LD_OK;
}

int32_t OpticalDevice::trayControl(uint32_t command)
{
    if (command != 1 && command != 2 && command != 5)
        return LD_InvalidParameter;
    if (heldDrive())
        return command == 1 ? LD_DeviceInUse : LD_OK; // held drives are loaded
    std::string reason;
    const int32_t status = backend_->moveTray(info_.address, command == 1, &reason);
    if (status != LD_OK)
        logLine("Cannot move the tray of " + info_.address + ": " + reason);
    return status;
}

int32_t OpticalDevice::erase(uint32_t eraseType, LD_StatusCallback callback, void* context)
{
    int32_t status = LD_OK;
    auto holder = queryDrive(&status);
    if (!holder)
        return status;
    MediumReport report;
    status = backend_->readMedium(info_.address, holder->drive(), &report);
    if (status != LD_OK)
        return status;
    if (!report.erasable)
        return LD_InvalidMediaType;
    if (report.status == MediumReport::Status::Blank)
        return LD_OK; // libburn refuses to blank a blank disc
    std::string reason;
    status =
        backend_->startErase(info_.address, holder->drive(), eraseType == LD_EraseQuick, &reason);
    if (status != LD_OK) {
        logLine("Erasing " + info_.address + " failed: " + reason);
        return status;
    }
    LD_StatusInfo info = {};
    info.size = sizeof info;
    info.operation = LD_PhaseFormat;
    burn_progress progress = {};
    // libburn.h: an erase cannot be cancelled; the drive is polled until it is idle.
    while (holder->pollJob(&progress) != BURN_DRIVE_IDLE) {
        info.currentBlock = uint32_t(std::max(0, progress.sector));
        info.totalBlocks = uint32_t(std::max(0, progress.sectors));
        info.percent =
            progress.sectors > 0 ? uint32_t(100.0 * progress.sector / progress.sectors) : 0;
        if (callback)
            callback(&info, context);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (!holder->jobWentWell()) {
        const std::string messages = holder->jobFailure();
        logLine("Erasing " + info_.address + " failed: " + messages);
        setSenseFromMessages(messages);
        return LD_DeviceSenseError;
    }
    info.percent = 100;
    info.currentBlock = info.totalBlocks;
    if (callback)
        callback(&info, context);
    return LD_OK;
}

} // namespace ld
