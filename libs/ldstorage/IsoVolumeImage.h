#pragma once

#include "VolumeImage.h"

#include <memory>
#include <sys/stat.h>

struct Iso_Image;
struct isoburn_imgen_opts;
struct iso_stream;

namespace ld {

class IsoSourceStream;

// An ISO 9660 session (with Joliet and Rock Ridge) built by libisofs and, through libisoburn,
// either a new file system on a blank medium or the next session of the one already there.
class IsoVolumeImage : public VolumeImage
{
public:
    // level 2 (long names) or 3 (files of 4 GiB and more); load keeps the medium's files.
    static std::unique_ptr<IsoVolumeImage> open(BurnDrive& drive, int isoLevel, bool load,
                                                const std::string& volumeId, int32_t* status,
                                                std::string* reason);
    ~IsoVolumeImage() override;

    bool hasName(const std::string& name) const override;
    int32_t addFile(const VolumeEntry& entry, std::string* reason) override;
    int32_t plan(BurnDrive& drive, std::string* reason) override;
    burn::burn_disc* disc() const override { return disc_; }
    uint64_t totalSectors() const override { return totalSectors_; }
    uint64_t startBlock() const override { return startBlock_; }
    bool writtenByIsoburn() const override { return true; }
    int32_t streamFailure(std::string* reason, std::vector<std::string>* unreadable) const override;
    udf::SourceRead sourceRead(size_t index) const override;
    int32_t closeSession(BurnDrive& drive, std::string* reason) override;
    void abandon(BurnDrive& drive) override;
    int32_t locateFiles(BurnDrive& drive, std::vector<std::vector<DataSpan>>* spans,
                        std::string* reason) override;

private:
    IsoVolumeImage(Iso_Image* image, int isoLevel);
    void freeDisc();

    Iso_Image* image_;
    const int isoLevel_;
    std::vector<std::string> names_;
    // How the write reads each added file; the same file added twice shares one stream.
    std::vector<std::shared_ptr<IsoSourceStream>> sources_;
    std::vector<iso_stream*> streams_; // not owned: the files hold them
    isoburn_imgen_opts* options_ = nullptr;
    burn::burn_disc* disc_ = nullptr;
    uint64_t totalSectors_ = 0;
    uint64_t startBlock_ = 0;
};

} // namespace ld
