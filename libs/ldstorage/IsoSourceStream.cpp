#include "IsoSourceStream.h"

#include "BurnApi.h"
#include "LDStorage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace ld {

namespace {

constexpr size_t kChunk = 1 << 20;
// The file system id libisofs gives files of the local file system: the same file added twice
// compares equal and is written once, as it would be through libisofs's own streams.
constexpr unsigned int kLocalFileSystemId = 1;
// Fatal, so that libisofs ends the write instead of filling the file with zeros.
const int kStreamFailed = int(ISO_FATAL_ERROR);

// struct iso_stream as libisofs lays it out; its header hides it from C++ (a member named
// `class`). libisofs releases it with free().
struct StreamRecord
{
    IsoStreamIface* iface;
    int refcount;
    void* data;
};

std::shared_ptr<IsoSourceStream>& stateOf(IsoStream* stream)
{
    return *static_cast<std::shared_ptr<IsoSourceStream>*>(
        reinterpret_cast<StreamRecord*>(stream)->data);
}

int streamOpen(IsoStream* stream)
{
    return stateOf(stream)->open();
}

int streamClose(IsoStream* stream)
{
    return stateOf(stream)->close();
}

off_t streamSize(IsoStream* stream)
{
    return off_t(stateOf(stream)->size());
}

int streamRead(IsoStream* stream, void* into, size_t count)
{
    return stateOf(stream)->read(into, count);
}

int streamRepeatable(IsoStream*)
{
    return 1;
}

void streamId(IsoStream* stream, unsigned int* fileSystem, dev_t* device, ino_t* inode)
{
    const struct stat& added = stateOf(stream)->added();
    *fileSystem = kLocalFileSystemId;
    *device = added.st_dev;
    *inode = added.st_ino;
}

void streamFree(IsoStream* stream)
{
    delete &stateOf(stream);
}

IsoStreamIface sourceStreamClass = {0,
                                    {'u', 's', 'e', 'r'},
                                    streamOpen,
                                    streamClose,
                                    streamSize,
                                    streamRead,
                                    streamRepeatable,
                                    streamId,
                                    streamFree,
                                    nullptr,
                                    nullptr,
                                    nullptr,
                                    nullptr};

} // namespace

iso_stream* IsoSourceStream::create(const std::string& path, const struct stat& added,
                                    std::shared_ptr<IsoSourceStream>* state)
{
    auto* record = static_cast<StreamRecord*>(std::calloc(1, sizeof(StreamRecord)));
    if (!record)
        return nullptr;
    *state = std::make_shared<IsoSourceStream>(path, added);
    record->iface = &sourceStreamClass;
    record->refcount = 1;
    record->data = new std::shared_ptr<IsoSourceStream>(*state);
    return reinterpret_cast<iso_stream*>(record);
}

IsoSourceStream::IsoSourceStream(std::string path, const struct stat& added)
    : path_(std::move(path)), added_(added)
{
}

IsoSourceStream::~IsoSourceStream()
{
    close();
}

udf::SourceRead IsoSourceStream::sourceRead() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return read_;
}

int32_t IsoSourceStream::failure(std::string* reason) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    *reason = reason_;
    return failure_;
}

int IsoSourceStream::open()
{
    close();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        read_ = {};
    }
    handedOut_ = fileRead_ = 0;
    bufferAt_ = bufferEnd_ = 0;
    digest_.reset();
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        return fail(error == ENOENT ? LD_FileNotFound : LD_FileOpenFailed,
                    path_ + ": " + std::strerror(error));
    }
    if (!keepsSize(&opened_))
        return kStreamFailed;
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    buffer_.reset(new uint8_t[kChunk]);
    if (size() == 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        read_ = {true, digest_.value(), opened_};
    }
    return 1;
}

int IsoSourceStream::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    buffer_.reset();
    return 1;
}

int IsoSourceStream::read(void* into, size_t count)
{
    if (fd_ < 0)
        return kStreamFailed;
    auto* out = static_cast<uint8_t*>(into);
    const size_t want = size_t(std::min<uint64_t>(count, size() - handedOut_));
    size_t given = 0;
    while (given < want) {
        if (bufferAt_ == bufferEnd_ && !refill())
            return kStreamFailed;
        const size_t n = std::min(want - given, bufferEnd_ - bufferAt_);
        std::memcpy(out + given, buffer_.get() + bufferAt_, n);
        bufferAt_ += n;
        given += n;
    }
    handedOut_ += given;
    if (given == 0 || handedOut_ < size())
        return int(given);
    // Growth shows only in the size: the bytes added with the file are all we write.
    struct stat now = {};
    if (!keepsSize(&now))
        return kStreamFailed;
    // A file written to while we read it may have given a mix of versions: no digest then,
    // and the read-back compares with the file as it is.
    if (udf::SourceRead::sameVersion(opened_, now)) {
        std::lock_guard<std::mutex> lock(mutex_);
        read_ = {true, digest_.value(), now};
    }
    return int(given);
}

bool IsoSourceStream::refill()
{
    const size_t want = size_t(std::min<uint64_t>(kChunk, size() - fileRead_));
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd_, buffer_.get() + got, want - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(LD_ReadError, path_ + ": " + std::strerror(errno)), false;
        if (n == 0)
            return fail(LD_InvalidFile,
                        udf::SourceRead::shorterText(path_, fileRead_ + got, size())),
                   false;
        got += size_t(n);
    }
    digest_.add(buffer_.get(), got);
    fileRead_ += got;
    bufferAt_ = 0;
    bufferEnd_ = got;
    return true;
}

bool IsoSourceStream::keepsSize(struct stat* now)
{
    if (::fstat(fd_, now) == 0 && now->st_size == added_.st_size)
        return true;
    fail(LD_InvalidFile, udf::SourceRead::changedSizeText(path_, size(), now->st_size));
    return false;
}

int IsoSourceStream::fail(int32_t status, const std::string& message)
{
    close();
    std::lock_guard<std::mutex> lock(mutex_);
    read_ = {};
    if (failure_ == 0) {
        failure_ = status;
        reason_ = message;
    }
    return kStreamFailed;
}

} // namespace ld
