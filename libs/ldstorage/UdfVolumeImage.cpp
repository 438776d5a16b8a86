#include "UdfVolumeImage.h"

#include "BurnApi.h"
#include "BurnDrive.h"
#include "LDStorage.h"
#include "ReadAheadSource.h"
#include "udf/UdfBridgeImage.h"

namespace ld {

namespace {

// The bridge writer streams the whole session itself; libburn only carries its sectors.
class UdfVolumeImage : public VolumeImage
{
public:
    UdfVolumeImage(std::string volumeId, uint64_t capacityBlocks)
        : volumeId_(std::move(volumeId)), capacityBlocks_(capacityBlocks)
    {
    }
    ~UdfVolumeImage() override { freeDisc(); }

    bool hasName(const std::string&) const override { return false; }

    int32_t addFile(const VolumeEntry& entry, std::string*) override
    {
        files_.push_back(udf::SourceFile{entry.sourcePath, entry.name16});
        return LD_OK;
    }

    int32_t plan(BurnDrive&, std::string* reason) override
    {
        freeDisc();
        udf::Failure failure{};
        bridge_ = udf::BridgeImage::plan(files_, udf::ImageSettings{volumeId_, capacityBlocks_},
                                         &failure);
        if (!bridge_) {
            *reason = failure.message;
            return failure.status ? failure.status : LD_Fatal;
        }
        burn::burn_source* source = bridge_->makeBurnSource();
        if (!source) {
            *reason = bridge_->failure().message;
            return bridge_->failure().status ? bridge_->failure().status : LD_Fatal;
        }
        // Read the stream ahead on a thread of its own so that reading the sources and
        // writing the medium overlap, as libisofs does for ISO sessions.
        burn::burn_source* ahead = ReadAheadSource::wrap(source, 1 << 20, 8);
        burn_source_free(source);
        if (!ahead) {
            *reason = "out of memory";
            return LD_Fatal;
        }
        source = ahead;
        disc_ = burn_disc_create();
        burn_session* session = burn_session_create();
        burn_track* track = burn_track_create();
        burn_track_define_data(track, 0, 0, 1, BURN_MODE1);
        burn_track_set_source(track, source);
        burn_source_free(source); // the track holds its own reference
        burn_session_add_track(session, track, BURN_POS_END);
        burn_track_free(track);
        burn_disc_add_session(disc_, session, BURN_POS_END);
        burn_session_free(session);
        return LD_OK;
    }

    burn::burn_disc* disc() const override { return disc_; }
    uint64_t totalSectors() const override { return bridge_ ? bridge_->totalSectors() : 0; }
    uint64_t startBlock() const override { return 0; }
    bool writtenByIsoburn() const override { return false; }
    int32_t closeSession(BurnDrive&, std::string*) override { return LD_OK; }

    int32_t streamFailure(std::string* reason, std::vector<std::string>* unreadable) const override
    {
        if (!bridge_)
            return LD_OK;
        const udf::Failure failure = bridge_->failure();
        *reason = failure.message;
        *unreadable = bridge_->unreadableFiles();
        return failure.status;
    }

    udf::SourceRead sourceRead(size_t index) const override
    {
        return bridge_ ? bridge_->sourceRead(index) : udf::SourceRead{};
    }

    void abandon(BurnDrive&) override
    {
        if (bridge_)
            bridge_->cancel();
        freeDisc();
    }

    int32_t locateFiles(BurnDrive&, std::vector<std::vector<DataSpan>>* spans,
                        std::string*) override
    {
        spans->clear();
        for (size_t i = 0; i < files_.size(); ++i) {
            std::vector<DataSpan> file;
            for (const auto& extent : bridge_->fileExtents(i)) {
                const auto& [start, bytes] = extent;
                file.push_back({uint64_t(start), uint64_t(bytes)});
            }
            spans->push_back(std::move(file));
        }
        return LD_OK;
    }

private:
    void freeDisc()
    {
        if (disc_)
            burn_disc_free(disc_);
        disc_ = nullptr;
    }

    std::string volumeId_;
    uint64_t capacityBlocks_;
    std::vector<udf::SourceFile> files_;
    std::unique_ptr<udf::BridgeImage> bridge_;
    burn_disc* disc_ = nullptr;
};

} // namespace

std::unique_ptr<VolumeImage> makeUdfVolumeImage(const std::string& volumeId,
                                                uint64_t capacityBlocks)
{
    return std::make_unique<UdfVolumeImage>(volumeId, capacityBlocks);
}

} // namespace ld
