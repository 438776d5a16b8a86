#pragma once

#include "BurnProgress.h"
#include "Drive.h"
#include "OSThread.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class LDDevice;
class LDVolume;
class LumadiscAPI;
class StorageLibrary;

// Writes a list of files from the hard disk onto the disc in one recorder, on its own thread:
// exclusive access, erase of a rewritable disc, a new file system (or the one on the disc),
// the files at the root, the write, close and release. One object serves every burn.
class CBurnThread : public OSThread
{
public:
    explicit CBurnThread(LumadiscAPI* owner);
    ~CBurnThread() override;

    // Hands a burn to the thread and returns once it has reported its first total, or has ended
    // before that. Waits for the previous burn first. Always 0.
    uint32_t StartBurn(const Drive& drive, const std::vector<std::u16string>& files,
                       const std::u16string& label);

    // Drops the burn's copy of its drive once the burn has ended, so the device closes when the
    // controller lets go of it too. Controller's thread only (Drive counts are not atomic).
    void ReleaseDrive();

    // Asks the running burn to stop; the next progress report carries it to the library.
    void Cancel() { m_cancel = true; }

    const BurnProgress& Progress() const { return m_progress; }
    // True once the last burn handed over has ended (or none was ever started).
    bool HasEnded() const { return m_ended; }
    // Waits up to timeoutMs for the burn to end (kInfinite: no limit); true when it has.
    bool WaitForEnd(uint32_t timeoutMs);
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

    // Outcome of the last burn once it has ended: 0, or 32/39 as the library's failure maps.
    uint32_t Result() const { return m_result; }
    // Whether the last burn ended because the user cancelled it.
    bool WasCancelled() const { return m_cancelled; }
    // Why the last burn failed, in words (the drive's sense, a drive gone, the library's
    // status); empty after a success or a cancel. Read once the burn has ended.
    const QString& FailureReason() const { return m_failureReason; }

protected:
    int32_t OnStart() override;
    int32_t OnFinish() override;
    int32_t Execute() override;

private:
    static int32_t ProgressHook(const int32_t* kind, int32_t percent, LD_ProgressRecord* record,
                                void* context);
    uint32_t Burn();
    void EraseIfNeeded(LDDevice& device);
    int32_t PrepareVolume(LDVolume& volume, LDDevice& device);
    int32_t AddEntries(LDVolume& volume);
    int32_t WriteVolume(LDVolume& volume);
    // Keeps the failing status of a step and gives the burn's result for it.
    uint32_t Fail(int32_t status);
    uint32_t CancelledBeforeWrite();
    // Keeps the reason of a failed step, with the drive's sense bytes and presence.
    void NoteFailure(LDDevice& device, int32_t status);
    void MarkEnded(bool ended);

    LumadiscAPI* m_owner;
    std::atomic<bool> m_cancel{false};
    Drive m_drive;
    std::vector<std::u16string> m_files;
    std::u16string m_label;
    uint32_t m_state = 4;
    BurnProgress m_progress;

    StorageLibrary& m_library;
    std::atomic<uint32_t> m_result{0};
    std::atomic<bool> m_cancelled{false};
    QString m_failureReason;
    // A request to insert a medium was refused: the burn failed, the user did not cancel it.
    std::atomic<bool> m_mediumRefused{false};
    std::mutex m_endMutex;
    std::condition_variable m_endChanged;
    std::atomic<bool> m_ended{true};
};
