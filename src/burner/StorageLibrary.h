#pragma once

#include "LDStorage.h"

// The storage library as the burner calls it. The default forwards to the LD_ functions; tests
// hand in a double, since no optical recorder exists where they run.
class StorageLibrary
{
public:
    virtual ~StorageLibrary() = default;

    // The process's real library.
    static StorageLibrary& Default();

    virtual int32_t SetImageBurners(const char* spec);
    virtual int32_t GetRecorderAccessHint(char* text, uint32_t capacity);
    virtual int32_t GetStorageDeviceCount(uint32_t deviceClass, uint32_t* count);
    virtual int32_t OpenStorageDevice(uint32_t index, LD_DeviceRecord* record);
    virtual int32_t CloseDevice(LD_DeviceRecord* record);
    virtual int32_t GetDeviceProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                      void* value, uint32_t* outSize);
    virtual int32_t GetMediaProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                     void* value, uint32_t* outSize);
    virtual int32_t GetState(LD_DeviceRecord* record, uint32_t* state);
    virtual int32_t GetError(LD_DeviceRecord* record, uint8_t* sense, uint32_t size);
    virtual int32_t TrayControl(LD_DeviceRecord* record, uint32_t command);
    virtual int32_t ExclusiveAccess(LD_DeviceRecord* record, uint32_t mode, const LD_Text* owner,
                                    LD_Text* currentOwner);
    virtual int32_t EraseMedia(LD_DeviceRecord* record, uint32_t eraseType,
                               LD_StatusCallback callback, void* context);
    virtual int32_t OpenVolume(LD_DeviceRecord* record, uint32_t* fileSystems,
                               LD_ProgressCallback callback, void* context,
                               LD_VolumeHandle* volume);
    virtual int32_t VolumeCreate(LD_VolumeHandle* volume, uint32_t fileSystem, const LD_Text* name,
                                 uint32_t mode, LD_ProgressCallback callback, void* context);
    virtual int32_t VolumeMount(LD_VolumeHandle* volume, uint32_t mode,
                                LD_ProgressCallback callback, void* context);
    virtual int32_t VolumeCreateEntryFromHD(LD_VolumeHandle* volume, const LD_Text* nameOnDisc,
                                            const LD_Text* sourcePath, uint32_t mode);
    virtual int32_t VolumeFlush(LD_VolumeHandle* volume, LD_ProgressCallback callback,
                                void* context);
    virtual int32_t VolumeGetProperty(LD_VolumeHandle* volume, uint32_t id, uint32_t size,
                                      void* value, uint32_t* outSize);
    virtual int32_t VolumeClose(LD_VolumeHandle* volume);
};
