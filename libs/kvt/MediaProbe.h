#pragma once

#include "MediaInfo.h"

#include <atomic>
#include <chrono>
#include <string>

namespace kvt {

// Analyses a file with libavformat. Reading is bounded: the probe sizes are
// limited and an interrupt callback stops the analysis on cancel or after a
// time limit, so a hostile or stalled file cannot hang the caller.
class MediaProbe
{
public:
    explicit MediaProbe(const std::atomic<bool>* cancel = nullptr,
                        std::chrono::milliseconds timeLimit = std::chrono::seconds(20));

    // Fills info and returns its resultCode: 0, or an engine code. Codes for
    // which the file can still be converted leave info.video non-empty; hard
    // failures (missing, unreadable, not a video) leave it empty.
    int32_t probe(const std::u16string& path, MediaInfo& info);

    // The engine code for a libavformat/libavcodec error.
    static int32_t resultFromAvError(int averror);
    static std::string avErrorText(int averror);

private:
    int32_t fail(MediaInfo& info, int32_t code, const std::string& details);

    const std::atomic<bool>* m_cancel;
    std::chrono::milliseconds m_timeLimit;
};

} // namespace kvt
