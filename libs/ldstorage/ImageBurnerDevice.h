#pragma once

#include "MediumProfile.h"
#include "StorageDevice.h"

namespace ld {

// An image file that behaves like a medium of one kind in a drive. The file absent or empty is
// a blank disc; once written it reads as a closed disc (a rewritable one stays appendable).
// libburn reports the host's free space for such a file, so the capacity is enforced here.
class ImageBurnerDevice : public StorageDevice
{
public:
    // Finishes what a killed burn of this image left behind before anything else touches it.
    ImageBurnerDevice(const MediumProfile& medium, std::string imagePath);
    ~ImageBurnerDevice() override;

    std::string description() const override;
    std::string path() const override { return imagePath_; }
    uint32_t kind() const override { return 1; }
    int32_t readState(uint32_t* state) override;
    int32_t readTray(uint32_t* tray) override;
    int32_t readMedium(MediumState* medium) override;
    int32_t trayControl(uint32_t command) override;
    int32_t erase(uint32_t eraseType, LD_StatusCallback callback, void* context) override;
    uint64_t writeFamilies() const override;
    int32_t checkWritable(std::string* reason) override;
    uint32_t enforcedCapacityBlocks() const override { return medium_.capacityBlocks; }
    bool isImageFile() const override { return true; }

protected:
    // A written image is grown in place; a new one is written to a staging file beside it,
    // held locked while this device may write it.
    int32_t burnAddress(std::string* address, std::string* reason) override;

private:
    void releaseStaging();

    const MediumProfile& medium_;
    const std::string imagePath_;
    int stagingLock_ = -1;
};

} // namespace ld
