#include "StreamStage.h"

#include "CancelFlag.h"
#include "OutputFile.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

#include <algorithm>

namespace kvt::worker {

WorkerError StreamStage::openDecoder(AVFormatContext* input, int streamIndex,
                                     int missingDecoderCode)
{
    m_inputIndex = streamIndex;
    m_inputStream = input->streams[streamIndex];
    const AVCodecParameters* par = m_inputStream->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec)
        return WorkerError(missingDecoderCode,
                           std::string("no decoder for ") + avcodec_get_name(par->codec_id));
    m_decoder.reset(avcodec_alloc_context3(codec));
    if (!m_decoder || !m_decoded || !m_filtered || !m_encoded)
        return WorkerError(ENG_ERR, "out of memory");
    int ret = avcodec_parameters_to_context(m_decoder.get(), par);
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::Decode, "cannot set up the decoder");
    m_decoder->pkt_timebase = m_inputStream->time_base;
    // Frame threads where the codec has them: decoding must keep up with encoding.
    m_decoder->thread_count = 0;
    m_decoder->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    ret = avcodec_open2(m_decoder.get(), codec, nullptr);
    if (ret < 0)
        return WorkerError(missingDecoderCode, std::string("cannot open the ") + codec->name +
                                                   " decoder: " + err2str(ret));
    return WorkerError();
}

WorkerError StreamStage::buildFilterGraph(const char* sourceName, const std::string& sourceArgs,
                                          const char* sinkName, const std::string& chain)
{
    m_graph.reset(avfilter_graph_alloc());
    if (!m_graph)
        return WorkerError(ENG_ERR, "out of memory");
    int ret = avfilter_graph_create_filter(&m_source, avfilter_get_by_name(sourceName), "in",
                                           sourceArgs.c_str(), nullptr, m_graph.get());
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::Filter, "cannot create the filter source");
    ret = avfilter_graph_create_filter(&m_sink, avfilter_get_by_name(sinkName), "out", nullptr,
                                       nullptr, m_graph.get());
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::Filter, "cannot create the filter sink");

    // The chain's open input is fed by "in", its open output feeds "out".
    FilterInOutPtr outputs(avfilter_inout_alloc());
    FilterInOutPtr inputs(avfilter_inout_alloc());
    if (!outputs || !inputs)
        return WorkerError(ENG_ERR, "out of memory");
    outputs->name = av_strdup("in");
    outputs->filter_ctx = m_source;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = m_sink;
    AVFilterInOut* rawInputs = inputs.release();
    AVFilterInOut* rawOutputs = outputs.release();
    ret = avfilter_graph_parse_ptr(m_graph.get(), chain.c_str(), &rawInputs, &rawOutputs, nullptr);
    inputs.reset(rawInputs);
    outputs.reset(rawOutputs);
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::Filter, "cannot build the filter chain " + chain);
    ret = avfilter_graph_config(m_graph.get(), nullptr);
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::Filter,
                                   "cannot configure the filter chain " + chain);
    return WorkerError();
}

WorkerError StreamStage::openEncoder(AVDictionary** options, int configErrorCode)
{
    if (m_output.needsGlobalHeader())
        m_encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int ret = avcodec_open2(m_encoder.get(), m_encoder->codec, options);
    if (ret < 0)
        return WorkerError(configErrorCode, std::string("cannot open the ") +
                                                m_encoder->codec->name +
                                                " encoder: " + err2str(ret));
    m_outputStream = m_output.addStream(m_encoder.get());
    if (!m_outputStream)
        return WorkerError(ENG_MUX_ADD_ERR, "cannot add a stream to the output");
    return WorkerError();
}

WorkerError StreamStage::sendPacket(const AVPacket* packet)
{
    const int ret = avcodec_send_packet(m_decoder.get(), packet);
    if (ret < 0 && ret != AVERROR_EOF) {
        if (ret == AVERROR(ENOMEM))
            return WorkerError(ENG_ERR, "out of memory while decoding");
        ++m_decodeErrors;
        return WorkerError();
    }
    return receiveFrames();
}

WorkerError StreamStage::receiveFrames()
{
    for (;;) {
        const int ret = avcodec_receive_frame(m_decoder.get(), m_decoded.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return WorkerError();
        if (ret < 0) {
            ++m_decodeErrors;
            return WorkerError();
        }
        ++m_framesDecoded;
        stampFrame(m_decoded.get());
        if (m_decoded->pts != AV_NOPTS_VALUE) {
            const int64_t duration = m_decoded->pkt_duration > 0 ? m_decoded->pkt_duration
                                                                 : nominalDuration(m_decoded.get());
            const int64_t end = m_decoded->pts + duration;
            m_endPts = m_endPts == AV_NOPTS_VALUE ? end : std::max(m_endPts, end);
        }
        WorkerError error;
        AVFrame* ready = prepareForFilter(m_decoded.get(), error);
        if (ready && !error.isError())
            error = pushToFilter(ready);
        av_frame_unref(m_decoded.get());
        if (error.isError())
            return error;
    }
}

WorkerError StreamStage::pushToFilter(AVFrame* frame)
{
    // KEEP_REF is left out: the graph takes the frame's buffers without a copy.
    const int ret = av_buffersrc_add_frame_flags(m_source, frame, 0);
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::Filter, "cannot filter a frame");
    return pullFromFilter();
}

WorkerError StreamStage::pullFromFilter()
{
    const AVRational sinkTimeBase = av_buffersink_get_time_base(m_sink);
    for (;;) {
        const int ret = av_buffersink_get_frame(m_sink, m_filtered.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return WorkerError();
        if (ret < 0)
            return WorkerError::fromAv(ret, Phase::Filter, "cannot filter a frame");
        if (m_filtered->pts != AV_NOPTS_VALUE)
            m_filtered->pts = av_rescale_q(m_filtered->pts, sinkTimeBase, m_encoder->time_base);
        m_filtered->pict_type = AV_PICTURE_TYPE_NONE;
        WorkerError error = encode(m_filtered.get());
        av_frame_unref(m_filtered.get());
        if (error.isError())
            return error;
    }
}

WorkerError StreamStage::encode(AVFrame* frame)
{
    int ret = avcodec_send_frame(m_encoder.get(), frame);
    if (ret < 0 && ret != AVERROR_EOF)
        return WorkerError::fromAv(ret, Phase::Encode, "cannot encode a frame");
    for (;;) {
        ret = avcodec_receive_packet(m_encoder.get(), m_encoded.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return WorkerError();
        if (ret < 0)
            return WorkerError::fromAv(ret, Phase::Encode, "cannot encode a frame");
        WorkerError error =
            m_output.writePacket(m_encoded.get(), m_encoder->time_base, m_outputStream);
        av_packet_unref(m_encoded.get());
        if (error.isError())
            return error;
        ++m_packetsWritten;
        if (CancelFlag::isCancelled())
            return WorkerError(Aborted, "cancelled");
    }
}

WorkerError StreamStage::finish()
{
    if (m_finished)
        return WorkerError();
    m_finished = true;
    if (WorkerError error = sendPacket(nullptr); error.isError())
        return error;
    // The end time closes the last frame's slot, so the rate filter keeps it.
    int ret = m_endPts == AV_NOPTS_VALUE ? av_buffersrc_add_frame_flags(m_source, nullptr, 0)
                                         : av_buffersrc_close(m_source, m_endPts, 0);
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::Filter, "cannot close the filter chain");
    if (WorkerError error = pullFromFilter(); error.isError())
        return error;
    return encode(nullptr);
}

} // namespace kvt::worker
