#pragma once

#include "MediaInfo.h"

#include <atomic>
#include <string>

// The entry points of libportavomedia.so, the module that holds the FFmpeg readers. Both sides
// are built together, so C++ types cross the boundary; the names stay unmangled for dlsym.
extern "C" {
using MediaModuleProbe = int32_t (*)(const std::u16string* path, kvt::MediaInfo* info,
                                     const std::atomic<bool>* cancel, long long timeLimitMs);
using MediaModuleHasDemuxer = bool (*)(const char* name);
using MediaModuleVersions = void (*)(std::string* text);
}
