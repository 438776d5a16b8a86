#include "LumadiscAPI.h"

#include "BurnerLog.h"
#include "CBurnThread.h"
#include "LDDevice.h"
#include "StorageStatus.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr uint64_t kWritesCD = 0x1;
constexpr uint64_t kWritesDVD = 0x40;
constexpr uint32_t kMaxLayers = 16;
constexpr uint32_t kMaxRates = 128;

uint64_t WriteMaskFor(int filter)
{
    uint64_t mask = 0;
    if (filter & 1)
        mask |= kWritesCD;
    if (filter & 2)
        mask |= kWritesDVD | LD_WritesBD; // a Blu-ray writer takes DVDs as well
    return mask;
}

bool IsRewritable(uint64_t mediaType)
{
    return mediaType == LD_TypeCDRW || mediaType == LD_TypeDVDRW || mediaType == LD_TypeDVDPlusRW ||
           mediaType == LD_TypeBDRE;
}

// Reads an array property, logging each entry as "Layer #i <what>: value".
int32_t ReadLayers(LDDevice& device, uint32_t id, uint32_t layers, const char* what,
                   std::vector<uint32_t>& values)
{
    if (device.MediaArray(id, layers, values) != LD_OK)
        return device.Status();
    for (size_t i = 0; i < values.size(); ++i)
        BurnerLog() << "Layer #" << i << " " << what << ": " << values[i];
    return LD_OK;
}

} // namespace

LumadiscAPI::LumadiscAPI(StorageLibrary& library)
    : m_library(library), m_burnThread(std::make_unique<CBurnThread>(this))
{
}

LumadiscAPI::~LumadiscAPI()
{
    m_burnThread->Wait();
    m_burnThread.reset();
}

uint32_t LumadiscAPI::GetAvailableDrives(int filter, std::vector<Drive>& drives)
{
    drives.clear();
    uint32_t count = 0;
    if (m_library.GetStorageDeviceCount(LD_ClassRecorders, &count) != LD_OK)
        count = 0;
    const uint64_t wanted = WriteMaskFor(filter);
    for (uint32_t index = 1; index <= count; ++index) {
        LDDevice device(m_library);
        if (device.Open(index) != LD_OK)
            continue;
        uint32_t capabilities = 0;
        if (device.DeviceValue(LD_DevCapabilities, capabilities) != LD_OK || !(capabilities & 1))
            continue;
        uint64_t writes = 0;
        if (device.DeviceValue64(LD_DevWriteBits, writes) != LD_OK || !(writes & wanted))
            continue;
        std::u16string description;
        std::u16string path;
        device.DeviceText(LD_DevDescription, description);
        device.DeviceText(LD_DevPath, path);
        BurnerLog() << "Device Description: " << description;
        BurnerLog() << "Device DrivePath: " << path;
        if (path.empty())
            continue;
        auto* data = new DrivePrivateData(m_library, device.Detach());
        const Drive drive(uint32_t(path.front() & 0xFF), path, description, data);
        drives.push_back(drive);
    }
    return drives.empty() ? 2 : 0;
}

uint32_t LumadiscAPI::GetDiscInformation(const Drive& drive, DiscInfo& out)
{
    // Filled only on success: a failed query leaves no half-read disc behind.
    out = DiscInfo();
    DiscInfo info;
    if (!drive.privateData())
        return 2;
    LDDevice device(m_library, drive.record(), false);
    uint32_t state = 0;
    if (device.State(state) != LD_OK)
        return 2;
    if (state == LD_DeviceNotReadyState || state == LD_DeviceBecomingReady)
        return 7;

    uint32_t bits = 0;
    if (device.MediaValue(LD_MediaState, bits) == LD_OK) {
        info.erasable = (bits & LD_StateErasable) != 0;
        info.writable = (bits & LD_StateWritable) != 0;
    }
    uint32_t session = 0;
    device.MediaValue(LD_MediaSession, session);
    uint64_t mediaType = 0;
    if (device.MediaValue64(LD_MediaType, mediaType) != LD_OK)
        mediaType = 0;
    if (device.MediaValue(LD_MediaValue, info.value) != LD_OK)
        info.value = 0;

    uint32_t layers = 0;
    if (device.MediaValue(LD_MediaLayerCount, layers) == LD_OK) {
        BurnerLog() << "Layers: " << layers;
        if (layers > 0) {
            layers = std::min(layers, kMaxLayers);
            std::vector<uint32_t> capacity;
            std::vector<uint32_t> start;
            int32_t status =
                ReadLayers(device, LD_MediaLayerCapacity, layers, "Capacity", capacity);
            if (status == LD_OK)
                status = ReadLayers(device, LD_MediaLayerStart, layers, "Start", start);
            if (status != LD_OK)
                return StorageStatus::ToResult(status);
            // Layer 0 only: the written part of a two-layer disc starts on it. A start past the
            // capacity (or a capacity of 0) leaves nothing free rather than wrapping around.
            const uint32_t used = start.empty() ? 0 : start[0];
            const uint32_t total = capacity.empty() ? 0 : capacity[0];
            info.usedBlocks = used;
            info.freeBlocks = total > used ? total - used : 0;
        }
    }
    if (!IsRewritable(mediaType)) {
        uint64_t usedBytes = 0;
        uint64_t freeBytes = 0;
        if (device.MediaValue64(LD_MediaUsedBytes, usedBytes) != LD_OK ||
            device.MediaValue64(LD_MediaFreeBytes, freeBytes) != LD_OK)
            return StorageStatus::ToResult(device.Status());
        info.usedBlocks =
            uint32_t(std::min<uint64_t>(usedBytes / DiscInfo::kBlockSize, UINT32_MAX));
        info.freeBlocks =
            uint32_t(std::min<uint64_t>(freeBytes / DiscInfo::kBlockSize, UINT32_MAX));
    }
    out = info;
    return 0;
}

uint32_t LumadiscAPI::GetFreeSpace(const Drive& drive, uint64_t& bytes)
{
    bytes = 0;
    DiscInfo info;
    const uint32_t result = GetDiscInformation(drive, info);
    if (result != 0)
        return result;
    bytes = uint64_t(info.freeBlocks) * DiscInfo::kBlockSize;
    return bytes == 0 ? 5 : 0;
}

uint32_t LumadiscAPI::GetHighestWriteRate(const Drive& drive, uint32_t& rate)
{
    rate = 0;
    if (!drive.privateData())
        return StorageStatus::ToResult(LD_InvalidHandle);
    LDDevice device(m_library, drive.record(), false);
    std::vector<uint32_t> rates;
    if (device.MediaArray(LD_MediaWriteRates, kMaxRates, rates) != LD_OK)
        return StorageStatus::ToResult(device.Status());
    rate = rates.empty() ? 0 : rates.front() / 100;
    return 0;
}

uint32_t LumadiscAPI::StartBurn(const Drive& drive, const std::vector<std::u16string>& files,
                                const std::u16string& label)
{
    return m_burnThread->StartBurn(drive, files, label);
}
