#include "StorageLibrary.h"

StorageLibrary& StorageLibrary::Default()
{
    static StorageLibrary library;
    return library;
}

int32_t StorageLibrary::SetImageBurners(const char* spec)
{
    return LD_SetImageBurners(spec);
}

int32_t StorageLibrary::GetRecorderAccessHint(char* text, uint32_t capacity)
{
    return LD_GetRecorderAccessHint(text, capacity);
}

int32_t StorageLibrary::GetStorageDeviceCount(uint32_t deviceClass, uint32_t* count)
{
    return LD_GetStorageDeviceCount(deviceClass, count);
}

int32_t StorageLibrary::OpenStorageDevice(uint32_t index, LD_DeviceRecord* record)
{
    return LD_OpenStorageDevice(index, record, 0, 0, 0);
}

int32_t StorageLibrary::CloseDevice(LD_DeviceRecord* record)
{
    return LD_StorageDevice_Close(record);
}

int32_t StorageLibrary::GetDeviceProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                          void* value, uint32_t* outSize)
{
    return LD_StorageDevice_GetDeviceProperty(record, id, size, value, outSize, 0, 0, 0, 0);
}

int32_t StorageLibrary::GetMediaProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                         void* value, uint32_t* outSize)
{
    return LD_StorageDevice_GetMediaProperty(record, id, size, value, outSize, 0, 0, 0, 0);
}

int32_t StorageLibrary::GetState(LD_DeviceRecord* record, uint32_t* state)
{
    return LD_StorageDevice_GetState(record, state);
}

int32_t StorageLibrary::GetError(LD_DeviceRecord* record, uint8_t* sense, uint32_t size)
{
    return LD_StorageDevice_GetError(record, sense, size);
}

int32_t StorageLibrary::TrayControl(LD_DeviceRecord* record, uint32_t command)
{
    return LD_StorageDevice_TrayControl(record, command);
}

int32_t StorageLibrary::ExclusiveAccess(LD_DeviceRecord* record, uint32_t mode,
                                        const LD_Text* owner, LD_Text* currentOwner)
{
    return LD_StorageDevice_ExclusiveAccess(record, mode, owner, currentOwner);
}

int32_t StorageLibrary::EraseMedia(LD_DeviceRecord* record, uint32_t eraseType,
                                   LD_StatusCallback callback, void* context)
{
    return LD_StorageDevice_EraseMedia(record, eraseType, callback, context);
}

int32_t StorageLibrary::OpenVolume(LD_DeviceRecord* record, uint32_t* fileSystems,
                                   LD_ProgressCallback callback, void* context,
                                   LD_VolumeHandle* volume)
{
    return LD_StorageDevice_OpenVolume(record, fileSystems, callback, context, volume);
}

int32_t StorageLibrary::VolumeCreate(LD_VolumeHandle* volume, uint32_t fileSystem,
                                     const LD_Text* name, uint32_t mode,
                                     LD_ProgressCallback callback, void* context)
{
    return LD_Volume_Create(volume, fileSystem, name, mode, callback, context);
}

int32_t StorageLibrary::VolumeMount(LD_VolumeHandle* volume, uint32_t mode,
                                    LD_ProgressCallback callback, void* context)
{
    return LD_Volume_Mount(volume, mode, callback, context);
}

int32_t StorageLibrary::VolumeCreateEntryFromHD(LD_VolumeHandle* volume, const LD_Text* nameOnDisc,
                                                const LD_Text* sourcePath, uint32_t mode)
{
    return LD_Volume_CreateEntryFromHD(volume, nameOnDisc, sourcePath, mode);
}

int32_t StorageLibrary::VolumeFlush(LD_VolumeHandle* volume, LD_ProgressCallback callback,
                                    void* context)
{
    return LD_Volume_Flush(volume, callback, context, 1, 0);
}

int32_t StorageLibrary::VolumeGetProperty(LD_VolumeHandle* volume, uint32_t id, uint32_t size,
                                          void* value, uint32_t* outSize)
{
    return LD_Volume_GetProperty(volume, id, size, value, outSize);
}

int32_t StorageLibrary::VolumeClose(LD_VolumeHandle* volume)
{
    return LD_Volume_Close(volume);
}
