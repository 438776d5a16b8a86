#include "StorageDevice.h"

#include "BurnDrive.h"

#include <cstdio>

namespace ld {

StorageDevice::StorageDevice(std::string burnAddress, std::shared_ptr<RecorderBackend> backend)
    : burnAddress_(std::move(burnAddress)), backend_(std::move(backend))
{
}

StorageDevice::~StorageDevice() = default;

std::shared_ptr<BurnDrive> StorageDevice::heldDrive()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (exclusive_)
        return exclusive_;
    return shared_.lock();
}

std::shared_ptr<BurnDrive> StorageDevice::useDrive(int32_t* status, std::string* reason)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (exclusive_) {
        *status = exclusive_->drive() ? LD_OK : exclusive_->acquire(reason);
        return *status == LD_OK ? exclusive_ : nullptr;
    }
    if (auto drive = shared_.lock()) {
        *status = drive->drive() ? LD_OK : drive->acquire(reason);
        return *status == LD_OK ? drive : nullptr;
    }
    std::string address;
    *status = burnAddress(&address, reason);
    if (*status != LD_OK)
        return nullptr;
    auto drive = std::make_shared<BurnDrive>(address, backend_);
    *status = drive->acquire(reason);
    if (*status != LD_OK)
        return nullptr;
    shared_ = drive;
    return drive;
}

int32_t StorageDevice::takeExclusive(const std::string& owner, std::string* currentOwner)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (exclusive_) {
            if (currentOwner)
                *currentOwner = owner_;
            return owner == owner_ ? LD_OK : LD_DeviceInUse;
        }
    }
    int32_t status = LD_OK;
    std::string reason;
    auto drive = useDrive(&status, &reason);
    if (!drive) {
        setSenseFromMessages(reason);
        return status;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    exclusive_ = drive;
    owner_ = owner;
    if (currentOwner)
        *currentOwner = owner;
    return LD_OK;
}

int32_t StorageDevice::releaseExclusive()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!exclusive_)
        return LD_InvalidSequence;
    shared_ = exclusive_;
    exclusive_.reset(); // the drive stays acquired while a volume still uses it
    owner_.clear();
    return LD_OK;
}

void StorageDevice::setLastFailure(const std::string& reason)
{
    std::lock_guard<std::mutex> lock(mutex_);
    lastFailure_ = reason;
}

std::string StorageDevice::lastFailure() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lastFailure_;
}

void StorageDevice::setSense(uint8_t key, uint8_t asc, uint8_t ascq)
{
    std::lock_guard<std::mutex> lock(mutex_);
    sense_.fill(0);
    sense_[0] = 0x70;
    sense_[2] = key;
    sense_[3] = asc;
    sense_[4] = ascq;
}

void StorageDevice::setSenseFromMessages(const std::string& messages)
{
    // libburn quotes SCSI sense as "[key asc ascq]" in hexadecimal.
    for (size_t open = messages.find('['); open != std::string::npos;
         open = messages.find('[', open + 1)) {
        unsigned key = 0, asc = 0, ascq = 0;
        if (std::sscanf(messages.c_str() + open, "[%x %x %x]", &key, &asc, &ascq) == 3) {
            setSense(uint8_t(key), uint8_t(asc), uint8_t(ascq));
            return;
        }
    }
}

std::array<uint8_t, 21> StorageDevice::sense() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return sense_;
}

} // namespace ld
