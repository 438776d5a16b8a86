#pragma once

#include "FfmpegHandles.h"
#include "OutputFile.h"
#include "WorkerError.h"

#include <chrono>
#include <memory>
#include <string>

namespace kvt {
struct DeviceProfileSpec;
}

namespace kvt::worker {

class AudioStage;
class ProgressReporter;
class VideoStage;

// One conversion: demux the source, run its video (and first audio) stream
// through their stages, mux into <output>.temp and rename it on success.
class Transcoder
{
public:
    Transcoder(std::string input, std::string output, const DeviceProfileSpec& device,
               ProgressReporter& reporter);
    ~Transcoder();
    Transcoder(const Transcoder&) = delete;
    Transcoder& operator=(const Transcoder&) = delete;

    // Explicit output size from the caller (0 x 0 = fit the source).
    void setRequestedSize(int width, int height);

    // Runs the whole conversion. On any failure or cancel the temporary
    // output is already removed when this returns.
    WorkerError run();

private:
    WorkerError openInput();
    WorkerError openStages();
    WorkerError convert();
    WorkerError checkResult() const;
    void followDiscontinuity(const AVPacket* packet, AVRational timeBase);
    void noteProgress(const AVPacket* packet);

    std::string m_inputPath;
    std::string m_outputPath;
    const DeviceProfileSpec& m_device;
    ProgressReporter& m_reporter;
    int m_requestedWidth = 0;
    int m_requestedHeight = 0;

    // Polled by the source's interrupt callback; lives as long as the source.
    std::chrono::steady_clock::time_point m_openDeadline =
        std::chrono::steady_clock::time_point::max();
    InputFormatContextPtr m_input;
    OutputFile m_output;
    std::unique_ptr<VideoStage> m_video;
    std::unique_ptr<AudioStage> m_audio;
    int64_t m_startTime = 0;  // microseconds, subtracted so the output starts at zero
    int64_t m_durationUs = 0; // 0 when the container does not say
    int64_t m_processedUs = 0;
    int64_t m_lastDtsUs = AV_NOPTS_VALUE; // for time jumps in transport streams
    bool m_timeJumped = false;            // the container's duration no longer applies
};

} // namespace kvt::worker
