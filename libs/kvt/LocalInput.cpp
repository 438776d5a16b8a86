#include "LocalInput.h"

#include <cerrno>
#include <sys/stat.h>

namespace kvt {

int LocalInput::open(const std::string& localPath, const AVIOInterruptCB& interrupt,
                     InputFormatContextPtr& out)
{
    out.reset();
    struct stat st = {};
    if (::stat(localPath.c_str(), &st) != 0)
        return AVERROR(errno);
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? AVERROR(EISDIR) : kNotRegularFile;

    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return AVERROR(ENOMEM);
    raw->interrupt_callback = interrupt;
    // Enough for every real container, little for a hostile one.
    raw->probesize = 10 * 1024 * 1024;
    raw->max_analyze_duration = 10 * int64_t(AV_TIME_BASE);
    raw->format_probesize = 1024 * 1024;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    // The "file:" prefix keeps a name with a colon from being read as another protocol.
    const std::string url = "file:" + localPath;
    // avformat_open_input frees the context itself when it fails.
    const int ret = avformat_open_input(&raw, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (ret < 0)
        return ret;
    out.reset(raw);
    return 0;
}

std::string LocalInput::errorText(int averror)
{
    if (averror == kNotRegularFile)
        return "not a regular file";
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, buffer, sizeof buffer);
    return buffer;
}

} // namespace kvt
