#pragma once

#include "RecorderBackend.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// What a real recorder does, without one: the drive's capabilities, the disc in it (family,
// state, layers), its tray, another program holding it, a drive that goes away or fails with
// sense bytes in the middle of a write, a disc that is slow to spin up. The data of a write
// goes to an image file through libburn's stdio drive, so what was written can be read back.
class FakeRecorderBackend : public ld::RecorderBackend
{
public:
    struct Drive
    {
        ld::RecorderInfo info;
        ld::MediumReport medium;
        ld::TrayState tray = ld::TrayState::Loaded;
        std::string image;          // where the data of a write goes
        bool heldElsewhere = false; // another program has the drive
        bool permissionDenied = false;
        int unreadyReads = 0;       // medium reads answering "becoming ready" first
        int pollDelayMs = 0;        // a slow drive: each status poll takes this long
        int64_t failAtSector = -1;  // the write breaks off here...
        std::string failMessage;    // ...with libburn's message (sense as "[k asc ascq]")
        bool goneAtFailure = false; // ...and the drive disappears
        // What the library asked for.
        std::vector<bool> erases;    // fast flags
        std::vector<bool> trayMoves; // true: eject
        bool failed = false;
    };

    // A drive and a disc of one family, e.g. ("/dev/sr0", 0x1b, Blank, 2295104 blocks).
    static Drive recorder(const std::string& address, const std::string& image);
    static ld::MediumReport disc(int profile, ld::MediumReport::Status status, uint64_t blocks,
                                 int layers = 1);

    void add(const Drive& drive);
    // The drive of an address, to change between calls (under the backend's lock).
    template <typename F> void change(const std::string& address, F f)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        f(drives_.at(address));
    }
    Drive snapshot(const std::string& address) const;

    std::vector<ld::RecorderInfo> scan() override;
    std::string dataAddress(const std::string& address) const override;
    int32_t checkAcquire(const std::string& address, std::string* reason) override;
    int32_t readMedium(const std::string& address, burn::burn_drive* drive,
                       ld::MediumReport* medium) override;
    int32_t startErase(const std::string& address, burn::burn_drive* drive, bool fast,
                       std::string* reason) override;
    int pollJob(const std::string& address, burn::burn_drive* drive,
                burn::burn_progress* progress) override;
    bool jobWentWell(const std::string& address, burn::burn_drive* drive) override;
    std::string jobFailure(const std::string& address) override;
    ld::TrayState trayState(const std::string& address) override;
    int32_t moveTray(const std::string& address, bool eject, std::string* reason) override;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> order_;
    std::map<std::string, Drive> drives_;
};
