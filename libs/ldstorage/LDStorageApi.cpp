// The flat interface: argument checks and handle look-ups in front of the device and volume
// classes.
#include "LDStorage.h"
#include "LdLog.h"
#include "MediumState.h"
#include "ProgressReporter.h"
#include "StorageDevice.h"
#include "StorageRegistry.h"
#include "TextCodec.h"
#include "Volume.h"

#include <cstring>
#include <vector>

using namespace ld;

namespace {

std::shared_ptr<StorageDevice> deviceOf(const LD_DeviceRecord* record)
{
    if (!record || record->words[0] == 0 || record->words[0] == UINT32_MAX)
        return nullptr;
    return StorageRegistry::instance().device(record->words[0]);
}

std::shared_ptr<Volume> volumeOf(const LD_VolumeHandle* handle)
{
    return handle && *handle ? StorageRegistry::instance().volume(*handle) : nullptr;
}

int32_t writeBytes(const void* data, uint32_t bytes, uint32_t size, void* value, uint32_t* outSize)
{
    if (outSize)
        *outSize = bytes;
    if (!value || size < bytes)
        return LD_BufferOverflow;
    std::memcpy(value, data, bytes);
    return LD_OK;
}

template <typename T> int32_t writeScalar(T v, uint32_t size, void* value, uint32_t* outSize)
{
    return writeBytes(&v, sizeof v, size, value, outSize);
}

int32_t writeWords(const std::vector<uint32_t>& words, uint32_t size, void* value,
                   uint32_t* outSize)
{
    return writeBytes(words.data(), uint32_t(words.size() * sizeof(uint32_t)), size, value,
                      outSize);
}

// One report as a step starts and one as it ends, with the step's status.
template <typename Step>
int32_t reportedStep(LD_Phase phase, uint32_t deviceHandle, LD_ProgressCallback callback,
                     void* context, Step step)
{
    ProgressReporter progress(callback, context, deviceHandle);
    if (!progress.report(phase, 0, 1))
        return LD_UserCancelled;
    const int32_t status = step();
    progress.report(phase, status == LD_OK ? 1 : 0, 1, status);
    return status;
}

} // namespace

extern "C" {

int32_t LD_SetImageBurners(const char* spec)
{
    StorageRegistry::instance().setImageBurners(spec ? spec : "");
    return LD_OK;
}

int32_t LD_SetScanOpticalDrives(int32_t enabled)
{
    StorageRegistry::instance().setScanOpticalDrives(enabled != 0);
    return LD_OK;
}

int32_t LD_GetRecorderAccessHint(char* text, uint32_t capacity)
{
    if (!text || capacity == 0)
        return LD_InvalidParameter;
    const std::string hint = StorageRegistry::instance().takeAccessHint();
    if (hint.size() + 1 > capacity)
        return LD_BufferOverflow;
    std::memcpy(text, hint.c_str(), hint.size() + 1);
    return LD_OK;
}

int32_t LD_GetStorageDeviceCount(uint32_t deviceClass, uint32_t* count)
{
    if (!count)
        return LD_InvalidParameter;
    *count = StorageRegistry::instance().count(deviceClass);
    return LD_OK;
}

int32_t LD_OpenStorageDevice(uint32_t index, LD_DeviceRecord* record, uint32_t, uint32_t, uint32_t)
{
    if (!record)
        return LD_InvalidParameter;
    const uint32_t handle = StorageRegistry::instance().openDevice(index);
    if (!handle)
        return LD_InvalidIndex;
    std::memset(record, 0, sizeof *record);
    record->words[0] = handle;
    record->words[1] = StorageRegistry::instance().device(handle)->kind();
    record->words[2] = index;
    return LD_OK;
}

int32_t LD_StorageDevice_Close(LD_DeviceRecord* record)
{
    if (!record || !StorageRegistry::instance().closeDevice(record->words[0]))
        return LD_InvalidHandle;
    record->words[0] = 0;
    return LD_OK;
}

int32_t LD_StorageDevice_GetDeviceProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                           void* value, uint32_t* outSize, uint32_t, uint32_t,
                                           uint32_t, uint32_t)
{
    auto device = deviceOf(record);
    if (!device)
        return LD_InvalidHandle;
    switch (id) {
    case LD_DevDescription:
        return writeUtf16(device->description(), size, value, outSize);
    case LD_DevPath:
        return writeUtf16(device->path(), size, value, outSize);
    case LD_DevCapabilities:
        return writeScalar<uint32_t>(device->writeFamilies() ? 1 : 0, size, value, outSize);
    case LD_DevWriteBits:
        return writeScalar<uint64_t>(device->writeFamilies(), size, value, outSize);
    case LD_DevTray: {
        uint32_t tray = 1;
        const int32_t status = device->readTray(&tray);
        return status != LD_OK ? status : writeScalar(tray, size, value, outSize);
    }
    case LD_DevKind:
        return writeScalar(device->kind(), size, value, outSize);
    case LD_DevWriteProblem: {
        std::string reason;
        if (device->checkWritable(&reason) == LD_OK)
            reason.clear();
        return writeUtf16(reason, size, value, outSize);
    }
    case LD_DevLastFailure:
        return writeUtf16(device->lastFailure(), size, value, outSize);
    default:
        return LD_NotSupported;
    }
}

