#include "Volume.h"

#include "BurnDrive.h"
#include "DiscWriter.h"
#include "ImageFileGuard.h"
#include "IsoVolumeImage.h"
#include "LdLog.h"
#include "MediumProfile.h"
#include "ProgressReporter.h"
#include "SessionVerifier.h"
#include "StorageDevice.h"
#include "TextCodec.h"
#include "UdfVolumeImage.h"
#include "VolumeProbe.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace ld {

namespace {

uint64_t blocksOf(uint64_t bytes)
{
    return (bytes + 2047) / 2048;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// libburn only says that write(2) failed: name the image, and the full host disk when it is.
std::string imageWriteReason(const std::string& image, const std::string& burnReason)
{
    struct statvfs fs = {};
    const bool full = ::statvfs(folderOf(image).c_str(), &fs) == 0 &&
                      uint64_t(fs.f_bavail) * fs.f_frsize < (uint64_t(1) << 20);
    return "the image " + image + " cannot be written: " +
           (full ? "the host disk is full (" + burnReason + ")" : burnReason);
}

} // namespace

std::unique_ptr<Volume> Volume::open(std::shared_ptr<StorageDevice> device, uint32_t deviceHandle,
                                     uint32_t* fileSystems, int32_t* status)
{
    std::string reason;
    *status = device->checkWritable(&reason);
    if (*status == LD_OK) {
        std::shared_ptr<BurnDrive> drive = device->useDrive(status, &reason);
        if (drive) {
            MediumState medium;
            *status = device->readMedium(&medium);
            if (*status == LD_OK) {
                *fileSystems = (medium.stateBits & LD_StateBlank) ? 0 : probeFileSystems(*drive);
                return std::unique_ptr<Volume>(new Volume(device, drive, deviceHandle));
            }
            reason = "the medium cannot be inquired";
        }
    }
    logLine("Cannot open a volume on " + device->path() + ": " + reason);
    device->setLastFailure(reason);
    return nullptr;
}

Volume::Volume(std::shared_ptr<StorageDevice> device, std::shared_ptr<BurnDrive> drive,
               uint32_t deviceHandle)
    : device_(std::move(device)), drive_(std::move(drive)), deviceHandle_(deviceHandle)
{
}

Volume::~Volume()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (image_ && drive_ && drive_->drive())
        image_->abandon(*drive_);
    image_.reset();
}

int32_t Volume::readMediumForImage(MediumState* medium) const
{
    return image_ ? LD_InvalidSequence : device_->readMedium(medium);
}

int32_t Volume::create(uint32_t fileSystem, const std::string& volumeId)
{
    std::lock_guard<std::mutex> lock(mutex_);
    MediumState medium;
    int32_t status = readMediumForImage(&medium);
    if (status != LD_OK)
        return status;
    if (!(medium.stateBits & LD_StateBlank)) {
        logLine("The disc in " + device_->path() + " is not blank: no new file system on it");
        return LD_InvalidOperation;
    }
    std::string reason;
    if ((fileSystem & LD_FsUdf15) && !isCdMedium(medium.typeBits)) {
        image_ = makeUdfVolumeImage(volumeId, medium.capacityBlocks);
    } else if (fileSystem & LD_FsUdf15) {
        logLine("UDF is written on DVD and Blu-ray discs only: writing ISO 9660 level 3 with "
                "Joliet and Rock Ridge on this CD");
        image_ = IsoVolumeImage::open(*drive_, 3, false, volumeId, &status, &reason);
    } else if (fileSystem & (0x2 | 0x4 | LD_FsIsoLevel2Long | 0x10 | LD_FsJoliet)) {
        image_ = IsoVolumeImage::open(*drive_, 2, false, volumeId, &status, &reason);
    } else {
        return LD_NotSupported;
    }
    if (!image_)
        logLine("Cannot create a file system on " + device_->path() + ": " + reason);
    return image_ ? LD_OK : status;
}

int32_t Volume::mount()
{
    std::lock_guard<std::mutex> lock(mutex_);
    MediumState medium;
    int32_t status = readMediumForImage(&medium);
    if (status != LD_OK)
        return status;
    if (!(medium.stateBits & LD_StateAppendable)) {
        logLine("The disc in " + device_->path() + " cannot take another session");
        return (medium.stateBits & LD_StateBlank) ? LD_InvalidSequence : LD_MediaFull;
    }
    const uint32_t found = probeFileSystems(*drive_);
    if (!(found & LD_FsIsoLevel2Long) || (found & ~uint32_t(LD_FsIsoLevel2Long | LD_FsJoliet))) {
        // Only ISO 9660 sessions are continued: an ISO session added to a UDF disc would
        // stay invisible to the players that read the UDF side.
        logLine("The file system on " + device_->path() + " cannot be continued");
        return LD_NotSupported;
    }
    std::string reason;
    const int level = isCdMedium(medium.typeBits) ? 2 : 3;
    image_ = IsoVolumeImage::open(*drive_, level, true, std::string(), &status, &reason);
    if (!image_)
        logLine("Cannot mount the file system on " + device_->path() + ": " + reason);
    return image_ ? LD_OK : status;
}

