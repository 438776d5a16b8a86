#include "SectorStream.h"

#include "LDStorage.h"
#include "UdfDescriptors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace udf {

namespace {

// Large enough for sequential reads at disk speed, small enough to keep memory flat.
constexpr size_t readChunk = 2 * 1024 * 1024;
// Requests of at least this size are read into the caller's buffer directly.
constexpr size_t directRead = 256 * 1024;

} // namespace

SectorStream::SectorStream(std::shared_ptr<const Layout> layout,
                           std::shared_ptr<const std::vector<uint8_t>> header)
    : layout_(std::move(layout)), header_(std::move(header)),
      totalBytes_(uint64_t(layout_->totalSectors) * sectorSize), sector_(sectorSize),
      reads_(layout_->files.size())
{
}

SectorStream::~SectorStream()
{
    closeFile();
}

int SectorStream::read(uint8_t* buffer, int size)
{
    if (failed_)
        return -1;
    if (stopped_) {
        // The consumer has gone; this is not a failure of the image.
        closeFile();
        return -1;
    }
    if (cancelled_) {
        fail(LD_UserCancelled, "The write was cancelled.");
        return -1;
    }
    size_t done = 0;
    while (done < size_t(size)) {
        const size_t n = fill(buffer + done, size_t(size) - done);
        if (failed_)
            return -1;
        if (n == 0)
            break;
        done += n;
        position_ += n;
    }
    return int(done);
}

void SectorStream::stop()
{
    // Only a flag: the read-ahead thread may be inside read(2) on the open source right now,
    // and closing its descriptor under it failed the stream with EBADF, whose "Bad file
    // descriptor" then hid the write's own reason (a full disk).
    stopped_ = true;
}

size_t SectorStream::fill(uint8_t* out, size_t want)
{
    const uint64_t pos = position_.load();
    if (pos >= totalBytes_)
        return 0;
    want = size_t(std::min<uint64_t>(want, totalBytes_ - pos));
    const uint64_t sector = pos / sectorSize;
    const Layout& layout = *layout_;

    if (sector < layout.firstEntry) {
        const size_t n = size_t(std::min<uint64_t>(want, header_->size() - pos));
        std::memcpy(out, header_->data() + pos, n);
        return n;
    }
    if (sector >= layout.firstData && sector < layout.endData)
        return fillData(out, want);

    if (sectorBuilt_ != sector) {
        std::fill(sector_.begin(), sector_.end(), 0);
        if (sector < layout.firstData)
            UdfDescriptors::fileEntry(sector_.data(), layout, size_t(sector - layout.firstEntry));
        else
            UdfDescriptors::anchor(sector_.data(), uint32_t(sector));
        sectorBuilt_ = sector;
    }
    const size_t offset = size_t(pos % sectorSize);
    const size_t n = std::min(want, size_t(sectorSize) - offset);
    std::memcpy(out, sector_.data() + offset, n);
    return n;
}

size_t SectorStream::fillData(uint8_t* out, size_t want)
{
    const uint64_t pos = position_.load();
    const std::vector<PlannedFile>& files = layout_->files;
    auto endOf = [](const PlannedFile& f) { return (f.dataSector + f.sectors()) * sectorSize; };
    while (files[file_].size == 0 || pos >= endOf(files[file_])) {
        closeFile();
        ++file_;
        fileRead_ = 0;
        bufferAt_ = bufferEnd_ = 0;
    }
    const PlannedFile& file = files[file_];
    const uint64_t inFile = pos - uint64_t(file.dataSector) * sectorSize;
    if (inFile >= file.size) {
        // Zeros up to the end of the file's last sector.
        const size_t n = size_t(std::min<uint64_t>(want, endOf(file) - pos));
        std::memset(out, 0, n);
        return n;
    }
    // A large request takes the file's bytes straight from the read, without the copy
    // through our buffer.
    if (bufferAt_ == bufferEnd_ && want >= directRead)
        return readSource(file, out, want);
    if (bufferAt_ == bufferEnd_ && !refill(file))
        return 0;
    const size_t n = std::min(want, bufferEnd_ - bufferAt_);
    std::memcpy(out, buffer_.data() + bufferAt_, n);
    bufferAt_ += n;
    return n;
}

bool SectorStream::openFile(const PlannedFile& file)
{
    fd_ = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        fail(error == ENOENT ? LD_FileNotFound : LD_FileOpenFailed,
             file.path + ": " + std::strerror(error), file.path);
        return false;
    }
    if (!keepsPlannedSize(file, &opened_))
        return false;
    digest_.reset();
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (buffer_.empty())
        buffer_.resize(readChunk);
    return true;
}

bool SectorStream::refill(const PlannedFile& file)
{
    if (fd_ < 0 && fileRead_ == 0 && !openFile(file))
        return false;
    const size_t got = readSource(file, buffer_.data(), buffer_.size());
    bufferAt_ = 0;
    bufferEnd_ = got;
    return got > 0;
}

size_t SectorStream::readSource(const PlannedFile& file, uint8_t* into, size_t capacity)
{
    if (fd_ < 0 && fileRead_ == 0 && !openFile(file))
        return 0;
    const size_t want = size_t(std::min<uint64_t>(capacity, file.size - fileRead_));
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd_, into + got, want - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            fail(LD_ReadError, file.path + ": " + std::strerror(errno), file.path);
            return 0;
        }
        if (n == 0) {
            fail(LD_InvalidFile, SourceRead::shorterText(file.path, fileRead_ + got, file.size));
            return 0;
        }
        got += size_t(n);
    }
    digest_.add(into, got);
    fileRead_ += got;
    if (fileRead_ == file.size) {
        // Growth shows only in the size: the planned bytes are all we write.
        struct stat now = {};
        if (!keepsPlannedSize(file, &now))
            return 0;
        // A file written to while we read it may have given a mix of versions: no digest
        // then, and the read-back compares with the file as it is.
        if (SourceRead::sameVersion(opened_, now)) {
            std::lock_guard<std::mutex> lock(mutex_);
            reads_[file_] = {true, digest_.value(), now};
        }
        closeFile();
    }
    return got;
}

bool SectorStream::keepsPlannedSize(const PlannedFile& file, struct stat* now)
{
    if (::fstat(fd_, now) == 0 && uint64_t(now->st_size) == file.size)
        return true;
    fail(LD_InvalidFile, SourceRead::changedSizeText(file.path, file.size, now->st_size));
    return false;
}

void SectorStream::closeFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void SectorStream::fail(int32_t status, const std::string& message,
                        const std::string& unreadablePath)
{
    failed_ = true;
    closeFile();
    std::lock_guard<std::mutex> lock(mutex_);
    if (failure_.status == 0)
        failure_ = {status, message};
    if (!unreadablePath.empty())
        unreadable_.push_back(unreadablePath);
}

Failure SectorStream::failure() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
}

std::vector<std::string> SectorStream::unreadableFiles() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return unreadable_;
}

SourceRead SectorStream::sourceRead(size_t index) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return index < reads_.size() ? reads_[index] : SourceRead{};
}

} // namespace udf
