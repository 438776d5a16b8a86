#include "ProfileCompatibility.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/pixfmt.h>
}

#include <cstring>

namespace kvt {

namespace {

bool setReason(ProfileCompatibility::Misfit* out, ConversionReason code, const std::string& text)
{
    if (out) {
        out->code = code;
        out->text = text;
    }
    return false;
}

// H.264 profiles a decoder of the given highest profile plays.
bool h264ProfileFits(int sourceProfile, int highestAccepted)
{
    const int idc = sourceProfile & 0xff; // drop the constraint flags
    switch (idc) {
    case FF_PROFILE_H264_BASELINE: // constrained baseline shares the idc
        // Only constrained baseline is a subset of Main and High.
        return (sourceProfile & FF_PROFILE_H264_CONSTRAINED) != 0 ||
               highestAccepted == FF_PROFILE_H264_BASELINE;
    case FF_PROFILE_H264_MAIN:
        return highestAccepted >= FF_PROFILE_H264_MAIN;
    case FF_PROFILE_H264_HIGH:
        return highestAccepted >= FF_PROFILE_H264_HIGH;
    default:
        return false; // High 10, 4:2:2, 4:4:4, extended: not for devices
    }
}

} // namespace

bool ProfileCompatibility::containerFits(const MediaInfo& info, const DeviceProfileSpec& spec)
{
    const std::string& c = info.containerName;
    if (std::strcmp(spec.containerFormat, "avi") == 0)
        return c == "avi";
    if (std::strcmp(spec.containerFormat, "matroska") == 0)
        return c == "matroska,webm" && info.extension != ".webm";
    if (std::strcmp(spec.containerFormat, "mp4") == 0) {
        // libavformat reads QuickTime and MP4 with one demuxer; tell them apart
        // by the brand and the name.
        if (c.rfind("mov,mp4", 0) != 0)
            return false;
        if (info.majorBrand.rfind("qt", 0) == 0)
            return false;
        return info.extension == ".mp4" || info.extension == ".m4v";
    }
    return false;
}

bool ProfileCompatibility::videoFits(const MediaInfo& info, const VideoTrackInfo& v,
                                     const DeviceProfileSpec& spec, Misfit& reason)
{
    if (v.codec != spec.videoCodec) {
        reason.code = CR_VIDEO_CODEC;
        reason.text = "video codec " + v.codecName + " is not " + spec.videoCodecName;
        return false;
    }
    if (v.codedWidth > spec.maxWidth || v.codedHeight > spec.maxHeight) {
        reason.code = CR_PICTURE_SIZE;
        reason.text = "picture " + std::to_string(v.codedWidth) + "x" +
                      std::to_string(v.codedHeight) + " is larger than " +
                      std::to_string(spec.maxWidth) + "x" + std::to_string(spec.maxHeight);
        return false;
    }
    if (v.codedWidth % 2 || v.codedHeight % 2) {
        reason.code = CR_PICTURE_SIZE;
        reason.text = "odd picture size";
        return false;
    }
    if (v.fpsNum <= 0 || v.fpsDen <= 0 || double(v.fpsNum) / v.fpsDen > spec.maxFps + 0.01) {
        reason.code = CR_FRAME_RATE;
        reason.text = "frame rate unknown or above " + std::to_string(spec.maxFps);
        return false;
    }
    if (v.pixelFormat != AV_PIX_FMT_YUV420P && v.pixelFormat != AV_PIX_FMT_YUVJ420P) {
        reason.code = CR_PIXEL_FORMAT;
        reason.text = "pixel format is not 8-bit 4:2:0";
        return false;
    }
    // Stream bit rates are often missing (AVI); the overall rate minus the
    // audio is then the best figure we have.
    int64_t videoRate = v.bitrate;
    if (videoRate <= 0 && info.bitrate > 0) {
        videoRate = info.bitrate;
        for (const AudioTrackInfo& a : info.audio)
            videoRate -= a.bitrate;
    }
    if (videoRate > spec.videoBitrateMax) {
        reason.code = CR_VIDEO_BITRATE;
        reason.text = "video bit rate " + std::to_string(videoRate) + " above " +
                      std::to_string(spec.videoBitrateMax);
        return false;
    }
    if (spec.videoCodec == VC_H264) {
        if (!h264ProfileFits(v.profile, spec.h264Profile)) {
            reason.code = CR_VIDEO_PROFILE;
            reason.text = "H.264 profile " + std::to_string(v.profile) + " not supported";
            return false;
        }
        if (v.level <= 0 || v.level > spec.h264MaxLevel) {
            reason.code = CR_VIDEO_PROFILE;
            reason.text = "H.264 level " + std::to_string(v.level) + " not supported";
            return false;
        }
    }
    return true;
}

bool ProfileCompatibility::audioFits(const AudioTrackInfo& a, const DeviceProfileSpec& spec,
                                     Misfit& reason)
{
    if (!profileAcceptsAudio(spec, a.codec)) {
        reason.code = CR_AUDIO_CODEC;
        reason.text = "audio codec " + a.codecName + " not accepted";
        return false;
    }
    // AC-3 carries surround to the amplifier; everything else must be stereo.
    const int maxChannels = a.codec == AC_AC3 ? 6 : spec.audioChannels;
    if (a.channels > maxChannels) {
        reason.code = CR_AUDIO_CHANNELS;
        reason.text = "audio has " + std::to_string(a.channels) + " channels";
        return false;
    }
    if (spec.audioBitrateMax > 0 && a.bitrate > spec.audioBitrateMax) {
        reason.code = CR_AUDIO_BITRATE;
        reason.text = "audio bit rate " + std::to_string(a.bitrate) + " too high";
        return false;
    }
    return true;
}

bool ProfileCompatibility::isCompatible(const MediaInfo& info, const DeviceProfileSpec& spec,
                                        std::string* reason)
{
    Misfit misfit;
    const bool fits = check(info, spec, &misfit);
    if (reason)
        *reason = misfit.text;
    return fits;
}

bool ProfileCompatibility::check(const MediaInfo& info, const DeviceProfileSpec& spec,
                                 Misfit* misfit)
{
    // A file whose analysis had to leave something out is never used unchanged.
    if (info.resultCode != SUCCESS)
        return setReason(misfit, CR_ANALYSIS, "analysis incomplete: " + info.details);
    if (info.video.size() != 1)
        return setReason(misfit, CR_TRACKS, "needs exactly one video track");
    if (!containerFits(info, spec))
        return setReason(misfit, CR_CONTAINER,
                         "container " + info.containerName + " is not " + spec.containerFormat);
    Misfit why;
    if (!videoFits(info, info.video.front(), spec, why))
        return setReason(misfit, why.code, why.text);
    for (const AudioTrackInfo& a : info.audio) {
        if (!audioFits(a, spec, why))
            return setReason(misfit, why.code, why.text);
    }
    if (misfit)
        *misfit = Misfit();
    return true;
}

} // namespace kvt