bool Volume::nameTaken(const std::string& name) const
{
    return names_.count(name) || image_->hasName(name);
}

std::string Volume::uniqueName(const std::string& name) const
{
    if (!nameTaken(name))
        return name;
    const size_t dot = name.find_last_of('.');
    const bool hasExt = dot != std::string::npos && dot > 0;
    const std::string stem = hasExt ? name.substr(0, dot) : name;
    const std::string ext = hasExt ? name.substr(dot) : std::string();
    for (int n = 2;; ++n) {
        const std::string candidate = stem + " (" + std::to_string(n) + ")" + ext;
        if (!nameTaken(candidate))
            return candidate;
    }
}

int32_t Volume::addEntry(const std::string& name, const std::string& sourcePath)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!image_ || flushed_)
        return LD_InvalidSequence;
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return LD_InvalidParameter;
    struct stat st = {};
    if (::stat(sourcePath.c_str(), &st) != 0) {
        logLine("Cannot add " + sourcePath + ": " + std::strerror(errno));
        return errno == ENOENT || errno == ENOTDIR ? LD_FileNotFound : LD_FileOpenFailed;
    }
    if (!S_ISREG(st.st_mode)) {
        logLine("Cannot add " + sourcePath + ": not a regular file");
        return LD_InvalidFile;
    }
    VolumeEntry entry;
    entry.name = uniqueName(name);
    entry.name16 = toUtf16(entry.name);
    entry.sourcePath = sourcePath;
    entry.size = uint64_t(st.st_size);
    if (entry.name != name)
        logLine("\"" + name + "\" is already on the disc; " + sourcePath + " is written as \"" +
                entry.name + "\"");
    std::string reason;
    const int32_t status = image_->addFile(entry, &reason);
    if (status != LD_OK) {
        logLine("Cannot add " + sourcePath + ": " + reason);
        return status;
    }
    names_.insert(entry.name);
    entries_.push_back(std::move(entry));
    return LD_OK;
}

std::vector<std::string> Volume::unreadableFiles() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return unreadable_;
}

int32_t Volume::checkSpace(uint64_t startBlock, uint64_t sectors, std::string* reason)
{
    MediumState medium;
    if (device_->readMedium(&medium) != LD_OK) {
        *reason = "the medium cannot be inquired";
        return LD_DeviceNotReady;
    }
    const uint64_t capacity = device_->enforcedCapacityBlocks()
                                  ? device_->enforcedCapacityBlocks()
                                  : uint64_t(medium.usedBlocks) + medium.freeBytes / 2048;
    if (startBlock + sectors > capacity) {
        *reason = std::to_string(sectors) + " blocks do not fit: the disc holds " +
                  std::to_string(capacity) + " blocks and " + std::to_string(startBlock) +
                  " are used";
        return LD_MediaFull;
    }
    if (device_->isImageFile()) {
        // The image grows on the host's disk, which may fill before the emulated disc does.
        struct statvfs fs = {};
        struct stat st = {};
        const std::string image = ImageFileGuard::resolve(device_->path());
        const uint64_t now = ::stat(image.c_str(), &st) == 0 ? uint64_t(st.st_size) : 0;
        const uint64_t end = (startBlock + sectors) * 2048;
        if (::statvfs(folderOf(image).c_str(), &fs) == 0 && end > now &&
            uint64_t(fs.f_bavail) * fs.f_frsize < end - now) {
            *reason = "the host disk under " + device_->path() + " has " +
                      std::to_string(uint64_t(fs.f_bavail) * fs.f_frsize) +
                      " bytes free, the image needs " + std::to_string(end - now);
            return LD_NotEnoughStorage;
        }
    }
    return LD_OK;
}

int32_t Volume::flush(LD_ProgressCallback callback, void* context)
{
    std::lock_guard<std::mutex> lock(mutex_);
    ProgressReporter progress(callback, context, deviceHandle_);
    if (!image_ || flushed_)
        return LD_InvalidSequence;
    flushed_ = true;
    return flushLocked(progress);
}

