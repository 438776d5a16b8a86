#pragma once

#include "FfmpegHandles.h"
#include "WorkerError.h"

#include <cstdint>
#include <string>

namespace kvt::worker {

class OutputFile;

// One source stream on its way to the output: decoder, filter graph, encoder
// and output stream. The loop follows FFmpeg's send/receive model: every
// packet sent is drained through the filter graph and the encoder before the
// next one, so nothing piles up between the steps.
class StreamStage
{
public:
    virtual ~StreamStage() = default;
    StreamStage(const StreamStage&) = delete;
    StreamStage& operator=(const StreamStage&) = delete;

    int inputIndex() const { return m_inputIndex; }

    // Decodes one packet (timestamps in the source stream's time base) and
    // carries the frames through to the muxer. Damaged packets are counted,
    // not fatal: players conceal them too.
    WorkerError sendPacket(const AVPacket* packet);

    // Drains decoder, filter graph and encoder at the end of the source.
    WorkerError finish();

    // One line naming the encoder settings and the filter chain, for the
    // diagnostics on stderr (and for running ffmpeg with the same settings).
    virtual std::string describe() const = 0;

    int64_t framesDecoded() const { return m_framesDecoded; }
    int64_t decodeErrors() const { return m_decodeErrors; }
    int64_t packetsWritten() const { return m_packetsWritten; }

protected:
    explicit StreamStage(OutputFile& output) : m_output(output) {}

    WorkerError openDecoder(AVFormatContext* input, int streamIndex, int missingDecoderCode);
    // Builds source -> chain -> sink, with the source described by its args.
    WorkerError buildFilterGraph(const char* sourceName, const std::string& sourceArgs,
                                 const char* sinkName, const std::string& chain);
    // Opens the encoder set up in m_encoder and adds the output stream.
    WorkerError openEncoder(AVDictionary** options, int configErrorCode);

    // Gives a decoded frame the timestamp the filter graph should see.
    virtual void stampFrame(AVFrame* frame) = 0;
    // The frame to hand to the filter graph: the decoded one, or a converted
    // copy when the source changed its format mid-stream. nullptr = skip it.
    virtual AVFrame* prepareForFilter(AVFrame* frame, WorkerError& error)
    {
        (void)error;
        return frame;
    }
    // How long a decoded frame lasts when the source does not say, in the
    // source stream's time base.
    virtual int64_t nominalDuration(const AVFrame* frame) const = 0;

    AVStream* m_inputStream = nullptr;
    CodecContextPtr m_decoder;
    CodecContextPtr m_encoder;
    FilterGraphPtr m_graph;
    AVFilterContext* m_source = nullptr;
    AVFilterContext* m_sink = nullptr;
    std::string m_chain;
    OutputFile& m_output;

private:
    WorkerError receiveFrames();
    WorkerError pushToFilter(AVFrame* frame);
    WorkerError pullFromFilter();
    WorkerError encode(AVFrame* frame);

    AVStream* m_outputStream = nullptr;
    FramePtr m_decoded = makeFrame();
    FramePtr m_filtered = makeFrame();
    PacketPtr m_encoded = makePacket();
    int m_inputIndex = -1;
    int64_t m_framesDecoded = 0;
    int64_t m_decodeErrors = 0;
    int64_t m_packetsWritten = 0;
    int64_t m_endPts = AV_NOPTS_VALUE; // end of the last decoded frame
    bool m_finished = false;
};

} // namespace kvt::worker
