#include "Transcoder.h"

#include "AudioStage.h"
#include "CancelFlag.h"
#include "ProfileTable.h"
#include "ProgressReporter.h"
#include "VideoStage.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace kvt::worker {

namespace {

// As long as the analysis may take: more only for a source that stalls or never ends.
constexpr std::chrono::seconds kOpenTimeLimit(20);

bool samePath(const std::string& a, const std::string& b)
{
    char* realA = realpath(a.c_str(), nullptr);
    char* realB = realpath(b.c_str(), nullptr);
    const bool same = realA && realB && std::string(realA) == realB;
    std::free(realA);
    std::free(realB);
    return same;
}

} // namespace

Transcoder::Transcoder(std::string input, std::string output, const DeviceProfileSpec& device,
                       ProgressReporter& reporter)
    : m_inputPath(std::move(input)), m_outputPath(std::move(output)), m_device(device),
      m_reporter(reporter)
{
}

Transcoder::~Transcoder() = default;

void Transcoder::setRequestedSize(int width, int height)
{
    m_requestedWidth = width;
    m_requestedHeight = height;
}

WorkerError Transcoder::run()
{
    WorkerError error;
    if (samePath(m_inputPath, m_outputPath))
        error = WorkerError(ENG_INVALID_INPUT_ERR, "the output would replace the source");
    if (!error.isError())
        error = openInput();
    if (!error.isError())
        error = openStages();
    if (!error.isError())
        error = convert();
    if (!error.isError())
        error = checkResult();
    if (!error.isError() && CancelFlag::isCancelled())
        error = WorkerError(Aborted, "cancelled");
    if (!error.isError())
        error = m_output.commit();
    if (error.isError()) {
        // Whatever failed while a cancel was pending is the cancel's doing.
        if (CancelFlag::isCancelled())
            error = WorkerError(Aborted, "cancelled");
        m_output.discard();
        return error;
    }
    m_reporter.done(m_processedUs);
    return error;
}

WorkerError Transcoder::openInput()
{
    // Opening and analysing a source is bounded in time; converting it is not.
    m_openDeadline = std::chrono::steady_clock::now() + kOpenTimeLimit;
    int ret = LocalInput::open(
        m_inputPath, AVIOInterruptCB{&CancelFlag::interruptCallback, &m_openDeadline}, m_input);
    if (ret >= 0)
        ret = avformat_find_stream_info(m_input.get(), nullptr);
    const bool timedOut = ret == AVERROR_EXIT && !CancelFlag::isCancelled() &&
                          std::chrono::steady_clock::now() > m_openDeadline;
    m_openDeadline = std::chrono::steady_clock::time_point::max();
    if (timedOut)
        return WorkerError(ENG_ANALYSIS, "opening " + m_inputPath + " took too long");
    if (ret < 0 && !m_input)
        return WorkerError::fromAv(ret, Phase::OpenInput, "cannot open " + m_inputPath);
    if (ret < 0)
        return WorkerError::fromAv(ret == AVERROR_EXIT ? ret : AVERROR(EIO), Phase::OpenInput,
                                   "cannot read the streams of " + m_inputPath);
    m_startTime = m_input->start_time == AV_NOPTS_VALUE ? 0 : m_input->start_time;
    m_durationUs = m_input->duration > 0 ? m_input->duration : 0;
    m_reporter.duration(m_durationUs);
    return WorkerError();
}

WorkerError Transcoder::openStages()
{
    AVFormatContext* in = m_input.get();
    const int videoIndex = av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    // A cover picture in a music file is not a video.
    if (videoIndex < 0 || (in->streams[videoIndex]->disposition & AV_DISPOSITION_ATTACHED_PIC))
        return WorkerError(ENG_INVALID_VID_STREAM, m_inputPath + " has no video stream");
    const int audioIndex = av_find_best_stream(in, AVMEDIA_TYPE_AUDIO, -1, videoIndex, nullptr, 0);
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        if (int(i) != videoIndex && int(i) != audioIndex)
            in->streams[i]->discard = AVDISCARD_ALL;
    }

    if (WorkerError error = m_output.create(m_outputPath, m_device.containerFormat);
        error.isError())
        return error;
    m_video = std::make_unique<VideoStage>(m_output);
    if (WorkerError error =
            m_video->open(in, videoIndex, m_device, m_requestedWidth, m_requestedHeight);
        error.isError())
        return error;
    if (audioIndex >= 0) {
        m_audio = std::make_unique<AudioStage>(m_output);
        if (WorkerError error = m_audio->open(in, audioIndex, m_device); error.isError())
            return error;
    }
    // The output starts where the picture starts: frame times stay on the
    // frame grid (an offset of half a frame would make the rate filter drop
    // one), and audio before the first picture is trimmed, keeping sync.
    const AVStream* videoStream = in->streams[videoIndex];
    if (videoStream->start_time != AV_NOPTS_VALUE)
        m_startTime = av_rescale_q(videoStream->start_time, videoStream->time_base, AV_TIME_BASE_Q);
    // Diagnostics for the engine's log; stdout carries only the protocol.
    std::fprintf(stderr, "KavoEngine: %s\n", m_video->describe().c_str());
    if (m_audio)
        std::fprintf(stderr, "KavoEngine: %s\n", m_audio->describe().c_str());
    return m_output.open();
}

