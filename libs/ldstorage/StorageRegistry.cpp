#include "StorageRegistry.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "BurnRuntime.h"
#include "ImageBurnerDevice.h"
#include "LDStorage.h"
#include "MediumProfile.h"
#include "OpticalDevice.h"
#include "Volume.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace ld {

StorageRegistry& StorageRegistry::instance()
{
    static StorageRegistry registry;
    return registry;
}

void StorageRegistry::setImageBurners(const std::string& spec)
{
    std::lock_guard<std::mutex> lock(mutex_);
    imageSpec_ = spec;
}

void StorageRegistry::setScanOpticalDrives(bool enabled)
{
    std::lock_guard<std::mutex> lock(mutex_);
    scanOptical_ = enabled;
    if (!enabled)
        optical_.clear();
    scanned_ = false;
}

void StorageRegistry::scanOptical()
{
    // libburn must not rescan while one of its drives is held (a burn runs): keep the list.
    if (!scanOptical_ || BurnDrive::heldCount() > 0 || !BurnRuntime::ensure())
        return;
    optical_.clear();
    burn_drive_info* infos = nullptr;
    unsigned int n = 0;
    // The scan runs on libburn's worker and must be asked again until it has finished: a scan
    // left running keeps libburn busy and every later write is refused.
    int scan = 0;
    while ((scan = burn_drive_scan(&infos, &n)) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (scan > 0 && infos) {
        for (unsigned int i = 0; i < n; ++i) {
            char adr[BURN_DRIVE_ADR_LEN] = {};
            if (burn_drive_get_adr(&infos[i], adr) <= 0)
                continue;
            std::string label = std::string(infos[i].vendor) + " " + infos[i].product;
            optical_.push_back({false, adr, label});
        }
        burn_drive_info_free(infos);
    }
    BurnRuntime::takeMessages();
    scanned_ = true;
}

uint32_t StorageRegistry::count(uint32_t deviceClass)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (deviceClass == LD_ClassOpticalTape) {
        if (!scanned_)
            scanOptical();
        return uint32_t(optical_.size());
    }
    if (deviceClass != LD_ClassRecorders)
        return 0;
    scanOptical();
    recorders_ = optical_;
    for (const ImageBurnerEntry& e : parseImageBurners(imageSpec_))
        recorders_.push_back({true, e.path, e.medium->key});
    return uint32_t(recorders_.size());
}

uint32_t StorageRegistry::openDevice(uint32_t index)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (index < 1 || index > recorders_.size())
        return 0;
    const Recorder& r = recorders_[index - 1];
    std::shared_ptr<StorageDevice> device;
    if (r.image)
        device = std::make_shared<ImageBurnerDevice>(*mediumByKey(r.label), r.address);
    else
        device = std::make_shared<OpticalDevice>(r.address, r.label);
    const uint32_t handle = nextHandle_++;
    devices_[handle] = device;
    return handle;
}

namespace {

// Takes an entry out of a table under the lock and destroys it after: letting go of a drive
// waits for it to be idle, which must not block the other handles.
template <typename T>
bool closeEntry(std::mutex& mutex, std::map<uint32_t, std::shared_ptr<T>>& table, uint32_t handle)
{
    std::shared_ptr<T> entry;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = table.find(handle);
        if (it == table.end())
            return false;
        entry = std::move(it->second);
        table.erase(it);
    }
    entry.reset();
    return true;
}

} // namespace

bool StorageRegistry::closeDevice(uint32_t handle)
{
    return closeEntry(mutex_, devices_, handle);
}

std::shared_ptr<StorageDevice> StorageRegistry::device(uint32_t handle)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = devices_.find(handle);
    return it == devices_.end() ? nullptr : it->second;
}

uint32_t StorageRegistry::addVolume(std::unique_ptr<Volume> volume)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const uint32_t handle = nextHandle_++;
    volumes_[handle] = std::move(volume);
    return handle;
}

std::shared_ptr<Volume> StorageRegistry::volume(uint32_t handle)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = volumes_.find(handle);
    return it == volumes_.end() ? nullptr : it->second;
}

bool StorageRegistry::closeVolume(uint32_t handle)
{
    return closeEntry(mutex_, volumes_, handle);
}

} // namespace ld
