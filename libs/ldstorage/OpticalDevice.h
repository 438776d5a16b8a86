#pragma once

#include "StorageDevice.h"

namespace ld {

// A real recorder found by libburn's drive scan ("/dev/sr0").
class OpticalDevice : public StorageDevice
{
public:
    OpticalDevice(std::string address, std::string vendorProduct);

    std::string description() const override { return description_; }
    std::string path() const override { return address_; }
    uint32_t kind() const override { return 0; }
    int32_t readState(uint32_t* state) override;
    int32_t readTray(uint32_t* tray) override;
    int32_t readMedium(MediumState* medium) override;
    int32_t trayControl(uint32_t command) override;
    int32_t erase(LD_StatusCallback callback, void* context) override;

private:
    // The held drive, or one acquired for the duration of a query.
    std::shared_ptr<BurnDrive> queryDrive(int32_t* status);

    const std::string address_;
    const std::string description_;
};

} // namespace ld
