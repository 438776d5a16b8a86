#include "AudioStage.h"

#include "ProfileTable.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

namespace kvt::worker {

namespace {

// Sources that only give a channel count get the usual layout for it.
void namedLayout(const AVChannelLayout& layout, AVChannelLayout& out)
{
    av_channel_layout_uninit(&out);
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&out, layout.nb_channels);
    else
        av_channel_layout_copy(&out, &layout);
}

std::string describeLayout(const AVChannelLayout& layout)
{
    char buffer[128] = {};
    AVChannelLayout named = {};
    namedLayout(layout, named);
    av_channel_layout_describe(&named, buffer, sizeof buffer);
    av_channel_layout_uninit(&named);
    return buffer;
}

} // namespace

AudioStage::~AudioStage()
{
    av_channel_layout_uninit(&m_graphLayout);
    av_channel_layout_uninit(&m_converterLayout);
}

WorkerError AudioStage::open(AVFormatContext* input, int streamIndex,
                             const DeviceProfileSpec& device)
{
    if (WorkerError error = openDecoder(input, streamIndex, ENG_INVALID_AUD_STREAM);
        error.isError())
        return error;
    const AVCodecContext* dec = m_decoder.get();
    if (dec->sample_rate <= 0 || dec->ch_layout.nb_channels <= 0 ||
        dec->sample_fmt == AV_SAMPLE_FMT_NONE)
        return WorkerError(ENG_INVALID_AUD_STREAM, "the audio stream has no sample format");

    if (WorkerError error = setUpEncoder(device); error.isError())
        return error;
    const AVCodecContext* enc = m_encoder.get();

    namedLayout(dec->ch_layout, m_graphLayout);
    m_graphFormat = dec->sample_fmt;
    m_graphRate = dec->sample_rate;
    const AVRational tb = m_inputStream->time_base;
    const std::string sourceArgs = "time_base=" + std::to_string(tb.num) + "/" +
                                   std::to_string(tb.den) +
                                   ":sample_rate=" + std::to_string(dec->sample_rate) +
                                   ":sample_fmt=" + av_get_sample_fmt_name(dec->sample_fmt) +
                                   ":channel_layout=" + describeLayout(dec->ch_layout);
    // async=1 stretches small drifts and fills gaps with silence; first_pts=0
    // lines the first sample up with the first picture.
    m_chain = std::string("aresample=async=1:first_pts=0,aformat=sample_fmts=") +
              av_get_sample_fmt_name(enc->sample_fmt) +
              ":sample_rates=" + std::to_string(enc->sample_rate) +
              ":channel_layouts=" + describeLayout(enc->ch_layout);
    if (WorkerError error = buildFilterGraph("abuffer", sourceArgs, "abuffersink", m_chain);
        error.isError())
        return error;
    if (!(enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) && enc->frame_size > 0)
        av_buffersink_set_frame_size(m_sink, static_cast<unsigned>(enc->frame_size));
    return WorkerError();
}

WorkerError AudioStage::setUpEncoder(const DeviceProfileSpec& device)
{
    const bool aac = device.audioCodecs[0] == AC_AAC;
    const AVCodec* codec = avcodec_find_encoder_by_name(device.audioEncoder);
    if (!codec)
        return WorkerError(aac ? ENG_NO_AAC_ENC : ENG_NO_MP3_ENC,
                           std::string("no ") + device.audioEncoder + " encoder");
    m_encoder.reset(avcodec_alloc_context3(codec));
    if (!m_encoder)
        return WorkerError(ENG_ERR, "out of memory");
    AVCodecContext* enc = m_encoder.get();
    enc->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    enc->sample_rate = device.audioSampleRate;
    av_channel_layout_default(&enc->ch_layout, device.audioChannels);
    enc->bit_rate = device.audioBitrate;
    enc->time_base = AVRational{1, enc->sample_rate};
    enc->thread_count = 0;
    return openEncoder(nullptr, aac ? ENG_AAC_ENC_CONFIG_ERR : ENG_MP3_ENC_CONFIG_ERR);
}

void AudioStage::stampFrame(AVFrame* frame)
{
    frame->pts = frame->best_effort_timestamp;
}

AVFrame* AudioStage::prepareForFilter(AVFrame* frame, WorkerError& error)
{
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        AVChannelLayout named = {};
        namedLayout(frame->ch_layout, named);
        av_channel_layout_uninit(&frame->ch_layout);
        frame->ch_layout = named;
    }
    if (frame->sample_rate == m_graphRate && frame->format == m_graphFormat &&
        av_channel_layout_compare(&frame->ch_layout, &m_graphLayout) == 0)
        return frame;

    if (!m_converter || frame->sample_rate != m_converterRate ||
        frame->format != m_converterFormat ||
        av_channel_layout_compare(&frame->ch_layout, &m_converterLayout) != 0) {
        SwrContext* raw = nullptr;
        int ret =
            swr_alloc_set_opts2(&raw, &m_graphLayout, m_graphFormat, m_graphRate, &frame->ch_layout,
                                AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
        m_converter.reset(raw);
        if (ret >= 0)
            ret = swr_init(m_converter.get());
        if (ret < 0) {
            error = WorkerError::fromAv(ret, Phase::Filter, "cannot convert the changed audio");
            return nullptr;
        }
        av_channel_layout_uninit(&m_converterLayout);
        av_channel_layout_copy(&m_converterLayout, &frame->ch_layout);
        m_converterFormat = frame->format;
        m_converterRate = frame->sample_rate;
    }

    av_frame_unref(m_converted.get());
    m_converted->format = m_graphFormat;
    m_converted->sample_rate = m_graphRate;
    av_channel_layout_copy(&m_converted->ch_layout, &m_graphLayout);
    m_converted->nb_samples = swr_get_out_samples(m_converter.get(), frame->nb_samples);
    int ret = m_converted->nb_samples > 0 ? av_frame_get_buffer(m_converted.get(), 0) : 0;
    if (ret >= 0 && m_converted->nb_samples > 0)
        ret = swr_convert(m_converter.get(), m_converted->extended_data, m_converted->nb_samples,
                          const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    if (ret < 0) {
        error = WorkerError::fromAv(ret, Phase::Filter, "cannot convert the changed audio");
        return nullptr;
    }
    if (ret == 0)
        return nullptr;
    m_converted->nb_samples = ret;
    m_converted->pts = frame->pts;
    return m_converted.get();
}

std::string AudioStage::describe() const
{
    const AVCodecContext* enc = m_encoder.get();
    return std::string("audio encoder=") + enc->codec->name +
           " rate=" + std::to_string(enc->sample_rate) +
           " channels=" + std::to_string(enc->ch_layout.nb_channels) +
           " bitrate=" + std::to_string(enc->bit_rate) + " filter=" + m_chain;
}

int64_t AudioStage::nominalDuration(const AVFrame* frame) const
{
    const int rate = frame->sample_rate > 0 ? frame->sample_rate : m_decoder->sample_rate;
    return av_rescale_q(frame->nb_samples, AVRational{1, rate}, m_inputStream->time_base);
}

} // namespace kvt::worker
