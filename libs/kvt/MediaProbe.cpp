#include "MediaProbe.h"

#include "LocalInput.h"
#include "LocalPath.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/pixdesc.h>
}

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kvt {

namespace {

struct Interrupt
{
    const std::atomic<bool>* cancel = nullptr;
    std::chrono::steady_clock::time_point deadline;
    bool cancelled = false;
    bool timedOut = false;

    static int callback(void* opaque)
    {
        auto* self = static_cast<Interrupt*>(opaque);
        if (self->cancel && self->cancel->load()) {
            self->cancelled = true;
            return 1;
        }
        if (std::chrono::steady_clock::now() > self->deadline) {
            self->timedOut = true;
            return 1;
        }
        return 0;
    }
};

VideoCodec videoKind(AVCodecID id)
{
    switch (id) {
    case AV_CODEC_ID_MPEG4:
        return VC_ASP;
    case AV_CODEC_ID_H264:
        return VC_H264;
    case AV_CODEC_ID_H263:
    case AV_CODEC_ID_H263P:
    case AV_CODEC_ID_H263I:
        return VC_H263;
    case AV_CODEC_ID_VC1:
        return VC_VC1;
    case AV_CODEC_ID_WMV1:
    case AV_CODEC_ID_WMV2:
    case AV_CODEC_ID_WMV3:
        return VC_WMV;
    case AV_CODEC_ID_MPEG1VIDEO:
        return VC_MPEG1;
    case AV_CODEC_ID_MPEG2VIDEO:
        return VC_MPEG2;
    case AV_CODEC_ID_MSMPEG4V1:
    case AV_CODEC_ID_MSMPEG4V2:
    case AV_CODEC_ID_MSMPEG4V3:
        return VC_MPEG4;
    case AV_CODEC_ID_RV10:
    case AV_CODEC_ID_RV20:
    case AV_CODEC_ID_RV30:
    case AV_CODEC_ID_RV40:
        return VC_RM_VR;
    case AV_CODEC_ID_MJPEG:
    case AV_CODEC_ID_MJPEGB:
        return VC_JPEG;
    case AV_CODEC_ID_DVVIDEO:
        return VC_DV;
    case AV_CODEC_ID_RAWVIDEO:
        return VC_Uncompressed;
    case AV_CODEC_ID_NONE:
        return VC_UNKNOWN;
    default:
        return VC_Compressed;
    }
}

AudioCodec audioKind(AVCodecID id)
{
    if (id >= AV_CODEC_ID_PCM_S16LE && id < AV_CODEC_ID_ADPCM_IMA_QT) {
        if (id == AV_CODEC_ID_PCM_MULAW)
            return AC_MULAW;
        return id == AV_CODEC_ID_PCM_S16LE ? AC_WAV : AC_LPCM;
    }
    if (id >= AV_CODEC_ID_ADPCM_IMA_QT && id < AV_CODEC_ID_AMR_NB)
        return AC_ADPCM;
    switch (id) {
    case AV_CODEC_ID_MP3:
        return AC_MP3;
    case AV_CODEC_ID_MP1:
        return AC_MPEG1;
    case AV_CODEC_ID_MP2:
        return AC_MPEG2;
    case AV_CODEC_ID_AAC:
    case AV_CODEC_ID_AAC_LATM:
        return AC_AAC;
    case AV_CODEC_ID_AC3:
    case AV_CODEC_ID_EAC3:
        return AC_AC3;
    case AV_CODEC_ID_DTS:
        return AC_DTS;
    case AV_CODEC_ID_RA_144:
    case AV_CODEC_ID_RA_288:
    case AV_CODEC_ID_COOK:
        return AC_REALAUDIO;
    case AV_CODEC_ID_WMAV1:
    case AV_CODEC_ID_WMAV2:
    case AV_CODEC_ID_WMAPRO:
    case AV_CODEC_ID_WMALOSSLESS:
        return AC_WMA;
    case AV_CODEC_ID_VORBIS:
        return AC_VORBIS;
    case AV_CODEC_ID_GSM:
    case AV_CODEC_ID_GSM_MS:
        return AC_GSM;
    case AV_CODEC_ID_AMR_NB:
    case AV_CODEC_ID_AMR_WB:
        return AC_AMR;
    case AV_CODEC_ID_NONE:
        return AC_UNKNOWN;
    default:
        return AC_DS_UNKNOWN;
    }
}

// The engine's own code for a video stream nobody can decode, where one exists.
int32_t missingVideoDecoderCode(AVCodecID id)
{
    switch (id) {
    case AV_CODEC_ID_H264:
        return ENG_NO_H264_DEC;
    case AV_CODEC_ID_MPEG2VIDEO:
        return ENG_NO_MPEG2_VIDDEC;
    case AV_CODEC_ID_MPEG1VIDEO:
        return ENG_NO_MPEG1_VIDDEC;
    case AV_CODEC_ID_DVVIDEO:
        return ENG_NO_DV_DEC;
    case AV_CODEC_ID_MJPEG:
        return ENG_NO_MJPEG_DEC;
    case AV_CODEC_ID_WMV1:
    case AV_CODEC_ID_WMV2:
    case AV_CODEC_ID_WMV3:
    case AV_CODEC_ID_VC1:
        return ENG_NO_WMV_DEC;
    case AV_CODEC_ID_RV10:
    case AV_CODEC_ID_RV20:
    case AV_CODEC_ID_RV30:
    case AV_CODEC_ID_RV40:
        return ENG_NO_REALMEDIA_DEC;
    default:
        return ENG_DECODER;
    }
}

int64_t toMicroseconds(int64_t value, AVRational tb)
{
    return av_rescale_q(value, tb, AVRational{1, 1000000});
}

std::string lowerExtension(const std::u16string& path)
{
    const QString suffix = QFileInfo(QString::fromStdU16String(path)).suffix().toLower();
    return suffix.isEmpty() ? std::string() : "." + suffix.toStdString();
}

} // namespace

MediaProbe::MediaProbe(const std::atomic<bool>* cancel, std::chrono::milliseconds timeLimit)
    : m_cancel(cancel), m_timeLimit(timeLimit)
{
}

int32_t MediaProbe::resultFromAvError(int averror)
{
    switch (averror) {
    case 0:
        return SUCCESS;
    case AVERROR(ENOENT):
    case AVERROR(ENOTDIR):
        return CRTL_FILE_DOES_NOT_EXIST;
    case AVERROR(EACCES):
    case AVERROR(EPERM):
        return CRTL_FILE_PERMISSION_DENIED;
    case AVERROR_EXIT:
        return Aborted;
    case AVERROR_INVALIDDATA:
    case AVERROR_EOF:
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR(EISDIR):
    case LocalInput::kNotRegularFile:
        return ENG_UNSUPPORTED_FILE_TYPE;
    case AVERROR_DECODER_NOT_FOUND:
        return ENG_DECODER;
    case AVERROR_ENCODER_NOT_FOUND:
        return ENG_NO_ENCODER_VID;
    case AVERROR_STREAM_NOT_FOUND:
        return ENG_INVALID_STREAM;
    case AVERROR(ENOSPC):
    case AVERROR(EFBIG):
        return ENG_WRITING_ERROR;
    case AVERROR(EIO):
        return KVMEDIA_ERR;
    default:
        return ENG_ERR;
    }
}

std::string MediaProbe::avErrorText(int averror)
{
    return LocalInput::errorText(averror);
}

int32_t MediaProbe::fail(MediaInfo& info, int32_t code, const std::string& details)
{
    info.video.clear();
    info.audio.clear();
    info.resultCode = code;
    info.details = details;
    return code;
}

int32_t MediaProbe::probe(const std::u16string& path, MediaInfo& info)
{
    info = MediaInfo();
    info.path = path;
    info.extension = lowerExtension(path);
    const std::string local = toLocalPath(path);

    // Answer the common failures from the file system, with precise codes,
    // before libavformat folds them into generic ones.
    struct stat st = {};
    if (path.empty() || ::stat(local.c_str(), &st) != 0) {
        const int err = path.empty() ? ENOENT : errno;
        if (err == EACCES)
            return fail(info, CRTL_FILE_PERMISSION_DENIED, "permission denied");
        return fail(info, CRTL_FILE_DOES_NOT_EXIST, "file does not exist");
    }
    if (!S_ISREG(st.st_mode))
        return fail(info, ENG_UNSUPPORTED_FILE_TYPE, "not a regular file");
    info.fileSize = uint64_t(st.st_size);
    {
        const int fd = ::open(local.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            if (errno == EACCES || errno == EPERM)
                return fail(info, CRTL_FILE_PERMISSION_DENIED, "permission denied");
            return fail(info, KVMEDIA_ERR, std::string("cannot open: ") + std::strerror(errno));
        }
        ::close(fd);
    }
    if (st.st_size == 0)
        return fail(info, ENG_UNSUPPORTED_FILE_TYPE, "empty file");

    Interrupt interrupt;
    interrupt.cancel = m_cancel;
    interrupt.deadline = std::chrono::steady_clock::now() + m_timeLimit;

    InputFormatContextPtr ctx;
    int err = LocalInput::open(local, AVIOInterruptCB{&Interrupt::callback, &interrupt}, ctx);
    if (err < 0) {
        if (interrupt.cancelled)
            return fail(info, Aborted, "analysis cancelled");
        if (interrupt.timedOut)
            return fail(info, ENG_ANALYSIS, "analysis took too long");
        return fail(info, resultFromAvError(err), avErrorText(err));
    }

    err = avformat_find_stream_info(ctx.get(), nullptr);
    if (interrupt.cancelled)
        return fail(info, Aborted, "analysis cancelled");
    int32_t softCode = SUCCESS;
    std::string softDetails;
    if (err < 0) {
        // What the headers said may still be enough to convert.
        softCode = interrupt.timedOut ? ENG_ANALYSIS : ENG_INVALID_STREAM;
        softDetails = "incomplete stream information: " + avErrorText(err);
    }

    info.containerName = ctx->iformat && ctx->iformat->name ? ctx->iformat->name : "";
    if (const AVDictionaryEntry* brand = av_dict_get(ctx->metadata, "major_brand", nullptr, 0))
        info.majorBrand = brand->value;
    if (const AVDictionaryEntry* title = av_dict_get(ctx->metadata, "title", nullptr, 0))
        info.title = QString::fromUtf8(title->value).toStdU16String();
    info.streamCount = int(ctx->nb_streams);
    info.bitrate = ctx->bit_rate > 0 ? ctx->bit_rate : 0;
    if (ctx->start_time != AV_NOPTS_VALUE)
        info.startUs = ctx->start_time;

    int64_t durationUs = ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0 ? ctx->duration : 0;
    bool undecodableVideo = false;
    AVCodecID undecodableId = AV_CODEC_ID_NONE;
    bool undecodableAudio = false;

    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream* s = ctx->streams[i];
        const AVCodecParameters* par = s->codecpar;
        if (!durationUs && s->duration != AV_NOPTS_VALUE && s->duration > 0)
            durationUs = std::max<int64_t>(durationUs, toMicroseconds(s->duration, s->time_base));

        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            // Cover art is a picture, not a track to convert.
            if (s->disposition & AV_DISPOSITION_ATTACHED_PIC)
                continue;
            VideoTrackInfo v;
            v.streamIndex = int(i);
            v.codecId = par->codec_id;
            v.codecName = avcodec_get_name(par->codec_id);
            v.codec = videoKind(par->codec_id);
            v.codedWidth = par->width;
            v.codedHeight = par->height;
            AVRational sar =
                av_guess_sample_aspect_ratio(ctx.get(), const_cast<AVStream*>(s), nullptr);
            if (sar.num > 0 && sar.den > 0) {
                v.sarNum = sar.num;
                v.sarDen = sar.den;
            }
            v.displayWidth =
                int(std::lround(double(v.codedWidth) * v.sarNum / std::max(v.sarDen, 1)));
            v.displayHeight = v.codedHeight;
            AVRational fps = s->avg_frame_rate.num > 0 && s->avg_frame_rate.den > 0
                                 ? s->avg_frame_rate
                                 : s->r_frame_rate;
            if (fps.num > 0 && fps.den > 0) {
                v.fpsNum = fps.num;
                v.fpsDen = fps.den;
            }
            v.bitrate = par->bit_rate > 0 ? par->bit_rate : 0;
            v.profile = par->profile;
            v.level = par->level;
            v.pixelFormat = par->format;
            v.hasDecoder = avcodec_find_decoder(par->codec_id) != nullptr;
            if (!v.hasDecoder) {
                undecodableVideo = true;
                undecodableId = par->codec_id;
                continue;
            }
            if (v.codedWidth <= 0 || v.codedHeight <= 0)
                continue; // no picture size even after probing: nothing we can scale
            info.video.push_back(v);
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            AudioTrackInfo a;
            a.streamIndex = int(i);
            a.codecId = par->codec_id;
            a.codecName = avcodec_get_name(par->codec_id);
            a.codec = audioKind(par->codec_id);
            a.channels = par->ch_layout.nb_channels;
            a.sampleRate = par->sample_rate;
            a.bitrate = par->bit_rate > 0 ? par->bit_rate : 0;
            a.hasDecoder = avcodec_find_decoder(par->codec_id) != nullptr;
            if (!a.hasDecoder || a.channels <= 0 || a.sampleRate <= 0) {
                undecodableAudio = true;
                continue;
            }
            info.audio.push_back(a);
        } else if (par->codec_type == AVMEDIA_TYPE_SUBTITLE) {
            ++info.subtitleCount;
        }
    }
    if (!durationUs && info.bitrate > 0)
        durationUs = int64_t(double(info.fileSize) * 8.0 / double(info.bitrate) * 1e6);
    info.durationUs = uint64_t(std::max<int64_t>(durationUs, 0));

    if (info.video.empty()) {
        if (undecodableVideo)
            return fail(info, missingVideoDecoderCode(undecodableId),
                        std::string("no decoder for video codec ") +
                            avcodec_get_name(undecodableId));
        if (info.audio.empty() && !undecodableAudio && softCode != SUCCESS)
            return fail(info, ENG_UNSUPPORTED_FILE_TYPE, softDetails);
        return fail(info, ENG_INVALID_VID_STREAM, "no usable video stream");
    }
    if (softCode == SUCCESS && undecodableAudio) {
        // The video converts; the audio it cannot read is left out.
        softCode = ENG_INVALID_AUD_STREAM;
        softDetails = "an audio stream cannot be decoded";
    }
    info.resultCode = softCode;
    info.details = softDetails;
    return softCode;
}

} // namespace kvt
