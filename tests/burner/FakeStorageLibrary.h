#pragma once

#include "StorageLibrary.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// A storage library without hardware: recorders and their discs are plain values the test sets,
// every call is recorded in order ("Tray 5", "Create 8", "Entry a.mp4", ...), and the flush
// reports progress through the callback like the real one.
class FakeStorageLibrary : public StorageLibrary
{
public:
    struct Device
    {
        std::u16string description = u"Fake recorder";
        std::u16string path = u"/dev/sr0";
        uint32_t capabilities = 1;
        uint64_t writeBits = 0x41;
        uint32_t tray = 3;
        uint32_t kind = 0;
        uint32_t state = LD_DeviceReady;
        uint32_t mediaState = LD_StateWritable | LD_StateBlank;
        uint32_t mediaFlags = 0;
        uint64_t mediaType = LD_TypeCDR;
        uint32_t value4 = 0;
        uint32_t layers = 1;
        std::vector<uint32_t> layerCapacity{359844};
        std::vector<uint32_t> layerStart{0};
        uint64_t usedBytes = 0;
        uint64_t freeBytes = 359844ull * 2048;
        std::vector<uint32_t> rates{1058400, 705600, 0};
        // Property id -> status of a query that fails.
        std::map<uint32_t, int32_t> failDevice;
        std::map<uint32_t, int32_t> failMedia;
        int32_t stateStatus = LD_OK;
        int32_t openStatus = LD_OK;
    };

    std::vector<Device> devices;

    int32_t openVolumeStatus = LD_OK;
    uint32_t fileSystemsFound = 0;
    int32_t createStatus = LD_OK;
    int32_t mountStatus = LD_OK;
    // Index of the entry that fails with entryStatus; -1 for none.
    int entryFailAt = -1;
    int32_t entryStatus = LD_FileNotFound;
    // The flush reports sectors 1..flushSectors, then ends with flushStatus (the last report
    // carries it). With untilCancel it reports until the callback cancels.
    uint32_t flushSectors = 4;
    int32_t flushStatus = LD_OK;
    bool flushUntilCancel = false;
    // A report of this kind (2 or 3) comes before the first progress report; 0 for none.
    int32_t flushRequestKind = 0;
    std::vector<std::u16string> unreadable;
    // Runs inside the erase, on the burn thread.
    std::function<void()> duringErase;

    std::vector<std::string> Calls() const;
    bool Called(const std::string& call) const;
    std::string imageBurners;

    int32_t SetImageBurners(const char* spec) override;
    int32_t GetStorageDeviceCount(uint32_t deviceClass, uint32_t* count) override;
    int32_t OpenStorageDevice(uint32_t index, LD_DeviceRecord* record) override;
    int32_t CloseDevice(LD_DeviceRecord* record) override;
    int32_t GetDeviceProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size, void* value,
                              uint32_t* outSize) override;
    int32_t GetMediaProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size, void* value,
                             uint32_t* outSize) override;
    int32_t GetState(LD_DeviceRecord* record, uint32_t* state) override;
    int32_t GetError(LD_DeviceRecord* record, uint8_t* sense, uint32_t size) override;
    int32_t TrayControl(LD_DeviceRecord* record, uint32_t command) override;
    int32_t ExclusiveAccess(LD_DeviceRecord* record, uint32_t mode, const LD_Text* owner,
                            LD_Text* currentOwner) override;
    int32_t EraseMedia(LD_DeviceRecord* record, uint32_t eraseType, LD_StatusCallback callback,
                       void* context) override;
    int32_t OpenVolume(LD_DeviceRecord* record, uint32_t* fileSystems, LD_ProgressCallback callback,
                       void* context, LD_VolumeHandle* volume) override;
    int32_t VolumeCreate(LD_VolumeHandle* volume, uint32_t fileSystem, const LD_Text* name,
                         uint32_t mode, LD_ProgressCallback callback, void* context) override;
    int32_t VolumeMount(LD_VolumeHandle* volume, uint32_t mode, LD_ProgressCallback callback,
                        void* context) override;
    int32_t VolumeCreateEntryFromHD(LD_VolumeHandle* volume, const LD_Text* nameOnDisc,
                                    const LD_Text* sourcePath, uint32_t mode) override;
    int32_t VolumeFlush(LD_VolumeHandle* volume, LD_ProgressCallback callback,
                        void* context) override;
    int32_t VolumeGetProperty(LD_VolumeHandle* volume, uint32_t id, uint32_t size, void* value,
                              uint32_t* outSize) override;
    int32_t VolumeClose(LD_VolumeHandle* volume) override;

private:
    void Record(const std::string& call);
    Device* Find(const LD_DeviceRecord* record);
    int32_t Report(LD_ProgressCallback callback, void* context, uint32_t current, uint32_t total,
                   int32_t error);

    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
    int m_entries = 0;
};
