#pragma once

#include <QtGlobal>
#include <atomic>
#include <string>
#include <vector>

#include "Drive.h"
#include "IKavoMediaBurnerCallback.h"
#include "RefCountedPtr.h"

// The one object through which the controller uses the disc burner: list and choose a
// recorder, collect files, write them as one volume and wait for the write while progress goes
// to the callback.
class KavoMediaBurner
{
public:
    enum Result : quint32
    {
        Success = 0,
        NoRecorder = 2,
        DiscFull = 5,
        NoDiscReady = 7,
        EmptyDrive = 9,
        BurnComplete = 11,
        BurnCancelled = 14,
        StorageBusy = 32,
        StorageFailure = 39,
    };

    KavoMediaBurner();
    virtual ~KavoMediaBurner();

    KavoMediaBurner(const KavoMediaBurner&) = delete;
    KavoMediaBurner& operator=(const KavoMediaBurner&) = delete;

    // Prepares the storage back end; tracing sends one line per event to standard output.
    quint32 Initialize(int mode, bool tracing);
    void SetCallback(IKavoMediaBurnerCallback* callback);

    quint32 GetAvailableDrives(int filter, std::vector<Drive>& drives);
    quint32 SelectFirstDrive(int filter);
    quint32 SetCurrentDrive(const Drive& drive);
    const Drive& CurrentDrive() const { return m_currentDrive; }
    quint32 GetFreeSpace(quint64& bytes);
    quint32 GetHighestWriteRate(quint32& bytesPerSecond);

    int GetFileCount() const { return int(m_files.size()); }
    bool HasFiles() const { return !m_files.empty(); }
    quint32 AddFile(const std::u16string& path);
    quint32 RemoveFile(const std::u16string& path);
    quint32 ClearFiles();

    quint32 WriteToDisc(const std::u16string& label);
    quint32 Run();
    quint32 Cancel();

    bool isTracing() const { return m_tracing; }

private:
    Drive m_currentDrive;
    std::vector<std::u16string> m_files;
    quint32 m_lastReportedSector = 0;
    kvtl::RefCountedPtr<IKavoMediaBurnerCallback> m_callback;
    std::atomic<bool> m_cancel{false};
    bool m_tracing = false;
};
