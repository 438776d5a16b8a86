#include "LDVolume.h"

#include "BurnerLog.h"
#include "StorageStatus.h"

namespace {
constexpr uint32_t kVolumeMode = 2;
constexpr uint32_t kEntryMode = 3;
// The library's limit for the list of unreadable files, in bytes.
constexpr uint32_t kUnreadableListBytes = 0x508;

LD_Text Text16(const std::u16string& text)
{
    return LD_Text{LD_Text16, uint32_t(text.size() + 1), text.c_str()};
}
} // namespace

LDVolume::LDVolume(StorageLibrary& library, LD_ProgressCallback callback, void* context)
    : m_library(library), m_callback(callback), m_context(context)
{
}

LDVolume::~LDVolume()
{
    Close();
}

void LDVolume::LogDuration(uint64_t startMs) const
{
    BurnerLog() << BurnerLog::Duration(BurnerLog::Milliseconds() - startMs);
}

int32_t LDVolume::Open(LD_DeviceRecord& record, uint32_t& fileSystems)
{
    fileSystems = 0;
    const uint64_t start = BurnerLog::Milliseconds();
    m_status = m_library.OpenVolume(&record, &fileSystems, m_callback, m_context, &m_handle);
    LogDuration(start);
    if (m_status != LD_OK) {
        m_handle = 0;
        StorageStatus::LogError(m_status);
    }
    return m_status;
}

int32_t LDVolume::Create(uint32_t fileSystem, const std::string& name)
{
    const LD_Text text{LD_Text8, uint32_t(name.size() + 1), name.c_str()};
    const uint64_t start = BurnerLog::Milliseconds();
    m_status =
        m_library.VolumeCreate(&m_handle, fileSystem, &text, kVolumeMode, m_callback, m_context);
    LogDuration(start);
    return m_status;
}

int32_t LDVolume::Mount()
{
    const uint64_t start = BurnerLog::Milliseconds();
    m_status = m_library.VolumeMount(&m_handle, kVolumeMode, m_callback, m_context);
    LogDuration(start);
    return m_status;
}

int32_t LDVolume::AddEntry(const std::u16string& nameOnDisc, const std::u16string& sourcePath)
{
    const LD_Text name = Text16(nameOnDisc);
    const LD_Text path = Text16(sourcePath);
    m_status = m_library.VolumeCreateEntryFromHD(&m_handle, &name, &path, kEntryMode);
    return m_status;
}

int32_t LDVolume::Flush()
{
    const uint64_t start = BurnerLog::Milliseconds();
    m_status = m_library.VolumeFlush(&m_handle, m_callback, m_context);
    LogDuration(start);
    return m_status;
}

int32_t LDVolume::UnreadableFiles(std::vector<std::u16string>& files)
{
    files.clear();
    std::u16string buffer(kUnreadableListBytes / sizeof(char16_t) + 2, u'\0');
    uint32_t size = kUnreadableListBytes;
    const int32_t status = m_library.VolumeGetProperty(&m_handle, LD_VolUnreadableFiles,
                                                       kUnreadableListBytes, buffer.data(), &size);
    if (status != LD_OK)
        return status;
    // Terminated paths, the list ended by an empty one; the two spare units end a full buffer.
    size_t at = 0;
    while (at < buffer.size() && buffer[at] != u'\0') {
        const size_t end = buffer.find(u'\0', at);
        files.push_back(buffer.substr(at, end - at));
        at = end + 1;
    }
    return LD_OK;
}

void LDVolume::Close()
{
    if (m_handle == 0)
        return;
    BurnerLog() << "Closing volume";
    const uint64_t start = BurnerLog::Milliseconds();
    const int32_t closed = m_library.VolumeClose(&m_handle);
    LogDuration(start);
    if (closed == LD_OK)
        BurnerLog() << "Done closing volume";
    else
        StorageStatus::LogError(closed);
    m_handle = 0;
}