int32_t LD_StorageDevice_GetMediaProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                          void* value, uint32_t* outSize, uint32_t, uint32_t,
                                          uint32_t, uint32_t)
{
    auto device = deviceOf(record);
    if (!device)
        return LD_InvalidHandle;
    MediumState m;
    const int32_t status = device->readMedium(&m);
    if (status != LD_OK)
        return status;
    switch (id) {
    case LD_MediaValue:
        return writeScalar(m.mmcProfile, size, value, outSize);
    case LD_MediaLayerCount:
        return writeScalar<uint32_t>(m.layerBlocks.empty() ? 1 : uint32_t(m.layerBlocks.size()),
                                     size, value, outSize);
    case LD_MediaLayerCapacity:
        return writeWords(m.layerBlocks.empty() ? std::vector<uint32_t>{m.capacityBlocks}
                                                : m.layerBlocks,
                          size, value, outSize);
    case LD_MediaLayerStart:
        return writeWords(m.layerStarts.empty() ? std::vector<uint32_t>{m.usedBlocks}
                                                : m.layerStarts,
                          size, value, outSize);
    case LD_MediaState:
        return writeScalar(m.stateBits, size, value, outSize);
    case LD_MediaFlags:
        return writeScalar(m.flags, size, value, outSize);
    case LD_MediaUsedBytes:
        return writeScalar(m.usedBytes, size, value, outSize);
    case LD_MediaFreeBytes:
        return writeScalar(m.freeBytes, size, value, outSize);
    case LD_MediaType:
        return writeScalar(m.typeBits, size, value, outSize);
    case LD_MediaSession:
        return writeScalar(m.sessions, size, value, outSize);
    case LD_MediaWriteRates: {
        std::vector<uint32_t> rates = m.writeRates;
        rates.push_back(0);
        return writeWords(rates, size, value, outSize);
    }
    default:
        return LD_NotSupported;
    }
}

int32_t LD_StorageDevice_GetState(LD_DeviceRecord* record, uint32_t* state)
{
    auto device = deviceOf(record);
    if (!device)
        return LD_InvalidHandle;
    if (!state)
        return LD_InvalidParameter;
    return device->readState(state);
}

int32_t LD_StorageDevice_GetError(LD_DeviceRecord* record, uint8_t* sense, uint32_t size)
{
    auto device = deviceOf(record);
    if (!device)
        return LD_InvalidHandle;
    if (!sense)
        return LD_InvalidParameter;
    const auto bytes = device->sense();
    std::memset(sense, 0, size);
    std::memcpy(sense, bytes.data(), std::min<size_t>(size, bytes.size()));
    return LD_OK;
}

int32_t LD_StorageDevice_TrayControl(LD_DeviceRecord* record, uint32_t command)
{
    auto device = deviceOf(record);
    return device ? device->trayControl(command) : LD_InvalidHandle;
}

int32_t LD_StorageDevice_ExclusiveAccess(LD_DeviceRecord* record, uint32_t mode,
                                         const LD_Text* owner, LD_Text* currentOwner)
{
    auto device = deviceOf(record);
    if (!device)
        return LD_InvalidHandle;
    if (mode == 3)
        return device->releaseExclusive();
    if (mode != 1)
        return LD_InvalidParameter;
    std::string name = "LD_Storage";
    if (owner && !readText(owner, &name))
        return LD_InvalidStringType;
    std::string current;
    const int32_t status = device->takeExclusive(name, &current);
    if (currentOwner && currentOwner->data && currentOwner->length > 0) {
        void* out = const_cast<void*>(currentOwner->data);
        if (currentOwner->type == LD_Text16) {
            writeUtf16(current.substr(0, currentOwner->length - 1),
                       currentOwner->length * uint32_t(sizeof(char16_t)), out, nullptr);
        } else {
            const size_t n = std::min<size_t>(current.size(), currentOwner->length - 1);
            std::memcpy(out, current.data(), n);
            static_cast<char*>(out)[n] = '\0';
        }
    }
    return status;
}

