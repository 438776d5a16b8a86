#pragma once

#include "RecorderBackend.h"
#include "StorageDevice.h"

namespace ld {

// A real recorder found by the drive scan ("/dev/sr0"), reached through its backend.
class OpticalDevice : public StorageDevice
{
public:
    OpticalDevice(RecorderInfo info, std::shared_ptr<RecorderBackend> backend);

    std::string description() const override;
    std::string path() const override { return info_.address; }
    uint32_t kind() const override { return 0; }
    uint64_t writeFamilies() const override;
    int32_t readState(uint32_t* state) override;
    int32_t readTray(uint32_t* tray) override;
    int32_t readMedium(MediumState* medium) override;
    int32_t trayControl(uint32_t command) override;
    int32_t erase(uint32_t eraseType, LD_StatusCallback callback, void* context) override;

    // The medium state the flat interface reports for what the backend read.
    static MediumState describe(const MediumReport& report);

private:
    // The held drive, or one acquired for the duration of a query.
    std::shared_ptr<BurnDrive> queryDrive(int32_t* status);

    const RecorderInfo info_;
    const std::shared_ptr<RecorderBackend> backend_;
};

} // namespace ld
