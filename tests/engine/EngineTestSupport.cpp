#include "EngineTestSupport.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <memory>

namespace EngineTestSupport {

QString makeClip(const QString& dir, const QString& fileName, const QStringList& arguments,
                 QString* error)
{
    const QString path = QDir(dir).filePath(fileName);
    QProcess ffmpeg;
    QStringList args = {"-hide_banner", "-loglevel", "error", "-y"};
    args << arguments << path;
    ffmpeg.start("ffmpeg", args);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        if (error)
            *error = QString::fromLocal8Bit(ffmpeg.readAllStandardError());
        return QString();
    }
    return path;
}

QString makeStandardClip(const QString& dir, const QString& fileName, int width, int height,
                         double seconds, const QStringList& codecArgs, bool withAudio, int fps)
{
    QStringList args = {"-f", "lavfi", "-i",
                        QString("testsrc2=size=%1x%2:rate=%3:duration=%4")
                            .arg(width)
                            .arg(height)
                            .arg(fps)
                            .arg(seconds)};
    if (withAudio)
        args << "-f"
             << "lavfi"
             << "-i" << QString("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds);
    args << codecArgs;
    return makeClip(dir, fileName, args);
}

ReadBack readBack(const QString& path)
{
    ReadBack r;
    AVFormatContext* raw = nullptr;
    const QByteArray local = QFile::encodeName(path);
    if (avformat_open_input(&raw, local.constData(), nullptr, nullptr) < 0) {
        r.error = "cannot open";
        return r;
    }
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> ctx(
        raw, [](AVFormatContext* c) { avformat_close_input(&c); });
    if (avformat_find_stream_info(ctx.get(), nullptr) < 0) {
        r.error = "no stream info";
        return r;
    }
    r.opened = true;
    r.formatName = ctx->iformat->name;
    if (ctx->duration != AV_NOPTS_VALUE)
        r.durationSeconds = double(ctx->duration) / AV_TIME_BASE;
    int videoIndex = -1;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream* s = ctx->streams[i];
        const AVCodecParameters* par = s->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            ++r.videoStreams;
            if (videoIndex < 0) {
                videoIndex = int(i);
                r.videoCodec = avcodec_get_name(par->codec_id);
                r.width = par->width;
                r.height = par->height;
                if (s->avg_frame_rate.den > 0)
                    r.frameRate = av_q2d(s->avg_frame_rate);
            }
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            ++r.audioStreams;
            if (r.audioCodec.isEmpty()) {
                r.audioCodec = avcodec_get_name(par->codec_id);
                r.channels = par->ch_layout.nb_channels;
            }
        }
    }
    if (videoIndex < 0)
        return r;

    const AVCodecParameters* par = ctx->streams[videoIndex]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> dec(
        avcodec_alloc_context3(codec), [](AVCodecContext* c) { avcodec_free_context(&c); });
    if (!codec || !dec || avcodec_parameters_to_context(dec.get(), par) < 0 ||
        avcodec_open2(dec.get(), codec, nullptr) < 0) {
        r.error = "no decoder";
        return r;
    }
    std::unique_ptr<AVPacket, void (*)(AVPacket*)> pkt(av_packet_alloc(),
                                                       [](AVPacket* p) { av_packet_free(&p); });
    std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(),
                                                       [](AVFrame* f) { av_frame_free(&f); });
    auto drain = [&]() {
        for (;;) {
            const int rc = avcodec_receive_frame(dec.get(), frame.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return;
            if (rc < 0) {
                ++r.decodeErrors;
                return;
            }
            if (frame->decode_error_flags || (frame->flags & AV_FRAME_FLAG_CORRUPT))
                ++r.decodeErrors;
            ++r.videoFrames;
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(ctx.get(), pkt.get()) >= 0) {
        if (pkt->stream_index == videoIndex) {
            if (avcodec_send_packet(dec.get(), pkt.get()) < 0)
                ++r.decodeErrors;
            drain();
        }
        av_packet_unref(pkt.get());
    }
    avcodec_send_packet(dec.get(), nullptr);
    drain();
    return r;
}

QString enginePath()
{
#ifdef KAVO_ENGINE_PATH
    if (QFileInfo::exists(KAVO_ENGINE_PATH))
        return KAVO_ENGINE_PATH;
#endif
    return QCoreApplication::applicationDirPath() + "/KavoEngine";
}

QString writeFakeEngine(const QString& dir, const QByteArray& scriptBody)
{
    const QString path = QDir(dir).filePath("KavoEngine");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    f.write("#!/bin/sh\n");
    f.write(scriptBody);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace EngineTestSupport
