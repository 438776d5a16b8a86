#include "UdfBridgeImage.h"

#include "LDStorage.h"
#include "LayoutPlanner.h"
#include "SectorStream.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace udf {

namespace {

// What libburn holds: its own reference to the stream, so the image object may go first.
struct SourceData
{
    std::shared_ptr<SectorStream> stream;
    off_t size = 0;
    off_t fixedSize = 0;
};

SourceData* dataOf(burn::burn_source* source)
{
    return static_cast<SourceData*>(source->data);
}

int readSource(burn::burn_source* source, unsigned char* buffer, int size)
{
    return dataOf(source)->stream->read(buffer, size);
}

off_t sourceSize(burn::burn_source* source)
{
    const SourceData* d = dataOf(source);
    return d->fixedSize > 0 ? d->fixedSize : d->size;
}

int setSourceSize(burn::burn_source* source, off_t size)
{
    dataOf(source)->fixedSize = size;
    return 1;
}

void freeSource(burn::burn_source* source)
{
    delete dataOf(source);
    source->data = nullptr;
}

int cancelSource(burn::burn_source* source)
{
    dataOf(source)->stream->stop();
    return 1;
}

bool setFailure(Failure* failure, int32_t status, std::string message)
{
    if (failure)
        *failure = {status, std::move(message)};
    return false;
}

bool statSource(const SourceFile& source, PlannedFile& file, Failure* failure)
{
    struct stat st = {};
    if (::stat(source.path.c_str(), &st) != 0) {
        const int error = errno;
        return setFailure(failure, error == ENOENT ? LD_FileNotFound : LD_FileOpenFailed,
                          source.path + ": " + std::strerror(error));
    }
    if (!S_ISREG(st.st_mode))
        return setFailure(failure, LD_InvalidFile, source.path + ": not a regular file.");
    const int fd = ::open(source.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return setFailure(failure, LD_FileOpenFailed, source.path + ": " + std::strerror(errno));
    ::close(fd);
    if (uint64_t(st.st_size) > LayoutPlanner::maxFileSize())
        return setFailure(failure, LD_InvalidFile,
                          source.path + ": too large for one file on a disc (" +
                              std::to_string(st.st_size) + " bytes).");
    file.path = source.path;
    file.name = source.name;
    file.size = uint64_t(st.st_size);
    file.modifiedSeconds = st.st_mtim.tv_sec;
    file.modifiedNanoseconds = uint32_t(st.st_mtim.tv_nsec);
    return true;
}

} // namespace

std::unique_ptr<BridgeImage> BridgeImage::plan(const std::vector<SourceFile>& sources,
                                               const ImageSettings& settings, Failure* failure)
{
    std::vector<PlannedFile> files(sources.size());
    uint64_t dataSectors = 0;
    for (size_t i = 0; i < sources.size(); ++i) {
        if (!statSource(sources[i], files[i], failure))
            return nullptr;
        dataSectors += files[i].sectors() + 1;
    }
    // Sector numbers are 32-bit on both sides; leave room for the volume structures.
    const uint64_t limit = settings.capacitySectors ? settings.capacitySectors : UINT32_MAX;
    auto overCapacity = [&](uint64_t needed) {
        setFailure(failure, LD_NotEnoughStorage,
                   "The files need " + std::to_string(needed) + " sectors; the medium holds " +
                       std::to_string(limit) + ".");
        return nullptr;
    };
    if (dataSectors > UINT32_MAX - (uint64_t(1) << 24))
        return overCapacity(dataSectors);

    auto image = std::unique_ptr<BridgeImage>(new BridgeImage);
    auto layout = std::make_shared<Layout>(
        LayoutPlanner::plan(std::move(files), settings.volumeId, int64_t(std::time(nullptr))));
    if (layout->totalSectors > limit)
        return overCapacity(layout->totalSectors);
    image->header_ = std::make_shared<const std::vector<uint8_t>>(LayoutPlanner::header(*layout));
    image->layout_ = std::move(layout);
    if (failure)
        *failure = {};
    return image;
}

BridgeImage::~BridgeImage() = default;

uint64_t BridgeImage::totalSectors() const
{
    return layout_->totalSectors;
}

burn::burn_source* BridgeImage::makeBurnSource()
{
    auto stream = std::make_shared<SectorStream>(layout_, header_);
    // Progress and cancel may be asked from other threads meanwhile.
    std::atomic_store(&stream_, stream);
    auto* source = static_cast<burn::burn_source*>(std::calloc(1, sizeof(burn::burn_source)));
    if (!source)
        return nullptr;
    source->refcount = 1;
    source->read = nullptr; // version 1: read_xt does the reading
    source->get_size = sourceSize;
    source->set_size = setSourceSize;
    source->free_data = freeSource;
    source->data = new SourceData{stream, off_t(totalSectors()) * sectorSize, 0};
    source->version = 1;
    source->read_xt = readSource;
    source->cancel = cancelSource;
    return source;
}

uint64_t BridgeImage::sectorsDone() const
{
    const auto stream = std::atomic_load(&stream_);
    return stream ? stream->sectorsDone() : 0;
}

void BridgeImage::cancel()
{
    if (const auto stream = std::atomic_load(&stream_))
        stream->cancel();
}

Failure BridgeImage::failure() const
{
    const auto stream = std::atomic_load(&stream_);
    return stream ? stream->failure() : Failure{};
}

std::vector<FileExtent> BridgeImage::fileExtents(size_t fileIndex) const
{
    if (fileIndex >= layout_->files.size())
        return {};
    return LayoutPlanner::udfExtents(layout_->files[fileIndex]);
}

std::vector<std::string> BridgeImage::unreadableFiles() const
{
    const auto stream = std::atomic_load(&stream_);
    return stream ? stream->unreadableFiles() : std::vector<std::string>{};
}

SourceRead BridgeImage::sourceRead(size_t fileIndex) const
{
    const auto stream = std::atomic_load(&stream_);
    return stream ? stream->sourceRead(fileIndex) : SourceRead{};
}

} // namespace udf