int32_t LD_StorageDevice_EraseMedia(LD_DeviceRecord* record, uint32_t eraseType,
                                    LD_StatusCallback callback, void* context)
{
    auto device = deviceOf(record);
    if (!device)
        return LD_InvalidHandle;
    if (eraseType != LD_EraseQuick && eraseType != LD_EraseFull)
        return LD_InvalidParameter;
    return device->erase(eraseType, callback, context);
}

int32_t LD_StorageDevice_OpenVolume(LD_DeviceRecord* record, uint32_t* fileSystems,
                                    LD_ProgressCallback callback, void* context,
                                    LD_VolumeHandle* volume)
{
    auto device = deviceOf(record);
    if (!device)
        return LD_InvalidHandle;
    if (!volume)
        return LD_InvalidParameter;
    *volume = 0;
    uint32_t found = 0;
    int32_t status = LD_OK;
    // Opening takes the drive and reads the disc: seconds on a real recorder.
    ProgressReporter progress(callback, context, record->words[0]);
    if (!progress.report(LD_PhaseProgress, 0, 1))
        return LD_UserCancelled;
    auto opened = Volume::open(device, record->words[0], &found, &status);
    if (!opened) {
        progress.report(LD_PhaseProgress, 0, 1, status);
        return status;
    }
    progress.report(LD_PhaseProgress, 1, 1);
    if (fileSystems)
        *fileSystems = found;
    *volume = StorageRegistry::instance().addVolume(std::move(opened));
    return LD_OK;
}

int32_t LD_Volume_Create(LD_VolumeHandle* volume, uint32_t fileSystem, const LD_Text* name,
                         uint32_t, LD_ProgressCallback callback, void* context)
{
    auto v = volumeOf(volume);
    if (!v)
        return LD_InvalidHandle;
    std::string label;
    if (name && !readText(name, &label))
        return LD_InvalidStringType;
    return reportedStep(LD_PhaseFormat, v->deviceHandle(), callback, context,
                        [&] { return v->create(fileSystem, label); });
}

int32_t LD_Volume_Mount(LD_VolumeHandle* volume, uint32_t, LD_ProgressCallback callback,
                        void* context)
{
    auto v = volumeOf(volume);
    if (!v)
        return LD_InvalidHandle;
    return reportedStep(LD_PhaseMount, v->deviceHandle(), callback, context,
                        [&] { return v->mount(); });
}

int32_t LD_Volume_CreateEntryFromHD(LD_VolumeHandle* volume, const LD_Text* nameOnDisc,
                                    const LD_Text* sourcePath, uint32_t)
{
    auto v = volumeOf(volume);
    if (!v)
        return LD_InvalidHandle;
    std::string name;
    std::string path;
    if (!readText(nameOnDisc, &name) || !readText(sourcePath, &path))
        return LD_InvalidStringType;
    return v->addEntry(name, path);
}

int32_t LD_Volume_Flush(LD_VolumeHandle* volume, LD_ProgressCallback callback, void* context,
                        uint32_t, uint32_t)
{
    auto v = volumeOf(volume);
    return v ? v->flush(callback, context) : LD_InvalidHandle;
}

int32_t LD_Volume_GetProperty(LD_VolumeHandle* volume, uint32_t id, uint32_t size, void* value,
                              uint32_t* outSize)
{
    auto v = volumeOf(volume);
    if (!v)
        return LD_InvalidHandle;
    if (id != LD_VolUnreadableFiles)
        return LD_NotSupported;
    std::u16string list;
    for (const std::string& path : v->unreadableFiles()) {
        list += toUtf16(path);
        list.push_back(u'\0');
    }
    list.push_back(u'\0');
    return writeBytes(list.data(), uint32_t(list.size() * sizeof(char16_t)), size, value, outSize);
}

int32_t LD_Volume_Close(LD_VolumeHandle* volume)
{
    if (!volume || !StorageRegistry::instance().closeVolume(*volume))
        return LD_InvalidHandle;
    *volume = 0;
    return LD_OK;
}

} // extern "C"
