#include "LibburnRecorderBackend.h"

#include "BurnApi.h"
#include "BurnRuntime.h"
#include "LDStorage.h"
#include "MediumProfile.h"
#include "RecorderAccess.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <mutex>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace ld {

namespace {

bool hasProfile(const std::vector<int>& profiles, std::initializer_list<int> wanted)
{
    for (int p : profiles)
        for (int w : wanted)
            if (p == w)
                return true;
    return false;
}

// Opens the device node for an ioctl without taking it from anyone; -1 with errno set.
int openNode(const std::string& address, bool exclusive)
{
    return ::open(address.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (exclusive ? O_EXCL : 0));
}

std::mutex backendMutex;
std::shared_ptr<RecorderBackend>& backendSlot()
{
    static std::shared_ptr<RecorderBackend> slot;
    return slot;
}

} // namespace

std::shared_ptr<RecorderBackend> recorderBackend()
{
    std::lock_guard<std::mutex> lock(backendMutex);
    if (!backendSlot())
        backendSlot() = std::make_shared<LibburnRecorderBackend>();
    return backendSlot();
}

void setRecorderBackend(std::shared_ptr<RecorderBackend> backend)
{
    std::lock_guard<std::mutex> lock(backendMutex);
    backendSlot() = std::move(backend);
}

