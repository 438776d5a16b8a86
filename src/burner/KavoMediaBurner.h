#pragma once

#include <QtGlobal>
#include <functional>
#include <string>
#include <vector>

#include "DiscInfo.h"
#include "Drive.h"
#include "IKavoMediaBurnerCallback.h"
#include "LumadiscAPI.h"
#include "RefCountedPtr.h"

class StorageLibrary;

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

    // Over the process's storage library.
    KavoMediaBurner();
    // Over the given one (which must outlive the burner).
    explicit KavoMediaBurner(StorageLibrary& library);
    // Waits for a running burn to end.
    virtual ~KavoMediaBurner();

    KavoMediaBurner(const KavoMediaBurner&) = delete;
    KavoMediaBurner& operator=(const KavoMediaBurner&) = delete;

    // Tells the storage library about the user's image burners; with tracing on, the burner's
    // lines also go to the wizard's trace.
    quint32 Initialize(int mode, bool tracing);
    void SetCallback(IKavoMediaBurnerCallback* callback);

    // 0, or 2 when no recorder was found.
    quint32 GetAvailableDrives(int filter, std::vector<Drive>& drives);
    quint32 SelectFirstDrive(int filter);
    // 9 for the empty record.
    quint32 SetCurrentDrive(const Drive& drive);
    const Drive& CurrentDrive() const { return m_currentDrive; }
    // Free bytes on the disc in the current drive: 0, 2, 5, 7, 32 or 39.
    quint32 GetFreeSpace(quint64& bytes);
    // 0, 2, 7, 32 or 39.
    quint32 GetDiscInformation(DiscInfo& info);
    // Why nothing can be written to the current drive now (an image burner's path that is
    // missing or no file), empty when it can: 0, 2 or 39.
    quint32 GetWriteProblem(std::u16string& problem);
    // The fastest write rate of the disc in the current drive: 0, 32 or 39.
    quint32 GetHighestWriteRate(quint32& bytesPerSecond);

    int GetFileCount() const { return int(m_files.size()); }
    bool HasFiles() const { return !m_files.empty(); }
    quint32 AddFile(const std::u16string& path);
    quint32 RemoveFile(const std::u16string& path);
    quint32 ClearFiles();
    // The names the files added so far get at the root of the disc, in the order added.
    std::vector<std::u16string> FileNamesOnDisc() const;

    // Starts writing the files added since the last write to the current drive; returns once
    // the burn is under way (or has already ended). 0, or 9 without a current drive.
    quint32 WriteToDisc(const std::u16string& label);
    // Waits for the burn, reporting progress about once a second. 0 or 11 on success, 14 when
    // cancelled, 32 or 39 when the storage library failed. The file list is empty afterwards,
    // whatever the outcome.
    quint32 Run();
    // The state of the disc in a recorder (the library's device state, 0 when it cannot be
    // read), for a thread that polls it: the probe holds only the storage library.
    std::function<quint32(LD_DeviceRecord)> DiscStateProbe() const;
    // Once per process: why a recorder the scan skipped cannot be used by this account (its
    // device node and group); empty when there is nothing to say (or it was said).
    QString TakeAccessHint();
    // Why the last write failed, in words; empty after a success or a cancel.
    QString FailureReason() const;
    // Asks the running burn to stop; returns at once. Any thread may call it.
    quint32 Cancel();

    bool isTracing() const { return m_tracing; }

private:
    // Passes the setting "ImageBurners" to the storage library when it changed.
    void ApplyImageBurners();

    Drive m_currentDrive;
    std::vector<std::u16string> m_files;
    quint32 m_lastReportedSector = 0;
    LumadiscAPI m_api;
    kvtl::RefCountedPtr<IKavoMediaBurnerCallback> m_callback;
    bool m_tracing = false;
    bool m_burnStarted = false;
    bool m_imageBurnersApplied = false;
    std::string m_imageBurners;
};
