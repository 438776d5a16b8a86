#include "CBurnThread.h"

#include "BurnerLog.h"
#include "DiscEntryNames.h"
#include "ExclusiveAccess.h"
#include "KavoTiming.h"
#include "LDDevice.h"
#include "LDVolume.h"
#include "LumadiscAPI.h"
#include "NamedMutex.h"
#include "NamedMutexGuard.h"
#include "SenseText.h"
#include "StorageCallbacks.h"
#include "StorageDeviceList.h"
#include "StorageStatus.h"

#include <chrono>

namespace {

constexpr uint32_t kFolderDevice = 4;
constexpr uint32_t kTrayClosed = 3;
constexpr uint32_t kTrayEject = 1;
constexpr uint32_t kTrayLoad = 2;
constexpr uint32_t kTrayClose = 5;
constexpr uint32_t kDestroyable = 0x200;
constexpr uint32_t kStartPollMs = 500;
const char* const kVolumeName = "KavoTransferWizard";

struct NamedBit
{
    uint32_t bit;
    const char* name;
};

const NamedBit kFileSystemNames[] = {
    {0x2, " ISO Level 1"},      {0x4, " ISO Level 2"}, {0x8, " ISO Level 2 Long"},
    {0x10, " ISO Versionless"}, {0x20, " Joliet"},     {0x400, " UDF 1.02"},
    {0x800, " UDF 1.5"},        {0x1000, " UDF 2.0"},  {0x8000, " UDF 2.01"},
    {0x2000, " UDF 2.5"},       {0x4000, " UDF 2.6"},  {0x200000, " Audio"},
    {0x2000000, " TDF"},        {0x4000000, " VRT"},   {0x8000000, " RSAT"},
};

std::string FileSystemNames(uint32_t mask)
{
    if (mask == 0)
        return "None";
    std::string names;
    for (const NamedBit& fs : kFileSystemNames) {
        if (mask & fs.bit)
            names += fs.name;
    }
    return names;
}

// CDs get ISO 9660 level 2 with long names; every other medium UDF 1.5.
uint32_t FileSystemFor(uint64_t mediaType)
{
    if (mediaType == LD_TypeCDROM || mediaType == LD_TypeCDR || mediaType == LD_TypeCDRW)
        return LD_FsIsoLevel2Long;
    return LD_FsUdf15;
}

} // namespace

CBurnThread::CBurnThread(LumadiscAPI* owner) : m_owner(owner), m_library(owner->Library()) {}

CBurnThread::~CBurnThread()
{
    Wait();
}

void CBurnThread::MarkEnded(bool ended)
{
    {
        std::lock_guard<std::mutex> lock(m_endMutex);
        m_ended = ended;
    }
    m_endChanged.notify_all();
}

bool CBurnThread::WaitForEnd(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_endMutex);
    if (timeoutMs == kInfinite) {
        m_endChanged.wait(lock, [this] { return m_ended.load(); });
        return true;
    }
    return m_endChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [this] { return m_ended.load(); });
}

void CBurnThread::ReleaseDrive()
{
    WaitForEnd(kInfinite);
    m_drive = Drive();
}

uint32_t CBurnThread::StartBurn(const Drive& drive, const std::vector<std::u16string>& files,
                                const std::u16string& label)
{
    if (HasThread()) {
        Wait();
        Close();
    }
    m_drive = drive;
    m_files = files;
    m_label = label;
    m_state = 0;
    // The record still holds the last report of the previous burn; its total must not pass for
    // this burn's first report.
    m_progress.Clear();
    m_result = 0;
    m_cancelled = false;
    m_failureReason.clear();
    m_mediumRefused = false;
    // Cleared here rather than on the new thread, so a cancel that comes while the thread
    // starts is not lost.
    m_cancel = false;
    MarkEnded(false);

    if (!Create()) {
        BurnerLog() << "Could not start the burn thread";
        m_result = StorageStatus::ToResult(LD_Fatal);
        MarkEnded(true);
        return 0;
    }
    Resume();

    // Until the first total arrives, or the burn has ended without one.
    for (;;) {
        {
            NamedMutexGuard guard(kStorageAccessMutexName);
            if (m_progress.Total() != 0)
                break;
        }
        if (WaitForEnd(kStartPollMs))
            break;
    }
    return 0;
}

