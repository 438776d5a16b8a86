#include "OpticalDevice.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "BurnRuntime.h"
#include "LdLog.h"
#include "MediumProfile.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace ld {

namespace {

// MMC profiles that no image burner emulates, mapped to their type bits.
uint64_t typeBitsOfProfile(int profile)
{
    if (const MediumProfile* known = mediumByMmcProfile(profile))
        return known->typeBit;
    static const std::pair<int, uint64_t> others[] = {
        {0x08, LD_TypeCDROM},  {0x10, LD_TypeDVDROM},    {0x12, LD_TypeDVDRAM},
        {0x14, LD_TypeDVDRW},  {0x1a, LD_TypeDVDPlusRW}, {0x2b, LD_TypeDVDPlusRDL},
        {0x15, LD_TypeDVDRDL}, {0x16, LD_TypeDVDRDL},    {0x40, LD_TypeBDROM},
        {0x42, LD_TypeBDR},    {0x43, LD_TypeBDRE},
    };
    for (const auto& [number, bits] : others)
        if (number == profile)
            return bits;
    return 0;
}

} // namespace

OpticalDevice::OpticalDevice(std::string address, std::string vendorProduct)
    : StorageDevice(address), address_(address), description_(std::move(vendorProduct))
{
}

std::shared_ptr<BurnDrive> OpticalDevice::queryDrive(int32_t* status)
{
    if (auto held = heldDrive(); held && held->drive()) {
        *status = LD_OK;
        return held;
    }
    auto drive = std::make_shared<BurnDrive>(address_);
    std::string reason;
    *status = drive->acquire(&reason);
    if (*status != LD_OK) {
        setSenseFromMessages(reason);
        return nullptr;
    }
    return drive;
}

int32_t OpticalDevice::readState(uint32_t* state)
{
    int32_t status = LD_OK;
    auto drive = queryDrive(&status);
    if (!drive) {
        *state = status == LD_DeviceInUse ? LD_DeviceBecomingReady : LD_DeviceNotReadyState;
        return LD_OK;
    }
    switch (burn_disc_get_status(drive->drive())) {
    case BURN_DISC_EMPTY:
        *state = LD_DeviceNotReadyState;
        break;
    case BURN_DISC_UNREADY:
        *state = LD_DeviceBecomingReady;
        break;
    default:
        *state = LD_DeviceReady;
    }
    return LD_OK;
}

int32_t OpticalDevice::readTray(uint32_t* tray)
{
    // libburn does not tell an open tray from an empty one; a loaded disc means closed.
    uint32_t state = 0;
    readState(&state);
    *tray = state == LD_DeviceReady ? 3 : 1;
    return LD_OK;
}

int32_t OpticalDevice::readMedium(MediumState* m)
{
    int32_t status = LD_OK;
    auto holder = queryDrive(&status);
    if (!holder)
        return status;
    burn_drive* d = holder->drive();
    const burn_disc_status disc = burn_disc_get_status(d);
    if (disc == BURN_DISC_EMPTY || disc == BURN_DISC_UNREADY)
        return LD_DeviceNotReady;
    *m = MediumState();
    int profile = 0;
    char profileName[80] = {};
    burn_disc_get_profile(d, &profile, profileName);
    m->mmcProfile = uint32_t(profile);
    m->typeBits = typeBitsOfProfile(profile);

    if (disc == BURN_DISC_BLANK)
        m->stateBits |= LD_StateBlank | LD_StateWritable;
    if (disc == BURN_DISC_APPENDABLE)
        m->stateBits |= LD_StateReadable | LD_StateWritable | LD_StateAppendable;
    if (disc == BURN_DISC_FULL)
        m->stateBits |= LD_StateReadable;
    if (burn_disc_erasable(d))
        m->stateBits |= LD_StateErasable | LD_StateRewrite;

    const off_t available = burn_disc_available_space(d, nullptr);
    int capacity = 0;
    if (burn_get_read_capacity(d, &capacity, 0) <= 0)
        capacity = 0;
    int lba = 0;
    int nwa = 0;
    if (disc == BURN_DISC_APPENDABLE && burn_disc_track_lba_nwa(d, nullptr, 0, &lba, &nwa) > 0)
        m->usedBlocks = uint32_t(nwa);
    else if (disc == BURN_DISC_FULL)
        m->usedBlocks = uint32_t(capacity);
    m->freeBytes = disc == BURN_DISC_FULL ? 0 : uint64_t(available > 0 ? available : 0);
    m->usedBytes = uint64_t(m->usedBlocks) * 2048;
    m->capacityBlocks = m->usedBlocks + uint32_t(m->freeBytes / 2048);
    m->sessions = disc == BURN_DISC_BLANK ? 0 : 1;

    burn_speed_descriptor* speeds = nullptr;
    if (burn_drive_get_speedlist(d, &speeds) > 0) {
        for (burn_speed_descriptor* s = speeds; s; s = s->next)
            if (s->write_speed > 0)
                m->writeRates.push_back(uint32_t(s->write_speed) * 100);
        burn_drive_free_speedlist(&speeds);
        std::sort(m->writeRates.rbegin(), m->writeRates.rend());
        m->writeRates.erase(std::unique(m->writeRates.begin(), m->writeRates.end()),
                            m->writeRates.end());
    }
    return LD_OK;
}

int32_t OpticalDevice::trayControl(uint32_t command)
{
    if (command != 1 && command != 2 && command != 5)
        return LD_InvalidParameter;
    if (heldDrive())
        return command == 1 ? LD_DeviceInUse : LD_OK; // loaded and held: nothing to do
    BurnDrive drive(address_);
    std::string reason;
    // Acquiring loads the tray; releasing with eject opens it.
    const int32_t status = drive.acquire(&reason);
    if (status != LD_OK) {
        setSenseFromMessages(reason);
        return status;
    }
    drive.release(command == 1);
    return LD_OK;
}

int32_t OpticalDevice::erase(LD_StatusCallback callback, void* context)
{
    int32_t status = LD_OK;
    auto holder = queryDrive(&status);
    if (!holder)
        return status;
    burn_drive* d = holder->drive();
    if (!burn_disc_erasable(d))
        return LD_InvalidMediaType;
    if (burn_disc_get_status(d) == BURN_DISC_BLANK)
        return LD_OK; // libburn refuses to blank a blank disc
    BurnRuntime::takeMessages();
    burn_disc_erase(d, 1); // fast blanking: what a new session needs
    LD_StatusInfo info = {};
    info.size = sizeof info;
    info.operation = LD_PhaseFormat;
    burn_progress progress = {};
    while (burn_drive_get_status(d, &progress) != BURN_DRIVE_IDLE) {
        info.currentBlock = uint32_t(progress.sector);
        info.totalBlocks = uint32_t(progress.sectors);
        info.percent =
            progress.sectors > 0 ? uint32_t(100.0 * progress.sector / progress.sectors) : 0;
        if (callback)
            callback(&info, context);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    const std::string messages = BurnRuntime::takeMessages();
    if (burn_drive_wrote_well(d) <= 0) {
        logLine("Erasing " + address_ + " failed: " + messages);
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
