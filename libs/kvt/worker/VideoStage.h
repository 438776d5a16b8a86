#pragma once

#include "StreamStage.h"

namespace kvt {
struct DeviceProfileSpec;
}

namespace kvt::worker {

// The picture size the output gets and where the source picture sits in it.
struct VideoGeometry
{
    int frameWidth = 0; // encoded size
    int frameHeight = 0;
    int pictureWidth = 0; // scaled source inside it (smaller when letterboxed)
    int pictureHeight = 0;
};

// Video: decoder, then deinterlace (when the source may be interlaced),
// constant frame rate, scale with aspect ratio kept, 4:2:0, then the profile's
// encoder.
class VideoStage : public StreamStage
{
public:
    explicit VideoStage(OutputFile& output) : StreamStage(output) {}

    // requestedWidth/Height: an explicit output size (0 = fit the source into
    // the profile's limits).
    WorkerError open(AVFormatContext* input, int streamIndex, const DeviceProfileSpec& device,
                     int requestedWidth, int requestedHeight);

    // The size for a source shown as displayWidth x displayHeight square
    // pixels; exposed for the choice of letterbox against plain scaling.
    static VideoGeometry computeGeometry(const DeviceProfileSpec& device, int displayWidth,
                                         int displayHeight, int requestedWidth,
                                         int requestedHeight);

    const VideoGeometry& geometry() const { return m_geometry; }
    AVRational frameRate() const { return m_frameRate; }
    std::string describe() const override;

protected:
    void stampFrame(AVFrame* frame) override;
    int64_t nominalDuration(const AVFrame*) const override { return m_frameStep; }

private:
    WorkerError setUpEncoder(const DeviceProfileSpec& device);
    // Clockwise quarter turns (0, 90, 180, 270) that make the source upright.
    int sourceRotation() const;

    VideoGeometry m_geometry;
    AVRational m_frameRate{25, 1};
    std::string m_preset; // x264 only
    std::string m_profile;
    int64_t m_lastPts = AV_NOPTS_VALUE;
    int64_t m_frameStep = 1;
};

} // namespace kvt::worker
