#include "FakeStorageLibrary.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr uint32_t kFirstHandle = 100;
constexpr uint32_t kVolumeHandle = 7;

std::string Utf8(const LD_Text* text)
{
    if (!text || !text->data)
        return {};
    if (text->type == LD_Text16)
        return QString::fromUtf16(static_cast<const char16_t*>(text->data)).toStdString();
    return static_cast<const char*>(text->data);
}

template <class T> int32_t Put(const T& value, uint32_t size, void* out, uint32_t* outSize)
{
    if (size < sizeof value)
        return LD_BufferOverflow;
    std::memcpy(out, &value, sizeof value);
    if (outSize)
        *outSize = sizeof value;
    return LD_OK;
}

int32_t PutText(const std::u16string& text, uint32_t size, void* out, uint32_t* outSize)
{
    const uint32_t bytes = uint32_t((text.size() + 1) * sizeof(char16_t));
    if (size < bytes)
        return LD_BufferOverflow;
    std::memcpy(out, text.c_str(), bytes);
    if (outSize)
        *outSize = bytes;
    return LD_OK;
}

int32_t PutArray(const std::vector<uint32_t>& values, uint32_t size, void* out, uint32_t* outSize)
{
    const uint32_t bytes = std::min<uint32_t>(size, uint32_t(values.size() * sizeof(uint32_t)));
    std::memcpy(out, values.data(), bytes);
    if (outSize)
        *outSize = bytes;
    return LD_OK;
}

} // namespace

void FakeStorageLibrary::Record(const std::string& call)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_calls.push_back(call);
}

std::vector<std::string> FakeStorageLibrary::Calls() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

bool FakeStorageLibrary::Called(const std::string& call) const
{
    const std::vector<std::string> calls = Calls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

FakeStorageLibrary::Device* FakeStorageLibrary::Find(const LD_DeviceRecord* record)
{
    if (!record || record->words[0] < kFirstHandle + 1)
        return nullptr;
    const size_t index = record->words[0] - kFirstHandle - 1;
    return index < devices.size() ? &devices[index] : nullptr;
}

int32_t FakeStorageLibrary::SetImageBurners(const char* spec)
{
    imageBurners = spec ? spec : "";
    Record("SetImageBurners " + imageBurners);
    return LD_OK;
}

int32_t FakeStorageLibrary::GetStorageDeviceCount(uint32_t, uint32_t* count)
{
    *count = uint32_t(devices.size());
    return LD_OK;
}

int32_t FakeStorageLibrary::OpenStorageDevice(uint32_t index, LD_DeviceRecord* record)
{
    if (index < 1 || index > devices.size())
        return LD_InvalidIndex;
    if (devices[index - 1].openStatus != LD_OK)
        return devices[index - 1].openStatus;
    *record = LD_DeviceRecord{};
    record->words[0] = kFirstHandle + index;
    Record("Open " + std::to_string(index));
    return LD_OK;
}

int32_t FakeStorageLibrary::CloseDevice(LD_DeviceRecord* record)
{
    Record("Close " + std::to_string(record->words[0]));
    return LD_OK;
}

int32_t FakeStorageLibrary::GetDeviceProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                              void* value, uint32_t* outSize)
{
    Device* d = Find(record);
    if (!d)
        return LD_InvalidHandle;
    if (d->failDevice.count(id))
        return d->failDevice[id];
    switch (id) {
    case LD_DevDescription:
        return PutText(d->description, size, value, outSize);
    case LD_DevPath:
        return PutText(d->path, size, value, outSize);
    case LD_DevCapabilities:
        return Put(d->capabilities, size, value, outSize);
    case LD_DevWriteBits:
        return Put(d->writeBits, size, value, outSize);
    case LD_DevTray:
        return Put(d->tray, size, value, outSize);
    case LD_DevKind:
        return Put(d->kind, size, value, outSize);
    }
    return LD_NotSupported;
}

int32_t FakeStorageLibrary::GetMediaProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                             void* value, uint32_t* outSize)
{
    Device* d = Find(record);
    if (!d)
        return LD_InvalidHandle;
    if (d->failMedia.count(id))
        return d->failMedia[id];
    switch (id) {
    case LD_MediaValue:
        return Put(d->value4, size, value, outSize);
    case LD_MediaLayerCount:
        return Put(d->layers, size, value, outSize);
    case LD_MediaLayerCapacity:
        return PutArray(d->layerCapacity, size, value, outSize);
    case LD_MediaLayerStart:
        return PutArray(d->layerStart, size, value, outSize);
    case LD_MediaState:
        return Put(d->mediaState, size, value, outSize);
    case LD_MediaFlags:
        return Put(d->mediaFlags, size, value, outSize);
    case LD_MediaUsedBytes:
        return Put(d->usedBytes, size, value, outSize);
    case LD_MediaFreeBytes:
        return Put(d->freeBytes, size, value, outSize);
    case LD_MediaType:
        return Put(d->mediaType, size, value, outSize);
    case LD_MediaSession:
        return Put(uint32_t(1), size, value, outSize);
    case LD_MediaWriteRates:
        return PutArray(d->rates, size, value, outSize);
    }
    return LD_NotSupported;
}

