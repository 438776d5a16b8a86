#include "IsoVolumeImage.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "BurnRuntime.h"
#include "IsoSourceStream.h"
#include "LDStorage.h"

#include <cerrno>
#include <cstring>

namespace ld {

namespace {

std::string reasonOr(const std::string& fallback)
{
    const std::string messages = BurnRuntime::takeMessages();
    return messages.empty() ? fallback : messages;
}

// Reads the image on the drive (or pretends the medium is blank) with the options we write.
IsoImage* readImage(BurnDrive& drive, bool load)
{
    isoburn_read_opts* ropts = nullptr;
    if (isoburn_ropt_new(&ropts, 0) <= 0)
        return nullptr;
    int ext = isoburn_ropt_noiso1999 | isoburn_ropt_noaaip | isoburn_ropt_noacl |
              isoburn_ropt_noea | isoburn_ropt_nomd5;
    if (!load)
        ext |= isoburn_ropt_pretend_blank;
    isoburn_ropt_set_extensions(ropts, ext);
    isoburn_ropt_set_input_charset(ropts, const_cast<char*>("UTF-8"));
    IsoImage* image = nullptr;
    const int rc = isoburn_read_image(drive.drive(), ropts, &image);
    isoburn_ropt_destroy(&ropts, 0);
    return rc > 0 ? image : nullptr;
}

} // namespace

std::unique_ptr<IsoVolumeImage> IsoVolumeImage::open(BurnDrive& drive, int isoLevel, bool load,
                                                     const std::string& volumeId, int32_t* status,
                                                     std::string* reason)
{
    BurnRuntime::takeMessages();
    IsoImage* image = readImage(drive, load);
    if (!image) {
        *reason = reasonOr(load ? "the file system on the disc cannot be read"
                                : "a new file system cannot be started");
        *status = load ? LD_ReadError : LD_Fatal;
        return nullptr;
    }
    if (!load && !volumeId.empty())
        iso_image_set_volume_id(image, volumeId.c_str());
    *status = LD_OK;
    return std::unique_ptr<IsoVolumeImage>(new IsoVolumeImage(image, isoLevel));
}

IsoVolumeImage::IsoVolumeImage(IsoImage* image, int isoLevel) : image_(image), isoLevel_(isoLevel)
{
}

IsoVolumeImage::~IsoVolumeImage()
{
    freeDisc();
    iso_image_unref(image_);
}

void IsoVolumeImage::freeDisc()
{
    if (disc_)
        burn_disc_free(disc_);
    disc_ = nullptr;
    if (options_)
        isoburn_igopt_destroy(&options_, 0);
    options_ = nullptr;
}

bool IsoVolumeImage::hasName(const std::string& name) const
{
    IsoNode* node = nullptr;
    return iso_dir_get_node(iso_image_get_root(image_), name.c_str(), &node) == 1;
}

int32_t IsoVolumeImage::addFile(const VolumeEntry& entry, std::string* reason)
{
    struct stat st = {};
    if (::stat(entry.sourcePath.c_str(), &st) != 0) {
        *reason = std::strerror(errno);
        return errno == ENOENT ? LD_FileNotFound : LD_FileOpenFailed;
    }
    if (isoLevel_ < 3 && uint64_t(st.st_size) >= (uint64_t(4) << 30)) {
        *reason = "files of 4 GiB and more need ISO 9660 level 3 or UDF";
        return LD_InvalidFile;
    }
    // Our own stream, so that the write's read of the file leaves a digest for the read-back.
    std::shared_ptr<IsoSourceStream> source;
    IsoStream* stream = nullptr;
    for (size_t i = 0; i < sources_.size() && !stream; ++i) {
        const struct stat& seen = sources_[i]->added();
        if (seen.st_dev == st.st_dev && seen.st_ino == st.st_ino && seen.st_size == st.st_size) {
            source = sources_[i];
            stream = streams_[i];
            iso_stream_ref(stream);
        }
    }
    if (!stream)
        stream = IsoSourceStream::create(entry.sourcePath, st, &source);
    if (!stream) {
        *reason = "out of memory";
        return LD_Fatal;
    }
    IsoFile* file = nullptr;
    const int rc = iso_image_add_new_file(image_, iso_image_get_root(image_), entry.name.c_str(),
                                          stream, &file);
    if (rc < 0) {
        iso_stream_unref(stream);
        *reason = iso_error_to_msg(rc);
        BurnRuntime::takeMessages();
        return rc == int(ISO_NODE_NAME_NOT_UNIQUE) ? LD_FileExists : LD_InvalidFile;
    }
    // The attributes libisofs takes from a file it reads itself.
    IsoNode* node = reinterpret_cast<IsoNode*>(file);
    iso_node_set_permissions(node, st.st_mode & 07777);
    iso_node_set_uid(node, st.st_uid);
    iso_node_set_gid(node, st.st_gid);
    iso_node_set_atime(node, st.st_atime);
    iso_node_set_mtime(node, st.st_mtime);
    iso_node_set_ctime(node, st.st_ctime);
    names_.push_back(entry.name);
    sources_.push_back(std::move(source));
    streams_.push_back(stream);
    return LD_OK;
}

int32_t IsoVolumeImage::streamFailure(std::string* reason,
                                      std::vector<std::string>* unreadable) const
{
    for (const auto& source : sources_) {
        const int32_t status = source->failure(reason);
        if (status == LD_OK)
            continue;
        // A source that changed size could be read; the others could not.
        if (status != LD_InvalidFile)
            unreadable->push_back(source->path());
        return status;
    }
    return LD_OK;
}

udf::SourceRead IsoVolumeImage::sourceRead(size_t index) const
{
    return index < sources_.size() ? sources_[index]->sourceRead() : udf::SourceRead{};
}

int32_t IsoVolumeImage::plan(BurnDrive& drive, std::string* reason)
{
    freeDisc();
    BurnRuntime::takeMessages();
    if (isoburn_igopt_new(&options_, 0) <= 0) {
        *reason = "out of memory";
        return LD_Fatal;
    }
    isoburn_igopt_set_level(options_, isoLevel_);
    isoburn_igopt_set_extensions(options_, isoburn_igopt_rockridge | isoburn_igopt_joliet);
    // Long names: 37 characters in ISO 9660, 103 in Joliet; Rock Ridge keeps the whole name.
    isoburn_igopt_set_relaxed(options_, isoburn_igopt_max_37_char_filenames |
                                            isoburn_igopt_joliet_longer_paths |
                                            isoburn_igopt_joliet_long_names);
    isoburn_igopt_set_out_charset(options_, const_cast<char*>("UTF-8"));
    isoburn_igopt_set_fifo_size(options_, 8 * 1024 * 1024);
    if (isoburn_prepare_disc(drive.drive(), &disc_, options_) <= 0 || !disc_) {
        disc_ = nullptr;
        *reason = reasonOr("the file system cannot be laid out");
        return LD_Fatal;
    }
    totalSectors_ = uint64_t(burn_disc_get_sectors(disc_));
    int lba = 0;
    startBlock_ =
        isoburn_igopt_get_effective_lba(options_, &lba) > 0 && lba > 0 ? uint64_t(lba) : 0;
    return LD_OK;
}

int32_t IsoVolumeImage::closeSession(BurnDrive& drive, std::string* reason)
{
    if (isoburn_activate_session(drive.drive()) <= 0) {
        *reason = reasonOr("the new session cannot be made the current one");
        return LD_WriteError;
    }
    return LD_OK;
}

void IsoVolumeImage::abandon(BurnDrive& drive)
{
    if (disc_)
        isoburn_cancel_prepared_write(drive.drive(), nullptr, 0);
    freeDisc();
}

int32_t IsoVolumeImage::locateFiles(BurnDrive& drive, std::vector<std::vector<DataSpan>>* spans,
                                    std::string* reason)
{
    // Read the tree back from the medium: the extents libisofs recorded, not the ones planned.
    freeDisc();
    IsoImage* written = readImage(drive, true);
    if (!written) {
        *reason = reasonOr("the written session cannot be read back");
        return LD_ReadError;
    }
    spans->clear();
    int32_t status = LD_OK;
    for (const std::string& name : names_) {
        IsoNode* node = nullptr;
        std::vector<DataSpan> fileSpans;
        if (iso_dir_get_node(iso_image_get_root(written), name.c_str(), &node) != 1 ||
            iso_node_get_type(node) != LIBISO_FILE) {
            *reason = "\"" + name + "\" is missing from the written session";
            status = LD_DataMiscompare;
            break;
        }
        int count = 0;
        iso_file_section* sections = nullptr;
        if (iso_file_get_old_image_sections(reinterpret_cast<IsoFile*>(node), &count, &sections,
                                            0) > 0) {
            for (int i = 0; i < count; ++i)
                fileSpans.push_back({sections[i].block, sections[i].size});
            free(sections);
        }
        spans->push_back(std::move(fileSpans));
    }
    iso_image_unref(written);
    return status;
}

} // namespace ld
