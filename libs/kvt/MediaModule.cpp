#include "MediaModule.h"

#include "MediaProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

namespace {

std::string versionText(unsigned v)
{
    return std::to_string(AV_VERSION_MAJOR(v)) + "." + std::to_string(AV_VERSION_MINOR(v)) + "." +
           std::to_string(AV_VERSION_MICRO(v));
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t portavoMediaProbe(const std::u16string* path,
                                                                 kvt::MediaInfo* info,
                                                                 const std::atomic<bool>* cancel,
                                                                 long long timeLimitMs)
{
    kvt::MediaProbe probe(cancel, std::chrono::milliseconds(timeLimitMs));
    return probe.probe(*path, *info);
}

__attribute__((visibility("default"))) bool portavoMediaHasDemuxer(const char* name)
{
    return av_find_input_format(name) != nullptr;
}

__attribute__((visibility("default"))) void portavoMediaVersions(std::string* text)
{
    *text = "libavformat " + versionText(avformat_version()) + ", libavcodec " +
            versionText(avcodec_version()) + ", libavutil " + versionText(avutil_version());
}
}

// Checked against the types the loader expects.
static_assert(std::is_same_v<decltype(&portavoMediaProbe), MediaModuleProbe>);
static_assert(std::is_same_v<decltype(&portavoMediaHasDemuxer), MediaModuleHasDemuxer>);
static_assert(std::is_same_v<decltype(&portavoMediaVersions), MediaModuleVersions>);