int32_t CBurnThread::OnStart()
{
    m_progress.Clear();
    StorageCallbacks::InstallHook(&CBurnThread::ProgressHook, this);
    return 0;
}

int32_t CBurnThread::OnFinish()
{
    StorageCallbacks::ClearHook();
    m_cancel = false;
    MarkEnded(true);
    return 0;
}

int32_t CBurnThread::Execute()
{
    m_result = Burn();
    return int32_t(m_result.load());
}

int32_t CBurnThread::ProgressHook(const int32_t* kind, int32_t /*percent*/,
                                  LD_ProgressRecord* record, void* context)
{
    auto* self = static_cast<CBurnThread*>(context);
    const int32_t reportKind = kind ? *kind : 0;
    if (reportKind == LD_ReportProgress && record) {
        NamedMutexGuard guard(kStorageAccessMutexName);
        self->m_progress.Store(*record);
    }
    if (reportKind == LD_ReportInsertMedium || reportKind == LD_ReportInsertNextMedium)
        self->m_mediumRefused = true;
    if (self->m_cancel) {
        BurnerLog() << "Sending cancel message";
        return LD_UserCancelled;
    }
    return 0;
}

uint32_t CBurnThread::Fail(int32_t status)
{
    if (m_mediumRefused)
        return StorageStatus::ToResult(LD_DeviceNotReady);
    if (status == LD_UserCancelled)
        m_cancelled = true;
    return StorageStatus::ToResult(status);
}

uint32_t CBurnThread::CancelledBeforeWrite()
{
    BurnerLog() << "Cancelled before the write";
    return Fail(LD_UserCancelled);
}

void CBurnThread::NoteFailure(LDDevice& device, int32_t status)
{
    uint8_t sense[21] = {};
    if (m_library.GetError(&device.Record(), sense, sizeof sense) != LD_OK)
        sense[2] = 0;
    // A drive that no longer answers for its tray has gone away (unplugged, switched off).
    uint32_t tray = 0;
    const bool gone = device.DeviceValue(LD_DevTray, tray) == LD_NotFound;
    // The drive's own answer (sense data, or gone) is put in words; otherwise the storage
    // library's own words (an image path's problem, the host disk) say most.
    const bool driveAnswered = gone || (sense[2] & 0x0f) != 0;
    std::u16string libraryReason;
    if (!m_mediumRefused && status != LD_UserCancelled && !driveAnswered &&
        device.DeviceText(LD_DevLastFailure, libraryReason) == LD_OK && !libraryReason.empty())
        m_failureReason = QString::fromStdU16String(libraryReason);
    else
        m_failureReason =
            SenseText::ForFailure(m_mediumRefused ? LD_DeviceNotReady : status, sense, gone);
    if (!m_failureReason.isEmpty())
        BurnerLog() << "Burn failed: " << m_failureReason.toStdString();
}

uint32_t CBurnThread::Burn()
{
    LDDevice device(m_library, m_drive.record(), false);
    ExclusiveAccess access(m_library, device.Record());
    EraseIfNeeded(device);
    // A cancel before the write has no progress report to travel with: honour it between steps.
    if (m_cancel)
        return CancelledBeforeWrite();

    LDVolume volume(m_library, &StorageCallbacks::Progress, this);
    int32_t status = PrepareVolume(volume, device);
    if (status == LD_OK)
        status = AddEntries(volume);
    if (status == LD_OK && m_cancel)
        return CancelledBeforeWrite();
    if (status == LD_OK)
        status = WriteVolume(volume);
    if (status == LD_OK)
        return 0;
    NoteFailure(device, status);
    return Fail(status);
}

