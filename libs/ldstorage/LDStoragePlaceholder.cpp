// Placeholder until the storage library lands: no recorder, every call refused.
#include "LDStorage.h"

extern "C" {
int32_t LD_SetImageBurners(const char*)
{
    return LD_OK;
}

int32_t LD_SetScanOpticalDrives(int32_t)
{
    return LD_OK;
}

int32_t LD_GetStorageDeviceCount(uint32_t, uint32_t* count)
{
    if (count)
        *count = 0;
    return LD_OK;
}

int32_t LD_OpenStorageDevice(uint32_t, LD_DeviceRecord*, uint32_t, uint32_t, uint32_t)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_Close(LD_DeviceRecord*)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_GetDeviceProperty(LD_DeviceRecord*, uint32_t, uint32_t, void*, uint32_t*,
                                           uint32_t, uint32_t, uint32_t, uint32_t)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_GetMediaProperty(LD_DeviceRecord*, uint32_t, uint32_t, void*, uint32_t*,
                                          uint32_t, uint32_t, uint32_t, uint32_t)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_GetState(LD_DeviceRecord*, uint32_t*)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_GetError(LD_DeviceRecord*, uint8_t*, uint32_t)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_TrayControl(LD_DeviceRecord*, uint32_t)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_ExclusiveAccess(LD_DeviceRecord*, uint32_t, const LD_Text*, LD_Text*)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_EraseMedia(LD_DeviceRecord*, uint32_t, LD_StatusCallback, void*)
{
    return LD_NotImplemented;
}

int32_t LD_StorageDevice_OpenVolume(LD_DeviceRecord*, uint32_t*, LD_ProgressCallback, void*,
                                    LD_VolumeHandle*)
{
    return LD_NotImplemented;
}

int32_t LD_Volume_Create(LD_VolumeHandle*, uint32_t, const LD_Text*, uint32_t, LD_ProgressCallback,
                         void*)
{
    return LD_NotImplemented;
}

int32_t LD_Volume_Mount(LD_VolumeHandle*, uint32_t, LD_ProgressCallback, void*)
{
    return LD_NotImplemented;
}

int32_t LD_Volume_CreateEntryFromHD(LD_VolumeHandle*, const LD_Text*, const LD_Text*, uint32_t)
{
    return LD_NotImplemented;
}

int32_t LD_Volume_Flush(LD_VolumeHandle*, LD_ProgressCallback, void*, uint32_t, uint32_t)
{
    return LD_NotImplemented;
}

int32_t LD_Volume_GetProperty(LD_VolumeHandle*, uint32_t, uint32_t, void*, uint32_t*)
{
    return LD_NotImplemented;
}

int32_t LD_Volume_Close(LD_VolumeHandle*)
{
    return LD_NotImplemented;
}
}