int32_t FakeStorageLibrary::GetState(LD_DeviceRecord* record, uint32_t* state)
{
    Device* d = Find(record);
    if (!d)
        return LD_InvalidHandle;
    if (d->stateStatus != LD_OK)
        return d->stateStatus;
    *state = d->state;
    return LD_OK;
}

int32_t FakeStorageLibrary::GetError(LD_DeviceRecord*, uint8_t* sense, uint32_t size)
{
    for (uint32_t i = 0; i < size; ++i)
        sense[i] = uint8_t(i);
    return LD_OK;
}

int32_t FakeStorageLibrary::TrayControl(LD_DeviceRecord*, uint32_t command)
{
    Record("Tray " + std::to_string(command));
    return LD_OK;
}

int32_t FakeStorageLibrary::ExclusiveAccess(LD_DeviceRecord*, uint32_t mode, const LD_Text* owner,
                                            LD_Text*)
{
    Record("ExclusiveAccess " + std::to_string(mode) + " " + Utf8(owner));
    return LD_OK;
}

int32_t FakeStorageLibrary::EraseMedia(LD_DeviceRecord*, uint32_t, LD_StatusCallback callback,
                                       void* context)
{
    Record("Erase");
    if (duringErase)
        duringErase();
    // Like the real library, the report carries no device handle.
    LD_StatusInfo info{sizeof(LD_StatusInfo), 0, 0, 0, 10, 10, 0, 0, 1000, 100};
    if (callback)
        callback(&info, context);
    return LD_OK;
}

int32_t FakeStorageLibrary::OpenVolume(LD_DeviceRecord*, uint32_t* fileSystems, LD_ProgressCallback,
                                       void*, LD_VolumeHandle* volume)
{
    Record("OpenVolume");
    m_entries = 0;
    if (openVolumeStatus != LD_OK)
        return openVolumeStatus;
    *fileSystems = fileSystemsFound;
    *volume = kVolumeHandle;
    return LD_OK;
}

int32_t FakeStorageLibrary::VolumeCreate(LD_VolumeHandle*, uint32_t fileSystem, const LD_Text* name,
                                         uint32_t, LD_ProgressCallback, void*)
{
    Record("Create " + std::to_string(fileSystem) + " " + Utf8(name));
    return createStatus;
}

int32_t FakeStorageLibrary::VolumeMount(LD_VolumeHandle*, uint32_t, LD_ProgressCallback, void*)
{
    Record("Mount");
    return mountStatus;
}

int32_t FakeStorageLibrary::VolumeCreateEntryFromHD(LD_VolumeHandle*, const LD_Text* nameOnDisc,
                                                    const LD_Text*, uint32_t)
{
    Record("Entry " + Utf8(nameOnDisc));
    return m_entries++ == entryFailAt ? entryStatus : LD_OK;
}

int32_t FakeStorageLibrary::Report(LD_ProgressCallback callback, void* context, uint32_t current,
                                   uint32_t total, int32_t error)
{
    const int32_t kind = LD_ReportProgress;
    LD_ProgressRecord record{sizeof(LD_ProgressRecord), current,      total, LD_PhaseWrite,
                             uint32_t(error),           kVolumeHandle};
    return callback(&kind, total ? int32_t(uint64_t(current) * 100 / total) : 0, &record, context);
}

int32_t FakeStorageLibrary::VolumeFlush(LD_VolumeHandle*, LD_ProgressCallback callback,
                                        void* context)
{
    Record("Flush");
    if (flushRequestKind != 0 && callback(&flushRequestKind, 0, nullptr, context) != 0) {
        Report(callback, context, 0, flushSectors, LD_UserCancelled);
        return LD_UserCancelled;
    }
    if (flushUntilCancel) {
        const uint32_t total = 1000000;
        for (uint32_t sector = 1; sector < total; ++sector) {
            if (Report(callback, context, sector, total, LD_OK) == LD_UserCancelled) {
                Report(callback, context, sector, total, LD_UserCancelled);
                return LD_UserCancelled;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return LD_Fatal;
    }
    const uint32_t last = flushStatus == LD_OK ? flushSectors : flushSectors / 2;
    for (uint32_t sector = 1; sector <= last; ++sector)
        Report(callback, context, sector, flushSectors, LD_OK);
    if (flushStatus != LD_OK)
        Report(callback, context, last, flushSectors, flushStatus);
    return flushStatus;
}

int32_t FakeStorageLibrary::VolumeGetProperty(LD_VolumeHandle*, uint32_t id, uint32_t size,
                                              void* value, uint32_t* outSize)
{
    if (id != LD_VolUnreadableFiles)
        return LD_NotSupported;
    std::u16string list;
    for (const std::u16string& file : unreadable)
        list += file + u'\0';
    return PutText(list, size, value, outSize);
}

int32_t FakeStorageLibrary::VolumeClose(LD_VolumeHandle* volume)
{
    Record("VolumeClose");
    *volume = 0;
    return LD_OK;
}
