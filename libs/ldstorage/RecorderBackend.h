#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace burn {
struct burn_drive;
struct burn_progress;
} // namespace burn

namespace ld {

// What libburn's scan tells of one drive: its address, names and what it reads and writes.
struct RecorderInfo
{
    std::string address; // "/dev/sr0"
    std::string vendor;
    std::string product;
    bool writesCd = false;  // CD-R or CD-RW
    bool writesDvd = false; // any DVD recordable, DVD-RAM included
    bool writesBd = false;  // BD-R or BD-RE
    bool readsDvd = false;
    std::vector<int> profiles; // MMC profiles the drive reports, where it does

    bool writes() const { return writesCd || writesDvd || writesBd; }
};

// The medium in a held drive as libburn describes it.
struct MediumReport
{
    enum class Status
    {
        Empty,   // no disc
        Unready, // a disc still spinning up or not yet judged
        Blank,
        Appendable,
        Full,       // closed
        Unsuitable, // a disc the drive cannot handle
    };
    Status status = Status::Empty;
    int profile = 0; // MMC profile of the loaded medium
    bool erasable = false;
    bool writeProtected = false;
    int64_t freeBytes = 0;             // what a new session can take
    uint32_t nextWritable = 0;         // first block a new session would use
    uint32_t readCapacity = 0;         // blocks readable now
    std::vector<uint32_t> layerBlocks; // physical size of each layer, in 2048-byte blocks
    std::vector<uint32_t> writeRates;  // kB/s, any order
};

// Tray and presence of a drive, read without taking it from whoever holds it.
enum class TrayState
{
    Unknown,
    Open,
    Empty,  // closed, no disc
    Loaded, // closed, a disc inside
    Gone,   // the device node went away
    Busy,   // another program holds the drive
};

// The libburn calls the storage library makes on a real recorder, behind one interface: the
// library talks to LibburnRecorderBackend, the tests to a modelled recorder.
class RecorderBackend
{
public:
    virtual ~RecorderBackend() = default;

    // Every drive the host has; the caller lists only the writers.
    virtual std::vector<RecorderInfo> scan() = 0;
    // The libburn address the data is written to and read from.
    virtual std::string dataAddress(const std::string& address) const { return address; }
    // Refusal before libburn is asked to grab the drive: 0, or a status and the reason.
    virtual int32_t checkAcquire(const std::string& address, std::string* reason) = 0;
    virtual int32_t readMedium(const std::string& address, burn::burn_drive* drive,
                               MediumReport* medium) = 0;
    // Starts an erase on a held drive; progress is then polled with pollJob.
    virtual int32_t startErase(const std::string& address, burn::burn_drive* drive, bool fast,
                               std::string* reason) = 0;
    // The drive's status while a job (write, erase) runs: libburn's burn_drive_status, with
    // the job's progress. A job the drive broke off leaves its reason in jobFailure.
    virtual int pollJob(const std::string& address, burn::burn_drive* drive,
                        burn::burn_progress* progress) = 0;
    virtual bool jobWentWell(const std::string& address, burn::burn_drive* drive) = 0;
    virtual std::string jobFailure(const std::string& address) = 0;
    virtual TrayState trayState(const std::string& address) = 0;
    // Opens (eject true) or closes the tray of a drive nobody holds.
    virtual int32_t moveTray(const std::string& address, bool eject, std::string* reason) = 0;
};

// The process's backend: libburn unless a test put another in place.
std::shared_ptr<RecorderBackend> recorderBackend();
void setRecorderBackend(std::shared_ptr<RecorderBackend> backend);

} // namespace ld
