#pragma once

#include "TranscodeEnums.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvt {

// What the analysis learnt about one video stream.
struct VideoTrackInfo
{
    int streamIndex = -1;
    int codecId = 0;       // AVCodecID
    std::string codecName; // libavcodec name
    VideoCodec codec = VC_UNKNOWN;
    int codedWidth = 0;
    int codedHeight = 0;
    int displayWidth = 0; // square-pixel width (SAR applied)
    int displayHeight = 0;
    int sarNum = 1;
    int sarDen = 1;
    int fpsNum = 0; // 0/0 when unknown
    int fpsDen = 0;
    int64_t bitrate = 0;  // bit/s, 0 when unknown
    int profile = -99;    // FF_PROFILE_* or -99 unknown
    int level = -99;      // level_idc, -99 unknown
    int pixelFormat = -1; // AVPixelFormat
    bool hasDecoder = false;
};

// What the analysis learnt about one audio stream.
struct AudioTrackInfo
{
    int streamIndex = -1;
    int codecId = 0;
    std::string codecName;
    AudioCodec codec = AC_UNKNOWN;
    int channels = 0;
    int sampleRate = 0;
    int64_t bitrate = 0;
    bool hasDecoder = false;
};

// The analysis of one file.
struct MediaInfo
{
    std::u16string path; // as given
    uint64_t fileSize = 0;
    std::string containerName; // libavformat demuxer name
    std::string majorBrand;    // ISO base media brand ("isom", "qt  "), if any
    std::string extension;     // lower case, with the dot
    uint64_t durationUs = 0;
    int64_t startUs = 0;
    int64_t bitrate = 0;
    int streamCount = 0;
    int subtitleCount = 0;
    std::u16string title;
    std::vector<VideoTrackInfo> video;
    std::vector<AudioTrackInfo> audio;
    int32_t resultCode = NOT_SET; // code the analysis ended with
    std::string details;          // reason for a non-zero result
};

} // namespace kvt
