#include "OutputReader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

struct FormatCloser
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer
{
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer
{
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

double rowLuma(const AVFrame* frame, int row)
{
    const uint8_t* line = frame->data[0] + std::ptrdiff_t(row) * frame->linesize[0];
    double sum = 0;
    for (int x = 0; x < frame->width; ++x)
        sum += line[x];
    return sum / frame->width;
}

double combScore(const AVFrame* frame)
{
    double neighbours = 0, sameField = 0;
    for (int y = 1; y + 1 < frame->height; ++y) {
        const uint8_t* above = frame->data[0] + std::ptrdiff_t(y - 1) * frame->linesize[0];
        const uint8_t* line = above + frame->linesize[0];
        const uint8_t* below = line + frame->linesize[0];
        for (int x = 0; x < frame->width; x += 2) {
            neighbours += std::abs(int(line[x]) - int(above[x]));
            sameField += std::abs(int(below[x]) - int(above[x]));
        }
    }
    return sameField > 0 ? neighbours / sameField : 0.0;
}

double frameLuma(const AVFrame* frame)
{
    double sum = 0;
    for (int y = 0; y < frame->height; y += 4)
        sum += rowLuma(frame, y);
    return sum / ((frame->height + 3) / 4);
}

// Index of the first sample of the first channel with |value| > threshold, or -1.
int firstLoudSample(const AVFrame* frame, double threshold)
{
    const auto format = AVSampleFormat(frame->format);
    const int step = av_sample_fmt_is_planar(format) ? 1 : frame->ch_layout.nb_channels;
    for (int i = 0; i < frame->nb_samples; ++i) {
        double v = 0;
        const int at = i * step;
        switch (av_get_packed_sample_fmt(format)) {
        case AV_SAMPLE_FMT_FLT:
            v = reinterpret_cast<const float*>(frame->data[0])[at];
            break;
        case AV_SAMPLE_FMT_DBL:
            v = reinterpret_cast<const double*>(frame->data[0])[at];
            break;
        case AV_SAMPLE_FMT_S16:
            v = reinterpret_cast<const int16_t*>(frame->data[0])[at] / 32768.0;
            break;
        case AV_SAMPLE_FMT_S32:
            v = reinterpret_cast<const int32_t*>(frame->data[0])[at] / 2147483648.0;
            break;
        default:
            return -1;
        }
        if (std::fabs(v) > threshold)
            return i;
    }
    return -1;
}

} // namespace

int OutputReader::streamCount(const QString& type) const
{
    int n = 0;
    for (const Stream& s : m_streams)
        n += s.type == type;
    return n;
}

const OutputReader::Stream* OutputReader::first(const QString& type) const
{
    for (const Stream& s : m_streams) {
        if (s.type == type)
            return &s;
    }
    return nullptr;
}

bool OutputReader::read(const QString& path)
{
    AVFormatContext* raw = nullptr;
    const QByteArray name = path.toUtf8();
    if (avformat_open_input(&raw, name.constData(), nullptr, nullptr) < 0) {
        m_error = "cannot open " + path;
        return false;
    }
    std::unique_ptr<AVFormatContext, FormatCloser> fmt(raw);
    if (avformat_find_stream_info(fmt.get(), nullptr) < 0) {
        m_error = "cannot read stream info of " + path;
        return false;
    }
    m_formatName = fmt->iformat->name;
    m_duration = fmt->duration > 0 ? fmt->duration / double(AV_TIME_BASE) : 0.0;

    std::vector<std::unique_ptr<AVCodecContext, CodecFreer>> decoders(fmt->nb_streams);
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVStream* st = fmt->streams[i];
        const AVCodecParameters* par = st->codecpar;
        Stream s;
        s.type = av_get_media_type_string(par->codec_type);
        s.codec = avcodec_get_name(par->codec_id);
        if (par->codec_tag) {
            char tag[AV_FOURCC_MAX_STRING_SIZE] = {};
            av_fourcc_make_string(tag, par->codec_tag);
            s.tag = tag;
        }
        s.width = par->width;
        s.height = par->height;
        s.sarNum = par->sample_aspect_ratio.num;
        s.sarDen = par->sample_aspect_ratio.den ? par->sample_aspect_ratio.den : 1;
        s.frameRate = av_q2d(av_guess_frame_rate(fmt.get(), fmt->streams[i], nullptr));
        s.sampleRate = par->sample_rate;
        s.channels = par->ch_layout.nb_channels;
        s.interlaced =
            par->field_order != AV_FIELD_PROGRESSIVE && par->field_order != AV_FIELD_UNKNOWN;
        s.profile = par->profile;
        s.level = par->level;
        m_streams.append(s);

        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        if (!codec)
            continue;
        decoders[i].reset(avcodec_alloc_context3(codec));
        avcodec_parameters_to_context(decoders[i].get(), par);
        decoders[i]->pkt_timebase = st->time_base;
        if (avcodec_open2(decoders[i].get(), codec, nullptr) < 0)
            decoders[i].reset();
    }

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    double lastPts = NAN;
    auto drain = [&](unsigned index) {
        AVCodecContext* dec = decoders[index].get();
        for (;;) {
            const int ret = avcodec_receive_frame(dec, frame.get());
            if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
                return;
            if (ret < 0) {
                ++m_decodeErrors;
                return;
            }
            if (frame->decode_error_flags || (frame->flags & AV_FRAME_FLAG_CORRUPT))
                ++m_decodeErrors;
            if (dec->codec_type == AVMEDIA_TYPE_VIDEO) {
                if (m_videoFrames == 0 && frame->format == AV_PIX_FMT_YUV420P) {
                    m_topLuma = rowLuma(frame.get(), 0);
                    m_middleLuma = rowLuma(frame.get(), frame->height / 2);
                }
                ++m_videoFrames;
                const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(AVPixelFormat(frame->format));
                if (m_videoFrames <= 40 && desc && desc->comp[0].depth == 8 &&
                    !(desc->flags & AV_PIX_FMT_FLAG_RGB))
                    m_combing = combScore(frame.get());
                if (m_brightTime < 0 && frame->best_effort_timestamp != AV_NOPTS_VALUE &&
                    frameLuma(frame.get()) > 128.0)
                    m_brightTime =
                        frame->best_effort_timestamp * av_q2d(fmt->streams[index]->time_base);
                m_interlacedFrames += frame->interlaced_frame ? 1 : 0;
                if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
                    const double t =
                        frame->best_effort_timestamp * av_q2d(fmt->streams[index]->time_base);
                    if (std::isnan(lastPts))
                        m_firstVideoTime = t;
                    m_lastVideoTime = std::max(m_lastVideoTime, t);
                    if (!std::isnan(lastPts)) {
                        const double step = std::round((t - lastPts) * 1000.0) / 1000.0;
                        if (!m_steps.contains(step))
                            m_steps.append(step);
                    }
                    lastPts = t;
                }
            } else if (dec->codec_type == AVMEDIA_TYPE_AUDIO) {
                ++m_audioFrames;
                if (m_loudTime < 0 && frame->best_effort_timestamp != AV_NOPTS_VALUE) {
                    const int at = firstLoudSample(frame.get(), 0.3);
                    if (at >= 0)
                        m_loudTime =
                            frame->best_effort_timestamp * av_q2d(fmt->streams[index]->time_base) +
                            double(at) / frame->sample_rate;
                }
            }
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(fmt.get(), packet.get()) >= 0) {
        const unsigned index = unsigned(packet->stream_index);
        if (index < fmt->nb_streams &&
            fmt->streams[index]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            m_videoBytes += packet->size;
        if (index < decoders.size() && decoders[index]) {
            if (avcodec_send_packet(decoders[index].get(), packet.get()) < 0)
                ++m_decodeErrors;
            drain(index);
        }
        av_packet_unref(packet.get());
    }
    for (unsigned i = 0; i < decoders.size(); ++i) {
        if (decoders[i]) {
            avcodec_send_packet(decoders[i].get(), nullptr);
            drain(i);
        }
    }
    return true;
}
