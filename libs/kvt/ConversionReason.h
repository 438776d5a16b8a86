#pragma once

namespace kvt {

// Why a file must be converted for a device profile: the first thing that does not fit.
enum ConversionReason : int
{
    CR_NONE = 0,            // plays as it is
    CR_ANALYSIS = 1,        // part of the file could not be read
    CR_TRACKS = 2,          // not exactly one video track
    CR_CONTAINER = 3,       // file type
    CR_VIDEO_CODEC = 4,     // video format
    CR_PICTURE_SIZE = 5,    // picture too large or of odd size
    CR_FRAME_RATE = 6,      // frame rate unknown or too high
    CR_PIXEL_FORMAT = 7,    // not 8-bit 4:2:0 colour
    CR_VIDEO_BITRATE = 8,   // video bit rate too high
    CR_VIDEO_PROFILE = 9,   // H.264 profile or level
    CR_AUDIO_CODEC = 10,    // audio format
    CR_AUDIO_CHANNELS = 11, // too many audio channels
    CR_AUDIO_BITRATE = 12,  // audio bit rate too high
};

} // namespace kvt