void CBurnThread::EraseIfNeeded(LDDevice& device)
{
    bool erase = false;
    uint32_t kind = 0;
    if (device.DeviceValue(LD_DevKind, kind) == LD_OK && kind == kFolderDevice) {
        erase = true;
    } else {
        uint32_t tray = 0;
        if (device.DeviceValue(LD_DevTray, tray) != LD_OK) {
            StorageStatus::LogError(device.Status(), &m_library, &device.Record());
            return;
        }
        if (tray != kTrayClosed)
            device.Tray(kTrayClose);
        uint32_t state = 0;
        device.State(state);
        if (state == LD_DeviceNotReadyState) {
            BurnerLog() << "Please insert a media.";
            device.Tray(kTrayLoad);
            return;
        }
        uint32_t flags = 0;
        if (device.MediaValue(LD_MediaFlags, flags) != LD_OK)
            flags = 0;
        uint32_t bits = 0;
        if (device.MediaValue(LD_MediaState, bits) != LD_OK)
            return;
        BurnerLog line;
        line << "LDTest: Media States: ";
        const NamedBit stateNames[] = {{LD_StateReadable, "Readable "},
                                       {LD_StateWritable, "Writable "},
                                       {LD_StateAppendable, "Appendable "},
                                       {LD_StateRewrite, "Rewrite "},
                                       {LD_StateErasable, "Erasable "}};
        for (const NamedBit& b : stateNames) {
            if (bits & b.bit)
                line << b.name;
        }
        if (flags & kDestroyable)
            line << "Destroyable ";
        if (bits & LD_StateProtected)
            line << "Protected ";
        if (bits & LD_StateBlank)
            line << "Blank ";
        erase = (bits & LD_StateErasable) || (flags & kDestroyable);
    }
    if (!erase)
        return;
    std::u16string description;
    device.DeviceText(LD_DevDescription, description);
    BurnerLog() << "Device is: " << description;
    const uint64_t start = BurnerLog::Milliseconds();
    const int32_t erased =
        m_library.EraseMedia(&device.Record(), 0, &StorageCallbacks::Status, &description);
    BurnerLog() << BurnerLog::Duration(BurnerLog::Milliseconds() - start);
    // The burn goes on whatever the erase did: a failed erase shows in the format or the write.
    if (erased != LD_OK)
        StorageStatus::LogError(erased, &m_library, &device.Record());
}

int32_t CBurnThread::PrepareVolume(LDVolume& volume, LDDevice& device)
{
    BurnerLog() << "Opening volume...";
    StorageDeviceList::Instance().Register(device.Record(), m_drive.name());
    uint32_t fileSystems = 0;
    if (volume.Open(device.Record(), fileSystems) != LD_OK)
        return volume.Status();
    if (fileSystems == 0)
        BurnerLog() << "No file system detected. Use LD_Volume_Create.";
    else
        BurnerLog() << "Detected [" << FileSystemNames(fileSystems) << " ]. Use LD_Volume_Mount.";

    uint64_t mediaType = 0;
    if (device.MediaValue64(LD_MediaType, mediaType) != LD_OK)
        mediaType = 0;
    BurnerLog() << "Format volume";
    if (volume.Create(FileSystemFor(mediaType), kVolumeName) == LD_OK) {
        BurnerLog() << "Done Format volume";
        return LD_OK;
    }
    StorageStatus::LogError(volume.Status());
    BurnerLog() << "Mount volume";
    if (volume.Mount() == LD_OK) {
        BurnerLog() << "Done Mount volume";
        return LD_OK;
    }
    StorageStatus::LogError(volume.Status());
    return volume.Status();
}

int32_t CBurnThread::AddEntries(LDVolume& volume)
{
    const std::vector<std::u16string> names = DiscEntryNames::Unique(m_files);
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (names[i] != DiscEntryNames::BaseName(m_files[i]))
            BurnerLog() << "Name taken on the disc: " << m_files[i] << " is written as "
                        << names[i];
        if (volume.AddEntry(names[i], m_files[i]) != LD_OK) {
            BurnerLog() << "Could not add " << m_files[i] << ": "
                        << StorageStatus::Text(volume.Status());
            return volume.Status();
        }
    }
    return LD_OK;
}

int32_t CBurnThread::WriteVolume(LDVolume& volume)
{
    const int32_t flushed = volume.Flush();
    if (flushed == LD_OK)
        BurnerLog() << "Done Flush volume";
    else
        StorageStatus::LogError(flushed);

    std::vector<std::u16string> unreadable;
    const int32_t listed = volume.UnreadableFiles(unreadable);
    // A list too long for the buffer still means that files were not read.
    const bool filesMissing = !unreadable.empty() || listed == LD_BufferOverflow;
    if (filesMissing) {
        BurnerLog() << "Read file error list:";
        for (const std::u16string& file : unreadable)
            BurnerLog() << "  Could not read " << file;
        if (listed == LD_BufferOverflow)
            BurnerLog() << "  (more files than the list holds)";
    }
    if (flushed != LD_OK)
        return flushed;
    // A disc without some of its files is not a finished burn.
    return filesMissing ? LD_ReadError : LD_OK;
}