std::vector<RecorderInfo> LibburnRecorderBackend::scan()
{
    std::vector<RecorderInfo> out;
    if (!BurnRuntime::ensure())
        return out;
    burn_drive_info* infos = nullptr;
    unsigned int n = 0;
    // The scan runs on libburn's worker and must be asked again until it has finished: a scan
    // left running keeps libburn busy and every later write is refused.
    int rc = 0;
    while ((rc = burn_drive_scan(&infos, &n)) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (rc > 0 && infos) {
        for (unsigned int i = 0; i < n; ++i) {
            char adr[BURN_DRIVE_ADR_LEN] = {};
            if (burn_drive_get_adr(&infos[i], adr) <= 0)
                continue;
            RecorderInfo r;
            r.address = adr;
            r.vendor = infos[i].vendor;
            r.product = infos[i].product;
            int count = 0;
            int profiles[64] = {};
            char current[64] = {};
            if (burn_drive_get_all_profiles(infos[i].drive, &count, profiles, current) > 0)
                r.profiles.assign(profiles, profiles + std::min(count, 64));
            // The drive info's bits know CD-R/RW, DVD-R and DVD-RAM only; the profile list is
            // the one place DVD+R, DVD-RW, DVD+RW and Blu-ray writing shows.
            r.writesCd =
                infos[i].write_cdr || infos[i].write_cdrw || hasProfile(r.profiles, {0x09, 0x0a});
            r.writesDvd = infos[i].write_dvdr || infos[i].write_dvdram ||
                          hasProfile(r.profiles,
                                     {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x1a, 0x1b, 0x2a, 0x2b});
            r.writesBd = hasProfile(r.profiles, {0x41, 0x42, 0x43});
            r.readsDvd =
                infos[i].read_dvdrom || infos[i].read_dvdr || hasProfile(r.profiles, {0x10});
            out.push_back(std::move(r));
        }
        burn_drive_info_free(infos);
    }
    BurnRuntime::takeMessages();
    return out;
}

int32_t LibburnRecorderBackend::checkAcquire(const std::string& address, std::string* reason)
{
    const RecorderAccess::Problem problem = RecorderAccess::check(address);
    if (!problem.hint.empty()) {
        *reason = problem.hint;
        return LD_InvalidAccess;
    }
    const int fd = openNode(address, true);
    if (fd < 0 && errno == EBUSY) {
        *reason = "another program is using " + address;
        return LD_DeviceInUse;
    }
    if (fd >= 0)
        ::close(fd);
    return LD_OK;
}

int32_t LibburnRecorderBackend::readMedium(const std::string&, burn_drive* d, MediumReport* m)
{
    *m = MediumReport();
    // Through libisoburn, which emulates blank and appendable states on overwritable media
    // (DVD+RW, DVD-RW restricted overwrite, DVD-RAM, BD-RE) the way it writes them.
    switch (isoburn_disc_get_status(d)) {
    case BURN_DISC_EMPTY:
        m->status = MediumReport::Status::Empty;
        return LD_OK;
    case BURN_DISC_UNREADY:
    case BURN_DISC_UNGRABBED:
        m->status = MediumReport::Status::Unready;
        return LD_OK;
    case BURN_DISC_BLANK:
        m->status = MediumReport::Status::Blank;
        break;
    case BURN_DISC_APPENDABLE:
        m->status = MediumReport::Status::Appendable;
        break;
    case BURN_DISC_FULL:
        m->status = MediumReport::Status::Full;
        break;
    default:
        m->status = MediumReport::Status::Unsuitable;
        break;
    }
    char name[80] = {};
    burn_disc_get_profile(d, &m->profile, name);
    m->erasable = isoburn_disc_erasable(d) != 0;
    const off_t available = isoburn_disc_available_space(d, nullptr);
    m->freeBytes =
        m->status == MediumReport::Status::Full ? 0 : int64_t(available > 0 ? available : 0);
    int lba = 0;
    int nwa = 0;
    if (m->status == MediumReport::Status::Appendable &&
        isoburn_disc_track_lba_nwa(d, nullptr, 0, &lba, &nwa) > 0)
        m->nextWritable = uint32_t(nwa);
    int capacity = 0;
    if (burn_get_read_capacity(d, &capacity, 0) > 0)
        m->readCapacity = uint32_t(capacity);

    // Layers: the DVD-R family states them; DVD+R DL and Blu-ray tell them by their size.
    const uint64_t total = m->status == MediumReport::Status::Full
                               ? m->readCapacity
                               : m->nextWritable + uint64_t(m->freeBytes) / 2048;
    int category = 0;
    int version = 0;
    int layers = 0;
    int blocks = 0;
    char* book = nullptr;
    if (burn_disc_get_phys_format_info(d, &category, &book, &version, &layers, &blocks, 0) <= 0)
        layers = 0;
    if (layers <= 0)
        layers = layersBySize(m->profile, total);
    const uint64_t physical = blocks > 0 ? uint64_t(blocks) : total;
    for (int i = 0; i < layers; ++i)
        m->layerBlocks.push_back(uint32_t(physical / uint64_t(layers)));

    burn_speed_descriptor* speeds = nullptr;
    if (burn_drive_get_speedlist(d, &speeds) > 0) {
        for (burn_speed_descriptor* s = speeds; s; s = s->next)
            if (s->write_speed > 0)
                m->writeRates.push_back(uint32_t(s->write_speed));
        burn_drive_free_speedlist(&speeds);
    }
    BurnRuntime::takeMessages();
    return LD_OK;
}

int32_t LibburnRecorderBackend::startErase(const std::string&, burn_drive* d, bool fast,
                                           std::string*)
{
    isoburn_disc_erase(d, fast ? 1 : 0);
    return LD_OK;
}

int LibburnRecorderBackend::pollJob(const std::string&, burn_drive* d, burn_progress* progress)
{
    return burn_drive_get_status(d, progress);
}

bool LibburnRecorderBackend::jobWentWell(const std::string&, burn_drive* d)
{
    return burn_drive_wrote_well(d) > 0;
}

std::string LibburnRecorderBackend::jobFailure(const std::string&)
{
    return BurnRuntime::takeMessages();
}

TrayState LibburnRecorderBackend::trayState(const std::string& address)
{
    const int fd = openNode(address, false);
    if (fd < 0)
        return errno == ENOENT || errno == ENODEV || errno == ENXIO ? TrayState::Gone
                                                                    : TrayState::Unknown;
    const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    ::close(fd);
    switch (status) {
    case CDS_TRAY_OPEN:
        return TrayState::Open;
    case CDS_NO_DISC:
        return TrayState::Empty;
    case CDS_DISC_OK:
        return TrayState::Loaded;
    default:
        return TrayState::Unknown;
    }
}

int32_t LibburnRecorderBackend::moveTray(const std::string& address, bool eject,
                                         std::string* reason)
{
    // Exclusive open: a drive another program writes to or has mounted answers EBUSY, and its
    // tray is not ours to move.
    const int fd = openNode(address, true);
    if (fd < 0) {
        *reason = address + ": " + std::strerror(errno);
        return errno == EBUSY ? LD_DeviceInUse : errno == EACCES ? LD_InvalidAccess : LD_NotFound;
    }
    const int rc = ::ioctl(fd, eject ? CDROMEJECT : CDROMCLOSETRAY, 0);
    const int error = errno;
    ::close(fd);
    if (rc != 0) {
        *reason = address + ": " + std::strerror(error);
        return error == EBUSY ? LD_DeviceInUse : LD_DeviceError;
    }
    return LD_OK;
}

} // namespace ld
