#include "StorageRegistry.h"

#include "BurnDrive.h"
#include "ImageBurnerDevice.h"
#include "LDStorage.h"
#include "LdLog.h"
#include "MediumProfile.h"
#include "OpticalDevice.h"
#include "RecorderAccess.h"
#include "Volume.h"

#include <cstring>

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
    if (!enabled) {
        optical_.clear();
        opticalDrives_ = 0;
    }
    scanned_ = false;
}

void StorageRegistry::setDeviceDirectory(const std::string& dir)
{
    std::lock_guard<std::mutex> lock(mutex_);
    deviceDir_ = dir;
}

std::string StorageRegistry::takeAccessHint()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (accessHintGiven_ || accessHint_.empty())
        return std::string();
    accessHintGiven_ = true;
    return accessHint_;
}

void StorageRegistry::scanOptical()
{
    // libburn must not rescan while one of its drives is held (a burn runs): keep the list.
    if (!scanOptical_ || BurnDrive::heldCount() > 0)
        return;
    optical_.clear();
    const std::vector<RecorderInfo> drives = recorderBackend()->scan();
    opticalDrives_ = uint32_t(drives.size());
    for (const RecorderInfo& info : drives) {
        // A reader (DVD-ROM, BD-ROM) is no destination.
        if (info.writes())
            optical_.push_back({false, info.address, std::string(), info});
        else
            logLine("Not a recorder: " + info.address + " (" + info.vendor + " " + info.product +
                    ")");
    }
    // libburn leaves out, silently, the drives this account may not open.
    accessHint_.clear();
    for (const RecorderAccess::Problem& p : RecorderAccess::blockedNodes(deviceDir_)) {
        logLine(p.hint);
        if (accessHint_.empty())
            accessHint_ = p.hint;
    }
    scanned_ = true;
}

uint32_t StorageRegistry::count(uint32_t deviceClass)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (deviceClass == LD_ClassOpticalTape) {
        if (!scanned_)
            scanOptical();
        return opticalDrives_;
    }
    if (deviceClass != LD_ClassRecorders)
        return 0;
    scanOptical();
    recorders_ = optical_;
    for (const ImageBurnerEntry& e : parseImageBurners(imageSpec_))
        recorders_.push_back({true, e.path, e.medium->key, RecorderInfo()});
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
        device = std::make_shared<OpticalDevice>(r.info, recorderBackend());
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
