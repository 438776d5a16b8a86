#pragma once

#include "StreamStage.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace kvt {
struct DeviceProfileSpec;
}

namespace kvt::worker {

// Audio: decoder, then libswresample (through aresample) to the profile's
// rate, channels and the encoder's sample format, with gaps filled and
// overlaps trimmed so audio stays in sync with the picture; the sink cuts the
// stream into the encoder's frame size (MP3 1152, AAC 1024 samples).
class AudioStage : public StreamStage
{
public:
    explicit AudioStage(OutputFile& output) : StreamStage(output) {}
    ~AudioStage() override;

    WorkerError open(AVFormatContext* input, int streamIndex, const DeviceProfileSpec& device);

    std::string describe() const override;

protected:
    void stampFrame(AVFrame* frame) override;
    AVFrame* prepareForFilter(AVFrame* frame, WorkerError& error) override;
    int64_t nominalDuration(const AVFrame* frame) const override;

private:
    WorkerError setUpEncoder(const DeviceProfileSpec& device);

    // What the filter graph was built for. Broadcasts switch between stereo
    // and 5.1 (or change the rate) between programmes; such frames are
    // converted back to this with libswresample instead of failing.
    AVChannelLayout m_graphLayout = {};
    AVSampleFormat m_graphFormat = AV_SAMPLE_FMT_NONE;
    int m_graphRate = 0;
    SwrContextPtr m_converter;
    AVChannelLayout m_converterLayout = {}; // the converter's input
    int m_converterFormat = -1;
    int m_converterRate = 0;
    FramePtr m_converted = makeFrame();
};

} // namespace kvt::worker
