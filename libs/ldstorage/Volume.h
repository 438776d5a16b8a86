#pragma once

#include "LDStorage.h"
#include "MediumState.h"
#include "VolumeImage.h"

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace ld {

class BurnDrive;
class StorageDevice;

// A volume opened on a recorder: the file system found there, the new session being put
// together (created or mounted), its files, and the flush that writes and verifies it.
class Volume
{
public:
    static std::unique_ptr<Volume> open(std::shared_ptr<StorageDevice> device,
                                        uint32_t deviceHandle, uint32_t* fileSystems,
                                        int32_t* status);
    ~Volume();

    int32_t create(uint32_t fileSystem, const std::string& volumeId);
    int32_t mount();
    int32_t addEntry(const std::string& name, const std::string& sourcePath);
    int32_t flush(LD_ProgressCallback callback, void* context);
    std::vector<std::string> unreadableFiles() const;
    uint32_t deviceHandle() const { return deviceHandle_; }

private:
    Volume(std::shared_ptr<StorageDevice> device, std::shared_ptr<BurnDrive> drive,
           uint32_t deviceHandle);
    // The medium, when no session has been started on this volume yet.
    int32_t readMediumForImage(MediumState* medium) const;
    std::string uniqueName(const std::string& name) const;
    bool nameTaken(const std::string& name) const;
    int32_t flushLocked(class ProgressReporter& progress);
    int32_t checkSpace(uint64_t startBlock, uint64_t sectors, std::string* reason);

    mutable std::mutex mutex_;
    std::shared_ptr<StorageDevice> device_;
    std::shared_ptr<BurnDrive> drive_;
    const uint32_t deviceHandle_;
    std::unique_ptr<VolumeImage> image_;
    std::vector<VolumeEntry> entries_;
    std::set<std::string> names_;
    std::vector<std::string> unreadable_;
    bool flushed_ = false;
};

} // namespace ld
