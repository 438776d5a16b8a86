#include "VideoStage.h"

#include "ProfileTable.h"

extern "C" {
#include <libavutil/display.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>

namespace kvt::worker {

namespace {

int evenAtLeastTwo(double v)
{
    return std::max(2, static_cast<int>(std::lround(v / 2.0)) * 2);
}

int evenDown(int v)
{
    return std::max(2, v & ~1);
}

} // namespace

VideoGeometry VideoStage::computeGeometry(const DeviceProfileSpec& device, int displayWidth,
                                          int displayHeight, int requestedWidth,
                                          int requestedHeight)
{
    VideoGeometry g;
    if (requestedWidth <= 0 || requestedHeight <= 0) {
        fitResolution(device, displayWidth, displayHeight, g.frameWidth, g.frameHeight);
        g.pictureWidth = g.frameWidth;
        g.pictureHeight = g.frameHeight;
        return g;
    }
    // An explicit size is honoured within the device's limits; the picture is
    // letterboxed in it rather than stretched.
    g.frameWidth = evenDown(std::min(requestedWidth, device.maxWidth));
    g.frameHeight = evenDown(std::min(requestedHeight, device.maxHeight));
    const double scale =
        std::min(double(g.frameWidth) / displayWidth, double(g.frameHeight) / displayHeight);
    g.pictureWidth = std::min(g.frameWidth, evenAtLeastTwo(displayWidth * scale));
    g.pictureHeight = std::min(g.frameHeight, evenAtLeastTwo(displayHeight * scale));
    return g;
}

WorkerError VideoStage::open(AVFormatContext* input, int streamIndex,
                             const DeviceProfileSpec& device, int requestedWidth,
                             int requestedHeight)
{
    if (WorkerError error = openDecoder(input, streamIndex, ENG_DECODER); error.isError())
        return error;
    const AVCodecContext* dec = m_decoder.get();
    if (dec->width <= 0 || dec->height <= 0 || dec->pix_fmt == AV_PIX_FMT_NONE)
        return WorkerError(ENG_INVALID_VID_STREAM, "the video stream has no picture size");

    AVRational sar = av_guess_sample_aspect_ratio(input, m_inputStream, nullptr);
    if (sar.num <= 0 || sar.den <= 0)
        sar = AVRational{1, 1};
    // Phones store portrait video as landscape pictures plus a rotation;
    // devices ignore the rotation, so the pictures are turned here.
    const int rotation = sourceRotation();
    const bool quarterTurn = rotation == 90 || rotation == 270;
    int displayWidth = static_cast<int>(std::lround(double(dec->width) * sar.num / sar.den));
    int displayHeight = dec->height;
    if (quarterTurn)
        std::swap(displayWidth, displayHeight);
    m_geometry =
        computeGeometry(device, displayWidth, displayHeight, requestedWidth, requestedHeight);

    const AVRational sourceRate = av_guess_frame_rate(input, m_inputStream, nullptr);
    outputFrameRate(device, sourceRate.num, sourceRate.den, m_frameRate.num, m_frameRate.den);
    av_reduce(&m_frameRate.num, &m_frameRate.den, m_frameRate.num, m_frameRate.den, 1 << 30);
    // Nominal tick between frames, for sources whose frames carry no timestamp.
    m_frameStep =
        std::max<int64_t>(1, av_rescale_q(1, av_inv_q(m_frameRate), m_inputStream->time_base));

    // Deinterlace only frames flagged interlaced, so progressive sources pass
    // untouched; the rate filter goes first so dropped frames cost nothing,
    // and the picture is scaled before it is turned, which is the cheaper way.
    m_chain.clear();
    const AVFieldOrder order = m_inputStream->codecpar->field_order;
    if (order != AV_FIELD_PROGRESSIVE)
        m_chain += "yadif=mode=send_frame:parity=auto:deint=interlaced,";
    m_chain +=
        "fps=fps=" + std::to_string(m_frameRate.num) + "/" + std::to_string(m_frameRate.den) + ",";
    const int scaledWidth = quarterTurn ? m_geometry.pictureHeight : m_geometry.pictureWidth;
    const int scaledHeight = quarterTurn ? m_geometry.pictureWidth : m_geometry.pictureHeight;
    m_chain += "scale=" + std::to_string(scaledWidth) + ":" + std::to_string(scaledHeight) +
               ":flags=bicubic,";
    if (rotation == 90)
        m_chain += "transpose=clock,";
    else if (rotation == 270)
        m_chain += "transpose=cclock,";
    else if (rotation == 180)
        m_chain += "hflip,vflip,";
    if (m_geometry.pictureWidth != m_geometry.frameWidth ||
        m_geometry.pictureHeight != m_geometry.frameHeight) {
        m_chain += "pad=" + std::to_string(m_geometry.frameWidth) + ":" +
                   std::to_string(m_geometry.frameHeight) + ":(ow-iw)/2:(oh-ih)/2,";
    }
    m_chain += "setsar=1,format=yuv420p";

    const AVRational tb = m_inputStream->time_base;
    const std::string sourceArgs =
        "video_size=" + std::to_string(dec->width) + "x" + std::to_string(dec->height) +
        ":pix_fmt=" + std::to_string(dec->pix_fmt) + ":time_base=" + std::to_string(tb.num) + "/" +
        std::to_string(tb.den) + ":pixel_aspect=" + std::to_string(sar.num) + "/" +
        std::to_string(sar.den);
    if (WorkerError error = buildFilterGraph("buffer", sourceArgs, "buffersink", m_chain);
        error.isError())
        return error;
    return setUpEncoder(device);
}

WorkerError VideoStage::setUpEncoder(const DeviceProfileSpec& device)
{
    const bool h264 = device.videoCodec == VC_H264;
    const AVCodec* codec = avcodec_find_encoder_by_name(device.videoEncoder);
    if (!codec)
        return WorkerError(h264 ? ENG_NO_H264_ENC : ENG_NO_KAVO_ENC,
                           std::string("no ") + device.videoEncoder + " encoder");
    m_encoder.reset(avcodec_alloc_context3(codec));
    if (!m_encoder)
        return WorkerError(ENG_ERR, "out of memory");
    AVCodecContext* enc = m_encoder.get();
    enc->width = m_geometry.frameWidth;
    enc->height = m_geometry.frameHeight;
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->sample_aspect_ratio = AVRational{1, 1};
    enc->framerate = m_frameRate;
    enc->time_base = av_inv_q(m_frameRate);
    enc->thread_count = 0;
    const double fps = av_q2d(m_frameRate);
    enc->bit_rate = targetVideoBitrate(device, enc->width, enc->height, fps);
    // The device's peak rate is a hard limit; one second of buffer at that rate.
    enc->rc_max_rate = device.videoBitrateMax;
    enc->rc_buffer_size = static_cast<int>(std::min<int64_t>(device.videoBitrateMax, INT32_MAX));
    // A key frame every two seconds keeps seeking on the device quick.
    enc->gop_size = std::max(1, static_cast<int>(std::lround(2.0 * fps)));

    AVDictionary* options = nullptr;
    if (h264) {
        // veryfast: the user waits for the conversion; the rate, not the
        // preset, decides the size on the disc.
        m_preset = "veryfast";
        m_profile = device.h264Profile >= 100 ? "high" : "main";
        av_dict_set(&options, "preset", m_preset.c_str(), 0);
        av_dict_set(&options, "profile", m_profile.c_str(), 0);
        enc->level = device.h264MaxLevel;
    } else {
        // Players of MPEG-4 Part 2 in AVI look for the XviD tag.
        enc->codec_tag = MKTAG('X', 'V', 'I', 'D');
        enc->max_b_frames = 0;
    }
    WorkerError error = openEncoder(&options, h264 ? ENG_NO_H264_ENC : ENG_KAVO_ENC_CONFIG_ERR);
    av_dict_free(&options);
    return error;
}

int VideoStage::sourceRotation() const
{
    const uint8_t* matrix =
        av_stream_get_side_data(m_inputStream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix)
        return 0;
    const double angle = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    if (std::isnan(angle))
        return 0;
    // The matrix turns counter-clockwise; the picture must turn back clockwise.
    const int degrees = static_cast<int>(std::lround(-angle)) % 360;
    const int quarter = ((degrees + 360 + 45) % 360) / 90 * 90;
    return quarter;
}

std::string VideoStage::describe() const
{
    const AVCodecContext* enc = m_encoder.get();
    std::string text =
        std::string("video encoder=") + enc->codec->name + " size=" + std::to_string(enc->width) +
        "x" + std::to_string(enc->height) + " rate=" + std::to_string(m_frameRate.num) + "/" +
        std::to_string(m_frameRate.den) + " bitrate=" + std::to_string(enc->bit_rate) +
        " maxrate=" + std::to_string(enc->rc_max_rate) +
        " bufsize=" + std::to_string(enc->rc_buffer_size) + " gop=" + std::to_string(enc->gop_size);
    if (enc->codec_tag) {
        char tag[AV_FOURCC_MAX_STRING_SIZE] = {};
        av_fourcc_make_string(tag, enc->codec_tag);
        text += std::string(" tag=") + tag;
    }
    if (!m_preset.empty())
        text += " preset=" + m_preset + " profile=" + m_profile +
                " level=" + std::to_string(enc->level);
    return text + " filter=" + m_chain;
}

void VideoStage::stampFrame(AVFrame* frame)
{
    int64_t pts = frame->best_effort_timestamp;
    // Frames without a usable time follow their predecessor at the nominal
    // rate, so the rate filter neither drops nor stacks them.
    if (pts == AV_NOPTS_VALUE)
        pts = m_lastPts == AV_NOPTS_VALUE ? 0 : m_lastPts + m_frameStep;
    frame->pts = pts;
    m_lastPts = pts;
}

} // namespace kvt::worker
