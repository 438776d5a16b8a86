#include "KavoMediaBurner.h"

#include <algorithm>
#include <cstdio>

// The storage back end (recorder scan and volume writer) is not wired in yet: every recorder
// query answers "no recorder", and a write is refused rather than reported as done.

KavoMediaBurner::KavoMediaBurner() = default;

KavoMediaBurner::~KavoMediaBurner()
{
    m_callback.reset();
}

quint32 KavoMediaBurner::Initialize(int /*mode*/, bool tracing)
{
    m_tracing = tracing;
    if (m_tracing) {
        std::printf("KavoMediaBurner: initialised\n");
        std::fflush(stdout);
    }
    return Success;
}

void KavoMediaBurner::SetCallback(IKavoMediaBurnerCallback* callback)
{
    m_callback = callback;
}

quint32 KavoMediaBurner::GetAvailableDrives(int /*filter*/, std::vector<Drive>& drives)
{
    drives.clear();
    return NoRecorder;
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
    bytes = 0;
    return m_currentDrive.isEmpty() ? NoRecorder : NoDiscReady;
}

quint32 KavoMediaBurner::GetHighestWriteRate(quint32& bytesPerSecond)
{
    bytesPerSecond = 0;
    return StorageFailure;
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

quint32 KavoMediaBurner::ClearFiles()
{
    m_files.clear();
    return Success;
}

quint32 KavoMediaBurner::WriteToDisc(const std::u16string& /*label*/)
{
    m_lastReportedSector = 0;
    m_cancel = false;
    return m_currentDrive.isEmpty() ? EmptyDrive : StorageFailure;
}

quint32 KavoMediaBurner::Run()
{
    return m_cancel ? BurnCancelled : StorageFailure;
}

quint32 KavoMediaBurner::Cancel()
{
    m_cancel = true;
    return Success;
}
