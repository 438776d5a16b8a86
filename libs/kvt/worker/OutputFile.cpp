#include "OutputFile.h"

#include "CancelFlag.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kvt::worker {

OutputFile::~OutputFile()
{
    if (!m_committed)
        discard();
}

WorkerError OutputFile::create(const std::string& outputPath, const std::string& formatName)
{
    m_outputPath = outputPath;
    m_tempPath = outputPath + ".temp";
    AVFormatContext* raw = nullptr;
    const int ret =
        avformat_alloc_output_context2(&raw, nullptr, formatName.c_str(), m_tempPath.c_str());
    if (ret < 0 || !raw)
        return WorkerError(ENG_MUX_CREATE_ERR,
                           "cannot create the " + formatName + " muxer: " + err2str(ret));
    m_context.reset(raw);
    m_audioStartsAtZero = formatName == "avi";
    m_context->interrupt_callback.callback = &CancelFlag::interruptCallback;
    return WorkerError();
}

bool OutputFile::needsGlobalHeader() const
{
    return m_context && (m_context->oformat->flags & AVFMT_GLOBALHEADER);
}

AVStream* OutputFile::addStream(const AVCodecContext* encoder)
{
    AVStream* stream = avformat_new_stream(m_context.get(), nullptr);
    if (!stream)
        return nullptr;
    if (avcodec_parameters_from_context(stream->codecpar, encoder) < 0)
        return nullptr;
    stream->time_base = encoder->time_base;
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        stream->avg_frame_rate = encoder->framerate;
        stream->r_frame_rate = encoder->framerate;
        stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
    }
    return stream;
}

WorkerError OutputFile::open()
{
    // Any earlier leftover of a killed run is replaced, never appended to.
    std::remove(m_tempPath.c_str());
    // "file:" keeps a name such as "a:b.kavo" from being taken for a protocol.
    const std::string url = "file:" + m_tempPath;
    int ret = avio_open2(&m_context->pb, url.c_str(), AVIO_FLAG_WRITE,
                         &m_context->interrupt_callback, nullptr);
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::OpenOutput, "cannot create " + m_tempPath);
    m_fileOpen = true;
    ret = avformat_write_header(m_context.get(), nullptr);
    if (ret < 0) {
        if (m_context->pb && m_context->pb->error < 0)
            return WorkerError::fromAv(m_context->pb->error, Phase::WriteOutput,
                                       "cannot write " + m_tempPath);
        return WorkerError(ENG_MUX_CONFIG_ERR, "cannot start the output file: " + err2str(ret));
    }
    m_headerWritten = true;
    return WorkerError();
}

WorkerError OutputFile::writePacket(AVPacket* packet, AVRational encoderTimeBase,
                                    const AVStream* stream)
{
    packet->stream_index = stream->index;
    if (m_audioStartsAtZero && stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
        // MP3's encoder delay gives the first packet a negative time. Left
        // alone, the muxer would shift every stream by it, and in AVI's
        // whole-frame video clock that leaves an empty first frame; moving
        // the audio alone costs the device 25 ms of lip sync at most.
        if (m_audioShift == AV_NOPTS_VALUE)
            m_audioShift = packet->dts != AV_NOPTS_VALUE && packet->dts < 0 ? -packet->dts : 0;
        if (packet->pts != AV_NOPTS_VALUE)
            packet->pts += m_audioShift;
        if (packet->dts != AV_NOPTS_VALUE)
            packet->dts += m_audioShift;
    }
    av_packet_rescale_ts(packet, encoderTimeBase, stream->time_base);
    const int ret = av_interleaved_write_frame(m_context.get(), packet);
    if (ret < 0) {
        const int ioError = m_context->pb && m_context->pb->error < 0 ? m_context->pb->error : ret;
        return WorkerError::fromAv(ioError, Phase::WriteOutput, "cannot write " + m_tempPath);
    }
    return WorkerError();
}

WorkerError OutputFile::closeFile(const std::string& what)
{
    if (!m_fileOpen)
        return WorkerError();
    m_fileOpen = false;
    // avio_closep flushes the last buffer: a full disk can show up only here.
    const int ret = avio_closep(&m_context->pb);
    if (ret < 0)
        return WorkerError::fromAv(ret, Phase::WriteOutput, what);
    return WorkerError();
}

WorkerError OutputFile::commit()
{
    int ret = av_write_trailer(m_context.get());
    if (ret < 0) {
        const int ioError = m_context->pb && m_context->pb->error < 0 ? m_context->pb->error : ret;
        return WorkerError::fromAv(ioError, Phase::WriteOutput, "cannot finish " + m_tempPath);
    }
    m_headerWritten = false;
    if (WorkerError error = closeFile("cannot finish " + m_tempPath); error.isError())
        return error;
    if (std::rename(m_tempPath.c_str(), m_outputPath.c_str()) != 0) {
        const int err = errno;
        return WorkerError(
            err == EACCES || err == EPERM ? CRTL_FILE_PERMISSION_DENIED : ENG_WRITING_ERROR,
            "cannot rename " + m_tempPath + " to " + m_outputPath + ": " + std::strerror(err));
    }
    m_committed = true;
    return WorkerError();
}

void OutputFile::discard()
{
    if (m_committed)
        return;
    if (m_fileOpen) {
        m_fileOpen = false;
        avio_closep(&m_context->pb);
    }
    if (!m_tempPath.empty())
        std::remove(m_tempPath.c_str());
}

} // namespace kvt::worker
