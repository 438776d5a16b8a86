#pragma once

#include "FfmpegPtr.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

#include <string>

namespace kvt {

using InputFormatContextPtr = FfmpegPtr<AVFormatContext, avformat_close_input>;

// Opens a source for demuxing, the same way for the analysis and for the conversion worker:
// only a regular local file (a named pipe would block the open for ever, a device never ends),
// read through the file protocol alone (a source, or a playlist inside it, never makes FFmpeg
// reach the network), with bounded probing so a hostile file cannot make analysis read for ever.
class LocalInput
{
public:
    // Returned by open() for a path that is not a regular file.
    static constexpr int kNotRegularFile = FFERRTAG('N', 'R', 'E', 'G');

    // Opens localPath (the kernel's encoding); interrupt is polled by every blocking read.
    // Returns 0 with out set, kNotRegularFile, or the AVERROR of the open.
    static int open(const std::string& localPath, const AVIOInterruptCB& interrupt,
                    InputFormatContextPtr& out);

    // A person's words for an error of open() or of any FFmpeg call.
    static std::string errorText(int averror);
};

} // namespace kvt
