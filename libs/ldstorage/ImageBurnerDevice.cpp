#include "ImageBurnerDevice.h"

#include "ImageFileGuard.h"
#include "LdLog.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ld {

namespace {

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

ImageBurnerDevice::ImageBurnerDevice(const MediumProfile& medium, std::string imagePath)
    : StorageDevice("stdio:" + imagePath), medium_(medium), imagePath_(std::move(imagePath))
{
    ImageFileGuard::recover(ImageFileGuard::resolve(imagePath_));
}

ImageBurnerDevice::~ImageBurnerDevice()
{
    releaseStaging();
}

void ImageBurnerDevice::releaseStaging()
{
    if (stagingLock_ < 0)
        return;
    // Still empty: no burn used it.
    struct stat st = {};
    const std::string staging = ImageFileGuard::stagingPath(ImageFileGuard::resolve(imagePath_));
    if (::fstat(stagingLock_, &st) == 0 && st.st_size == 0 && st.st_nlink > 0)
        ::unlink(staging.c_str());
    ::close(stagingLock_);
    stagingLock_ = -1;
}

int32_t ImageBurnerDevice::burnAddress(std::string* address, std::string* reason)
{
    const std::string image = ImageFileGuard::resolve(imagePath_);
    struct stat st = {};
    if (::stat(image.c_str(), &st) == 0 && st.st_size > 0) {
        *address = "stdio:" + image;
        return LD_OK;
    }
    releaseStaging();
    const std::string staging = ImageFileGuard::stagingPath(image);
    const int fd = ::open(staging.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *reason = "cannot write " + staging + ": " + std::strerror(errno);
        return errno == ENOENT || errno == ENOTDIR ? LD_FolderNotFound : LD_InvalidAccess;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        *reason = "another burn is writing the image " + image;
        return LD_DeviceInUse;
    }
    // What a killed burn left there was removed when the device was opened.
    if (::ftruncate(fd, 0) != 0) {
        *reason = "cannot write " + staging + ": " + std::strerror(errno);
        ::close(fd);
        return LD_WriteError;
    }
    stagingLock_ = fd;
    *address = "stdio:" + staging;
    return LD_OK;
}

std::string ImageBurnerDevice::description() const
{
    // The medium first: a picker that has to shorten the name still tells a DVD from a CD.
    return std::string(medium_.displayName) + " image: " + imagePath_;
}

int32_t ImageBurnerDevice::readState(uint32_t* state)
{
    // Always ready: a missing folder is a write failure with its own status, not "no disc".
    *state = LD_DeviceReady;
    return LD_OK;
}

int32_t ImageBurnerDevice::readTray(uint32_t* tray)
{
    *tray = 3;
    return LD_OK;
}

int32_t ImageBurnerDevice::readMedium(MediumState* m)
{
    struct stat st = {};
    const bool exists = ::stat(imagePath_.c_str(), &st) == 0;
    if (!exists && errno != ENOENT && errno != ENOTDIR)
        return LD_InvalidAccess;
    // A folder, a device or a pipe is no disc at all; checkWritable() says why.
    if (exists && !S_ISREG(st.st_mode))
        return LD_InvalidFile;
    const bool written = exists && st.st_size > 0;
    *m = MediumState();
    m->typeBits = medium_.typeBit;
    m->mmcProfile = medium_.mmcProfile;
    m->capacityBlocks = medium_.capacityBlocks;
    m->writeRates = medium_.writeRates;
    const uint64_t used = written ? uint64_t(st.st_size) : 0;
    m->usedBlocks = uint32_t(std::min<uint64_t>((used + 2047) / 2048, medium_.capacityBlocks));
    m->usedBytes = used;
    m->sessions = written ? 1 : 0;
    const uint64_t freeBytes = uint64_t(medium_.capacityBlocks - m->usedBlocks) * 2048;
    if (!written) {
        m->stateBits = LD_StateWritable | LD_StateBlank;
        m->freeBytes = freeBytes;
    } else if (medium_.rewritable) {
        // A rewritable disc can take another session (it is grown in place) or be erased.
        m->stateBits = LD_StateReadable | LD_StateWritable | LD_StateAppendable;
        m->freeBytes = freeBytes;
    } else {
        m->stateBits = LD_StateReadable; // closed
        m->freeBytes = 0;
    }
    if (medium_.rewritable)
        m->stateBits |= LD_StateRewrite | LD_StateErasable;
    return LD_OK;
}

int32_t ImageBurnerDevice::trayControl(uint32_t command)
{
    return command == 1 || command == 2 || command == 5 ? LD_OK : LD_InvalidParameter;
}

uint64_t ImageBurnerDevice::writeFamilies() const
{
    // The emulated drive writes what a common DVD recorder writes, and its own medium.
    return LD_WritesCD | LD_WritesDVD | (medium_.typeBit == LD_TypeBDR ? LD_WritesBD : 0);
}

int32_t ImageBurnerDevice::erase(uint32_t, LD_StatusCallback callback, void* context)
{
    if (!medium_.rewritable)
        return LD_InvalidMediaType;
    LD_StatusInfo info = {};
    info.size = sizeof info;
    info.operation = LD_PhaseFormat;
    info.totalBlocks = 1;
    if (callback)
        callback(&info, context);
    // Erasing empties the file, which then reads as a blank disc.
    if (::truncate(imagePath_.c_str(), 0) != 0 && errno != ENOENT) {
        logLine("Cannot erase image " + imagePath_ + ": " + std::strerror(errno));
        return LD_WriteError;
    }
    info.currentBlock = 1;
    info.percent = 100;
    if (callback)
        callback(&info, context);
    return LD_OK;
}

int32_t ImageBurnerDevice::checkWritable(std::string* reason)
{
    // Through a link the image is written where the link points.
    const std::string image = ImageFileGuard::resolve(imagePath_);
    const std::string named =
        image == imagePath_ ? imagePath_ : imagePath_ + " (a link to " + image + ")";
    const std::string folder = folderOf(image);
    struct stat st = {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *reason = "the folder " + folder + " does not exist";
        return LD_FolderNotFound;
    }
    if (::stat(image.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        *reason = named + " is a folder, not a disc image";
        return LD_InvalidFile;
    }
    if (::lstat(image.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        *reason = named + " is not a regular file";
        return LD_InvalidFile;
    }
    if (::access(folder.c_str(), W_OK) != 0) {
        *reason = "the folder " + folder + " is not writable: " + std::strerror(errno);
        return LD_InvalidAccess;
    }
    return LD_OK;
}

} // namespace ld
