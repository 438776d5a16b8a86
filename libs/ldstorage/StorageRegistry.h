#pragma once

#include "RecorderBackend.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ld {

class StorageDevice;
class Volume;

// The process-wide tables behind the flat interface: the configured image burners, the last
// drive scan, and the open devices and volumes by handle.
class StorageRegistry
{
public:
    static StorageRegistry& instance();

    void setImageBurners(const std::string& spec);
    void setScanOpticalDrives(bool enabled);
    // Where optical device nodes are looked for by the access check ("/dev").
    void setDeviceDirectory(const std::string& dir);
    // The access hint, once: empty after it has been taken.
    std::string takeAccessHint();
    // Rescans when no drive is held and returns the count of a device class.
    uint32_t count(uint32_t deviceClass);
    // Opens recorder number `index` (1-based) of the last count; 0 when there is none.
    uint32_t openDevice(uint32_t index);
    bool closeDevice(uint32_t handle);
    std::shared_ptr<StorageDevice> device(uint32_t handle);

    uint32_t addVolume(std::unique_ptr<Volume> volume);
    std::shared_ptr<Volume> volume(uint32_t handle);
    bool closeVolume(uint32_t handle);

private:
    struct Recorder
    {
        bool image = false;
        std::string address; // drive address or image path
        std::string label;   // the medium key of an image burner
        RecorderInfo info;   // what the scan found of a real drive
    };
    StorageRegistry() = default;
    void scanOptical();

    std::mutex mutex_;
    std::string imageSpec_;
    bool scanOptical_ = true;
    bool scanned_ = false;
    std::vector<Recorder> optical_; // writers only
    uint32_t opticalDrives_ = 0;    // every drive the scan found
    std::string deviceDir_ = "/dev";
    std::string accessHint_;
    bool accessHintGiven_ = false;
    std::vector<Recorder> recorders_;
    uint32_t nextHandle_ = 1;
    std::map<uint32_t, std::shared_ptr<StorageDevice>> devices_;
    std::map<uint32_t, std::shared_ptr<Volume>> volumes_;
};

} // namespace ld
