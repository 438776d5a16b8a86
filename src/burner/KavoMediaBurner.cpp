#include "KavoMediaBurner.h"

#include "BurnerLog.h"
#include "CBurnThread.h"
#include "DiscEntryNames.h"
#include "LDDevice.h"
#include "SettingsAccessors.h"
#include "StorageLibrary.h"

#include <algorithm>

namespace {
constexpr quint32 kPollMs = 1000;
constexpr uint32_t kTrayEject = 1;
} // namespace

KavoMediaBurner::KavoMediaBurner() : KavoMediaBurner(StorageLibrary::Default()) {}

KavoMediaBurner::KavoMediaBurner(StorageLibrary& library) : m_api(library) {}

KavoMediaBurner::~KavoMediaBurner()
{
    m_callback.reset();
}

quint32 KavoMediaBurner::Initialize(int /*mode*/, bool tracing)
{
    m_tracing = tracing;
    BurnerLog::PassStorageLines();
    ApplyImageBurners();
    return Success;
}

void KavoMediaBurner::ApplyImageBurners()
{
    std::string burners;
    if (!ReadSetting(std::string("TransferWizard"), std::string("ImageBurners"), burners))
        burners.clear();
    if (m_imageBurnersApplied && burners == m_imageBurners)
        return;
    m_api.Library().SetImageBurners(burners.c_str());
    m_imageBurners = burners;
    m_imageBurnersApplied = true;
}

void KavoMediaBurner::SetCallback(IKavoMediaBurnerCallback* callback)
{
    m_callback = callback;
}

quint32 KavoMediaBurner::GetAvailableDrives(int filter, std::vector<Drive>& drives)
{
    ApplyImageBurners();
    return m_api.GetAvailableDrives(filter, drives);
}

quint32 KavoMediaBurner::SelectFirstDrive(int filter)
{
    std::vector<Drive> drives;
    const quint32 rc = GetAvailableDrives(filter, drives);
    if (rc != Success)
        return rc;
    if (drives.empty())
        return NoRecorder;
    if (drives.front().isEmpty())
        return EmptyDrive;
    m_currentDrive = drives.front();
    return Success;
}

quint32 KavoMediaBurner::SetCurrentDrive(const Drive& drive)
{
    if (drive.isEmpty())
        return EmptyDrive;
    m_currentDrive = drive;
    return Success;
}

quint32 KavoMediaBurner::GetFreeSpace(quint64& bytes)
{
    uint64_t free = 0;
    const quint32 rc = m_api.GetFreeSpace(m_currentDrive, free);
    bytes = free;
    return rc;
}

quint32 KavoMediaBurner::GetDiscInformation(DiscInfo& info)
{
    return m_api.GetDiscInformation(m_currentDrive, info);
}

quint32 KavoMediaBurner::GetWriteProblem(std::u16string& problem)
{
    problem.clear();
    if (!m_currentDrive.record().words[0])
        return NoRecorder;
    LDDevice device(m_api.Library(), m_currentDrive.record(), false);
    const int32_t status = device.DeviceText(LD_DevWriteProblem, problem);
    // A library that does not know the question has nothing to say against the drive.
    return status == LD_OK || status == LD_NotSupported ? Success : StorageFailure;
}

quint32 KavoMediaBurner::GetHighestWriteRate(quint32& bytesPerSecond)
{
    uint32_t rate = 0;
    const quint32 rc = m_api.GetHighestWriteRate(m_currentDrive, rate);
    bytesPerSecond = rate;
    return rc;
}

quint32 KavoMediaBurner::AddFile(const std::u16string& path)
{
    m_files.push_back(path);
    return Success;
}

quint32 KavoMediaBurner::RemoveFile(const std::u16string& path)
{
    auto it = std::find(m_files.begin(), m_files.end(), path);
    if (it != m_files.end())
        m_files.erase(it);
    return Success;
}

std::vector<std::u16string> KavoMediaBurner::FileNamesOnDisc() const
{
    return DiscEntryNames::Unique(m_files);
}

quint32 KavoMediaBurner::ClearFiles()
{
    m_files.clear();
    return Success;
}

quint32 KavoMediaBurner::WriteToDisc(const std::u16string& label)
{
    m_lastReportedSector = 0;
    if (m_currentDrive.isEmpty()) {
        // This write ends here; its files must not ride along with the next one.
        m_files.clear();
        m_burnStarted = false;
        return EmptyDrive;
    }
    m_burnStarted = true;
    return m_api.StartBurn(m_currentDrive, m_files, label);
}

quint32 KavoMediaBurner::Run()
{
    CBurnThread& burn = m_api.BurnThread();
    if (!m_burnStarted) {
        m_files.clear();
        return StorageFailure;
    }
    const BurnProgress& progress = burn.Progress();
    quint32 lastPhase = UINT32_MAX;
    quint32 lastPhaseSector = 0;
    // Poll until the burn thread has ended, not only until the last sector: the library may
    // still verify or close the volume, and the outcome is known only at the end.
    for (bool ended = false; !ended;) {
        // A second between polls, or less once the burn has ended.
        ended = burn.WaitForEnd(kPollMs);
        const quint32 phase = progress.Get(BurnProgress::Phase);
        const quint32 current = progress.Current();
        const quint32 total = progress.Total();
        if (m_callback && (phase != lastPhase || current != lastPhaseSector)) {
            lastPhase = phase;
            lastPhaseSector = current;
            m_callback->OnBurnPhase(phase, current, total);
        }
        // Sectors written: the steps before the write count their own small totals, the
        // read-back after it its own sectors.
        const quint32 written = progress.Written();
        const quint32 writeTotal = progress.WriteTotal();
        if (writeTotal != 0 && written > m_lastReportedSector) {
            m_lastReportedSector = written;
            if (m_callback)
                m_callback->OnProgress(written, writeTotal);
        }
    }
    m_burnStarted = false;
    m_files.clear();
    burn.ReleaseDrive();
    const bool wrote = progress.Get(BurnProgress::Phase) >= LD_PhaseWrite && progress.Total() != 0;
    if (!wrote) {
        // Nothing was written: hand the disc back to the user.
        LD_DeviceRecord record = m_currentDrive.record();
        m_api.Library().TrayControl(&record, kTrayEject);
    }

    if (burn.WasCancelled())
        return BurnCancelled;
    if (burn.Result() != 0)
        return burn.Result();
    if (progress.Error() == LD_UserCancelled)
        return BurnCancelled;
    return progress.Current() == progress.Total() ? BurnComplete : Success;
}

std::function<quint32(LD_DeviceRecord)> KavoMediaBurner::DiscStateProbe() const
{
    StorageLibrary* library = &m_api.Library();
    return [library](LD_DeviceRecord record) -> quint32 {
        uint32_t state = 0;
        return library->GetState(&record, &state) == LD_OK ? state : 0;
    };
}

QString KavoMediaBurner::TakeAccessHint()
{
    char text[1024] = {};
    if (m_api.Library().GetRecorderAccessHint(text, sizeof text) != LD_OK)
        return QString();
    return QString::fromUtf8(text);
}

QString KavoMediaBurner::FailureReason() const
{
    return m_burnStarted ? QString() : m_api.BurnThread().FailureReason();
}

quint32 KavoMediaBurner::Cancel()
{
    m_api.BurnThread().Cancel();
    return Success;
}
