#pragma once

#include "LDStorage.h"
#include "MediumState.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>

namespace ld {

class BurnDrive;
class RecorderBackend;

// A recorder as the flat interface sees it: a real optical drive or an image burner. It owns
// the libburn drive while exclusive access or an open volume needs it.
class StorageDevice
{
public:
    virtual ~StorageDevice();

    virtual std::string description() const = 0;
    virtual std::string path() const = 0;
    virtual uint32_t kind() const = 0; // LD_DevKind: 0 device, 1 file
    virtual int32_t readState(uint32_t* state) = 0;
    virtual int32_t readTray(uint32_t* tray) = 0;
    virtual int32_t readMedium(MediumState* medium) = 0;
    virtual int32_t trayControl(uint32_t command) = 0;
    // eraseType: LD_EraseQuick or LD_EraseFull.
    virtual int32_t erase(uint32_t eraseType, LD_StatusCallback callback, void* context) = 0;
    // LD_WriteFamilyBits: the media families this recorder writes.
    virtual uint64_t writeFamilies() const = 0;
    // Checks that a volume can be written here at all (an image burner's folder).
    virtual int32_t checkWritable(std::string* reason) { return (void)reason, LD_OK; }
    // The emulated capacity that the library enforces itself, 0 when the medium enforces it.
    virtual uint32_t enforcedCapacityBlocks() const { return 0; }
    virtual bool isImageFile() const { return false; }

    int32_t takeExclusive(const std::string& owner, std::string* currentOwner);
    int32_t releaseExclusive();
    // The libburn drive, acquired when nobody holds it yet; shared by exclusive access and
    // volumes, released when the last user lets go.
    std::shared_ptr<BurnDrive> useDrive(int32_t* status, std::string* reason);

    // Why the last volume opened or flushed here failed, in words; empty after a success.
    void setLastFailure(const std::string& reason);
    std::string lastFailure() const;

    void setSense(uint8_t key, uint8_t asc, uint8_t ascq);
    void setSenseFromMessages(const std::string& messages);
    std::array<uint8_t, 21> sense() const;

protected:
    explicit StorageDevice(std::string burnAddress,
                           std::shared_ptr<RecorderBackend> backend = nullptr);
    // The address the drive is acquired at (libburn's "stdio:" path for an image burner), or a
    // status and the reason why it cannot be had.
    virtual int32_t burnAddress(std::string* address, std::string* reason)
    {
        (void)reason;
        *address = burnAddress_;
        return LD_OK;
    }
    // The drive when some user holds it, else null (queries then acquire it briefly).
    std::shared_ptr<BurnDrive> heldDrive();

private:
    const std::string burnAddress_;
    const std::shared_ptr<RecorderBackend> backend_;
    mutable std::mutex mutex_;
    std::shared_ptr<BurnDrive> exclusive_;
    std::weak_ptr<BurnDrive> shared_;
    std::string owner_;
    std::string lastFailure_;
    std::array<uint8_t, 21> sense_{};
};

} // namespace ld