int32_t Volume::flushLocked(ProgressReporter& progress)
{
    std::string reason;
    LD_Phase phase = LD_PhasePlan;
    uint64_t current = 0;
    uint64_t total = 0;
    device_->setLastFailure(std::string());
    auto fail = [&](int32_t status) {
        logLine("Writing " + device_->path() + " failed: " + reason);
        device_->setLastFailure(reason);
        progress.report(phase, current, total, status);
        return status;
    };
    if (!progress.report(LD_PhasePlan, 0, 0))
        return reason = "cancelled", fail(LD_UserCancelled);

    // Refuse before writing anything: sources we cannot read, or more than the disc holds.
    unreadable_.clear();
    uint64_t estimate = 0;
    int32_t unreadableStatus = LD_OK;
    for (const VolumeEntry& entry : entries_) {
        const int fd = ::open(entry.sourcePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && unreadable_.empty()) {
            unreadableStatus = errno == ENOENT ? LD_FileNotFound : LD_ReadError;
            reason = entry.sourcePath + " cannot be read: " + std::strerror(errno);
        }
        if (fd < 0)
            unreadable_.push_back(entry.sourcePath);
        else
            ::close(fd);
        estimate += blocksOf(entry.size);
    }
    if (!unreadable_.empty())
        return fail(unreadableStatus);
    MediumState medium;
    if (device_->readMedium(&medium) == LD_OK) {
        int32_t status = checkSpace(medium.usedBlocks, estimate, &reason);
        if (status != LD_OK)
            return fail(status);
    }
    int32_t status = image_->plan(*drive_, &reason);
    if (status != LD_OK)
        return fail(status);
    total = image_->totalSectors();
    status = checkSpace(image_->startBlock(), total, &reason);
    if (status == LD_OK && !progress.report(LD_PhasePlan, 0, total))
        status = LD_UserCancelled, reason = "cancelled";
    if (status != LD_OK) {
        image_->abandon(*drive_);
        return fail(status);
    }

    std::optional<ImageFileGuard> guard;
    std::string imageFile;
    if (device_->isImageFile()) {
        const std::string prefix = "stdio:";
        const std::string& address = drive_->address();
        imageFile = address.compare(0, prefix.size(), prefix) == 0 ? address.substr(prefix.size())
                                                                   : address;
        guard.emplace(ImageFileGuard::resolve(device_->path()), imageFile);
        if (!guard->ready(&reason)) {
            image_->abandon(*drive_);
            return fail(LD_WriteError);
        }
    }
    phase = LD_PhaseWrite;
    status = DiscWriter::write(*drive_, image_->disc(), image_->writtenByIsoburn(), total,
                               imageFile, progress, &reason);
    if (status != LD_UserCancelled) {
        // The stream's own reason (a source gone or changed) says more than libburn's, and a
        // failed stream fails the write even where the writer went on with zeros.
        std::string streamReason;
        const int32_t streamStatus = image_->streamFailure(&streamReason, &unreadable_);
        if (streamStatus != LD_OK && streamStatus != LD_UserCancelled) {
            status = streamStatus;
            reason = streamReason;
        }
    }
    if (status != LD_OK) {
        image_->abandon(*drive_);
        device_->setSenseFromMessages(reason);
        if (status == LD_WriteError && device_->isImageFile())
            reason = imageWriteReason(device_->path(), reason);
        return fail(status);
    }
    current = total;
    phase = LD_PhaseClose;
    progress.report(LD_PhaseClose, total, total);
    status = image_->closeSession(*drive_, &reason);
    if (status != LD_OK)
        return fail(status);

    // Read the session back through a fresh acquisition: libburn judged the image file when
    // it was acquired, perhaps before it existed.
    phase = LD_PhaseVerify;
    std::vector<std::vector<DataSpan>> spans;
    status = drive_->reacquire(&reason);
    if (status == LD_OK)
        status = image_->locateFiles(*drive_, &spans, &reason);
    if (status != LD_OK)
        return fail(status);
    std::vector<udf::SourceRead> reads;
    for (size_t i = 0; i < entries_.size(); ++i)
        reads.push_back(image_->sourceRead(i));
    SessionVerifier::Result verified =
        SessionVerifier::verify(*drive_, entries_, reads, spans, progress);
    unreadable_ = verified.unreadableSources;
    if (verified.status != LD_OK) {
        reason = verified.reason;
        current = 0;
        return fail(verified.status);
    }
    if (guard && !guard->commit(&reason))
        return fail(LD_WriteError);
    logLine("Wrote and verified " + std::to_string(entries_.size()) + " files (" +
            std::to_string(total) + " blocks) on " + device_->path());
    return LD_OK;
}

} // namespace ld
