#pragma once

#include "FfmpegHandles.h"
#include "WorkerError.h"

#include <string>

namespace kvt::worker {

// The muxer writing <output>.temp. The temporary file becomes <output> only
// through commit(); on every other path (error, cancel, destruction) it is
// removed, so a half-written file never looks like a finished one.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the muxer for the libavformat format name; nothing is written yet.
    WorkerError create(const std::string& outputPath, const std::string& formatName);

    // True when encoders must put their headers in extradata.
    bool needsGlobalHeader() const;

    // Adds a stream described by an opened encoder; returns nullptr on failure.
    AVStream* addStream(const AVCodecContext* encoder);

    // Opens <output>.temp and writes the container header.
    WorkerError open();

    // Rescales the packet from the encoder's time base and interleaves it.
    WorkerError writePacket(AVPacket* packet, AVRational encoderTimeBase, const AVStream* stream);

    // Writes the trailer, closes the file and renames it to the output path.
    WorkerError commit();

    // Closes and removes the temporary file. Safe to call more than once.
    void discard();

    AVFormatContext* context() const { return m_context.get(); }
    const std::string& tempPath() const { return m_tempPath; }

private:
    WorkerError closeFile(const std::string& what);

    OutputFormatContextPtr m_context;
    std::string m_outputPath;
    std::string m_tempPath;
    bool m_fileOpen = false;
    bool m_headerWritten = false;
    bool m_committed = false;
    // AVI has no way to say that audio starts before zero; see writePacket().
    bool m_audioStartsAtZero = false;
    int64_t m_audioShift = AV_NOPTS_VALUE; // in the encoder's time base
};

} // namespace kvt::worker