void Transcoder::followDiscontinuity(const AVPacket* packet, AVRational timeBase)
{
    // Transport streams (joined recordings, a clock that wrapped) may jump
    // in time. Followed blindly, a jump forward would make the constant-rate
    // output repeat one picture for the whole gap and a jump back would drop
    // everything after it; so the clock is re-joined, for all streams alike.
    if (!(m_input->iformat->flags & AVFMT_TS_DISCONT) || packet->dts == AV_NOPTS_VALUE)
        return;
    constexpr int64_t kJumpUs = 10 * AV_TIME_BASE;
    const int64_t dtsUs = av_rescale_q(packet->dts, timeBase, AV_TIME_BASE_Q) - m_startTime;
    if (m_lastDtsUs != AV_NOPTS_VALUE) {
        const int64_t delta = dtsUs - m_lastDtsUs;
        if (delta > kJumpUs || delta < -kJumpUs) {
            const int64_t stepUs =
                packet->duration > 0 ? av_rescale_q(packet->duration, timeBase, AV_TIME_BASE_Q) : 0;
            m_startTime += delta - stepUs;
            m_timeJumped = true;
        }
    }
    m_lastDtsUs = av_rescale_q(packet->dts, timeBase, AV_TIME_BASE_Q) - m_startTime;
}

void Transcoder::noteProgress(const AVPacket* packet)
{
    const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (ts != AV_NOPTS_VALUE) {
        // A packet covers its whole duration: at 0.1 fps the last picture is a tenth of the film.
        const int64_t end = ts + std::max<int64_t>(packet->duration, 0);
        const AVRational tb = m_input->streams[packet->stream_index]->time_base;
        m_processedUs = std::max(m_processedUs, av_rescale_q(end, tb, AV_TIME_BASE_Q));
    }
    double percent = 0.0;
    if (m_durationUs > 0 && !m_timeJumped) {
        percent = 100.0 * double(m_processedUs) / double(m_durationUs);
    } else if (m_input->pb) {
        // No duration (some raw or live-recorded streams): the read position says it.
        const int64_t size = avio_size(m_input->pb);
        if (size > 0)
            percent = 100.0 * double(avio_tell(m_input->pb)) / double(size);
    }
    m_reporter.progress(percent, m_processedUs);
}

WorkerError Transcoder::convert()
{
    PacketPtr packet = makePacket();
    if (!packet)
        return WorkerError(ENG_ERR, "out of memory");
    for (;;) {
        if (CancelFlag::isCancelled())
            return WorkerError(Aborted, "cancelled");
        const int ret = av_read_frame(m_input.get(), packet.get());
        if (ret == AVERROR_EXIT)
            return WorkerError(Aborted, "cancelled");
        if (ret < 0) {
            // The end, or a read failure: both end the source; checkResult()
            // decides whether what was read is the whole file.
            break;
        }
        StreamStage* stage = nullptr;
        if (packet->stream_index == m_video->inputIndex())
            stage = m_video.get();
        else if (m_audio && packet->stream_index == m_audio->inputIndex())
            stage = m_audio.get();
        if (stage) {
            const AVRational tb = m_input->streams[packet->stream_index]->time_base;
            followDiscontinuity(packet.get(), tb);
            const int64_t offset = av_rescale_q(m_startTime, AV_TIME_BASE_Q, tb);
            if (packet->pts != AV_NOPTS_VALUE)
                packet->pts -= offset;
            if (packet->dts != AV_NOPTS_VALUE)
                packet->dts -= offset;
            noteProgress(packet.get());
            WorkerError error = stage->sendPacket(packet.get());
            if (error.isError())
                return error;
        }
        av_packet_unref(packet.get());
    }
    if (WorkerError error = m_video->finish(); error.isError())
        return error;
    if (m_audio) {
        if (WorkerError error = m_audio->finish(); error.isError())
            return error;
    }
    return WorkerError();
}

WorkerError Transcoder::checkResult() const
{
    if (m_video->framesDecoded() == 0 || m_video->packetsWritten() == 0)
        return WorkerError(ENG_DECODER, "no picture of " + m_inputPath + " could be decoded");
    if (m_video->decodeErrors() > m_video->framesDecoded())
        return WorkerError(ENG_DECODER, "the video of " + m_inputPath + " is too damaged (" +
                                            std::to_string(m_video->decodeErrors()) +
                                            " bad packets)");
    if (m_audio && m_audio->framesDecoded() == 0 && m_audio->decodeErrors() > 0)
        return WorkerError(ENG_INVALID_AUD_STREAM,
                           "the audio of " + m_inputPath + " could not be decoded");
    // A container that states its length and ends well before it was cut
    // off; a length guessed from the bit rate is only trusted when the
    // difference is gross (a garbled tail the demuxer cannot read).
    if (m_durationUs > 0 && !m_timeJumped) {
        const bool statedLength =
            m_input->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE;
        const int64_t expected = statedLength ? m_durationUs * 9 / 10 - 500000 : m_durationUs / 2;
        if (m_processedUs < expected)
            return WorkerError(ENG_INVALID_STREAM,
                               m_inputPath + " ends at " + std::to_string(m_processedUs / 1000) +
                                   " ms of " + std::to_string(m_durationUs / 1000) +
                                   " ms: the file is truncated or damaged");
    }
    return WorkerError();
}

} // namespace kvt::worker
