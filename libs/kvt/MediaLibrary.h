#pragma once

#include "MediaInfo.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace kvt {

// The FFmpeg readers of the wizard's own process (analysis, the demuxers at hand, library
// versions), in a module of their own that is loaded on first use: FFmpeg brings about a
// hundred libraries, and the window must not wait for them.
class MediaLibrary
{
public:
    // Analyses a file as MediaProbe does. Without the module, info names why and the result is
    // ENG_RES_NOTFOUND_ERR.
    static int32_t probe(const std::u16string& path, MediaInfo& info,
                         const std::atomic<bool>* cancel = nullptr,
                         std::chrono::milliseconds timeLimit = std::chrono::seconds(20));
    // Whether libavformat has the demuxer; true for every name when the module is missing, so
    // the files are offered and their analysis says what is wrong.
    static bool hasDemuxer(const char* name);
    // "libavformat X.Y.Z, libavcodec ..., libavutil ...", or why the module is missing.
    static std::string libraryVersions();
    // Loads the module now; false with the reason when it cannot be loaded.
    static bool load(std::string* error = nullptr);
    // The module's file: beside the library or program that holds this code.
    static std::string modulePath();
};

} // namespace kvt
