#include "TranscodeEnumNames.h"

#include "TranscodeEnums.h"

#include <QTime>

#include <algorithm>
#include <iterator>

namespace kvt {

namespace {

struct NameEntry
{
    int value;
    const char* name;
};

const char kInvalid[] = "Invalid value";

template <size_t N> const char* lookup(const NameEntry (&table)[N], int value)
{
    auto it = std::find_if(std::begin(table), std::end(table),
                           [value](const NameEntry& e) { return e.value == value; });
    return it == std::end(table) ? kInvalid : it->name;
}

// clang-format off
const NameEntry kDeviceProfileName[] = {
    {0, "DP_Mobile"},
    {1, "DP_HD1080"},
    {2, "DP_HD720"},
    {3, "DP_HomeTheater"},
    {4, "DP_KavoPlusHD"},
    {5, "DP_iPhoneMP4H264"},
    {6, "DP_iPadMP4H264"},
    {7, "_DP_count_"},
};
// clang-format on

// clang-format off
const NameEntry kVideoCodecName[] = {
    {-1, "VC_UNKNOWN"},
    {0, "VC_ASP"},
    {1, "VC_H264"},
    {2, "VC_H263"},
    {3, "VC_VC1"},
    {4, "VC_KAVO"},
    {5, "VC_WMV"},
    {6, "VC_MPEG1"},
    {7, "VC_MPEG2"},
    {8, "VC_MPEG4"},
    {9, "VC_RM_VR"},
    {10, "VC_JPEG"},
    {11, "VC_DV"},
    {12, "VC_DVCPRO"},
    {13, "VC_Compressed"},
    {14, "VC_Uncompressed"},
    {15, "VC_Empty"},
    {16, "_VC_count_"},
};
// clang-format on

// clang-format off
const NameEntry kAudioCodecName[] = {
    {-1, "AC_UNKNOWN"},
    {0, "AC_WAV"},
    {1, "AC_MP3"},
    {2, "AC_AAC"},
    {3, "AC_AC3"},
    {4, "AC_DTS"},
    {5, "AC_REALAUDIO"},
    {6, "AC_WMA"},
    {7, "AC_VORBIS"},
    {8, "AC_ADPCM"},
    {9, "AC_LPCM"},
    {10, "AC_AES3"},
    {11, "AC_MULAW"},
    {12, "AC_GSM"},
    {13, "AC_MPEG1"},
    {14, "AC_MPEG2"},
    {15, "AC_MPEG4"},
    {16, "AC_AMR"},
    {17, "AC_AIFF"},
    {18, "AC_DS_UNKNOWN"},
    {19, "_AC_count_"},
};
// clang-format on

// clang-format off
const NameEntry kSubtitleCodecName[] = {
    {-1, "SC_UNKNOWN"},
    {0, "SC_XSUB"},
    {1, "SC_SSA"},
    {2, "SC_TEXT"},
    {3, "_SC_count_"},
};
// clang-format on

// clang-format off
const NameEntry kResultCodeName[] = {
    {-1, "NOT_SET"},
    {-1000, "NotAvailable"},
    {-999, "Working"},
    {-998, "Aborted"},
    {-997, "InvalidArgument"},
    {0, "SUCCESS"},
    {1, "PENDING"},
    {2, "ENG_ERR"},
    {3, "KVMEDIA_ERR"},
    {4, "METADATA_ERR"},
    {5, "CRTL_FILE_DOES_NOT_EXIST"},
    {6, "CTRL_DUPLICATE_FILE"},
    {8, "ENG_NOTIMPL_ERR"},
    {9, "ENG_RES_NOTFOUND_ERR"},
    {10, "ENG_OUTOFRANGE_ERR"},
    {11, "ENG_PROPERTYVALUE_NOTFOUND_ERR"},
    {12, "ENG_INVALID_TYPE_ERR"},
    {13, "ENG_INVALID_INPUT_ERR"},
    {15, "ENG_MOVIE_INIT_ERR"},
    {16, "ENG_MOVIE_UNINIT_ERR"},
    {17, "ENG_ANALYSIS"},
    {18, "ENG_XSUBDLL_NOTFOUND_ERR"},
    {19, "ENG_XSUB_INVALIDDLL_ERR"},
    {20, "ENG_XSUB_TRANSCODE_ERR"},
    {21, "ENG_UNSUPPORTED_FILE_TYPE"},
    {22, "ENG_INVALID_STREAM"},
    {23, "ENG_INVALID_VID_STREAM"},
    {24, "ENG_INVALID_AUD_STREAM"},
    {25, "ENG_NO_VAR_FRAME_RATE"},
    {27, "ENG_NOT_COMPATIBLE"},
    {28, "ENG_DECODER"},
    {30, "ENG_NO_DV_DEC"},
    {31, "ENG_NO_HUFFY_DEC"},
    {32, "ENG_NO_XVID_DEC"},
    {33, "ENG_NO_KAVO_DEC"},
    {34, "ENG_NO_MPEG1_VIDDEC"},
    {35, "ENG_NO_WMV_DEC"},
    {36, "ENG_NO_MSMPEG4_DEC"},
    {37, "ENG_NO_ASF_DEC"},
    {38, "ENG_NO_MPEG2_VIDDEC"},
    {39, "ENG_NO_MJPEG_DEC"},
    {40, "ENG_NO_ADPCM_AUDDEC"},
    {41, "ENG_NO_LPCM_DEC"},
    {42, "ENG_NO_GSM_AUDDEC"},
    {43, "ENG_NO_MPEG1_AUDDEC"},
    {44, "ENG_NO_MPEG2_AUDDEC"},
    {45, "ENG_NO_WMA_AUDDEC"},
    {46, "ENG_NO_ULAW_AUDDEC"},
    {47, "ENG_NO_AAC_AUDDEC"},
    {48, "ENG_NO_MP3_DEC"},
    {49, "ENG_NO_AC3_DEC_DO_PASSTHROUGH"},
    {50, "ENG_NO_AC3_DEC"},
    {51, "ENG_NO_QUICKTIME_DEC"},
    {52, "ENG_NO_H264_DEC"},
    {53, "ENG_NO_KAVO_ENC"},
    {54, "ENG_NO_MP3_ENC"},
    {55, "ENG_NO_AAC_ENC"},
    {56, "ENG_NO_ENCODER_AUD"},
    {57, "ENG_NO_ENCODER_VID"},
    {58, "ENG_NO_H264_ENC"},
    {59, "ENG_DEC_ADD_ERR"},
    {60, "ENG_DECODER_CONN_ERR"},
    {61, "ENG_KAVO_DEC_CONFIG_ERR"},
    {62, "ENG_MPEG2_DEC_CONN_ERR"},
    {63, "ENG_AC3_DEC_CONN_ERR"},
    {64, "ENG_AAC_AUDDEC_ADD_ERR"},
    {65, "ENG_AAC_AUDDEC_CONN_ERR"},
    {66, "ENG_AAC_AUDDEC_CONFIG_ERR"},
    {67, "ENG_H264_VIDDEC_ADD_ERR"},
    {68, "ENG_H264_VIDDEC_CONN_ERR"},
    {69, "ENG_H264_VIDDEC_CONFIG_ERR"},
    {70, "ENG_ENC_CONN_ERR"},
    {71, "ENG_KAVO_ENC_ADD_ERR"},
    {72, "ENG_KAVO_ENC_CONN_ERR"},
    {73, "ENG_KAVO_ENC_CONFIG_ERR"},
    {74, "ENG_KAVO2_ENC_ADD_ERR"},
    {75, "ENG_KAVO2_ENC_CONN_ERR"},
    {76, "ENG_KAVO2_ENC_CONFIG_ERR"},
    {77, "ENG_MP3_ENC_ADD_ERR"},
    {78, "ENG_MP3_ENC_CONN_ERR"},
    {79, "ENG_MP3_ENC_CONFIG_ERR"},
    {80, "ENG_AAC_ENC_ADD_ERR"},
    {81, "ENG_AAC_ENC_CONN_ERR"},
    {82, "ENG_AAC_ENC_CONFIG_ERR"},
    {83, "ENG_MUX_CREATE_ERR"},
    {84, "ENG_MUX_ADD_ERR"},
    {85, "ENG_MUX_CONN_ERR"},
    {86, "ENG_MUX_CONFIG_ERR"},
    {87, "ENG_CONTROLLER_ERR"},
    {88, "ENG_PLUG_CREATE_ERR"},
    {89, "ENG_PLUG_ADD_ERR"},
    {90, "ENG_PLUG_CONN_ERR"},
    {91, "ENG_PLUG_CONFIG_ERR"},
    {92, "ENG_VIDFRAMECOUNTER_CREATE_ERR"},
    {93, "ENG_VIDFRAMECOUNTER_ADD_ERR"},
    {94, "ENG_VIDFRAMECOUNTER_CONN_ERR"},
    {95, "ENG_VIDFRAMEANALYZER_CREATE_ERR"},
    {96, "ENG_VIDFRAMEANALYZER_ADD_ERR"},
    {97, "ENG_VIDFRAMEANALYZER_CONN_ERR"},
    {98, "ENG_COLORSPACE_CREATE_ERR"},
    {99, "ENG_COLORSPACE_CONN_ERR"},
    {100, "ENG_RESYNC_CREATE_ERR"},
    {101, "ENG_RESYNC_ADD_ERR"},
    {102, "ENG_RESYNC_CONN_ERR"},
    {103, "ENG_RESYNC_CONFIG_ERR"},
    {104, "ENG_KAVOIMAGESCALER_CREATE_ERR"},
    {105, "ENG_KAVOIMAGESCALER_ADD_ERR"},
    {106, "ENG_KAVOIMAGESCALER_CONN_ERR"},
    {107, "ENG_KAVOIMAGESCALER_CONFIG_ERR"},
    {108, "ENG_SOURCE_FILTER_ADD_ERR"},
    {109, "ENG_MULTIFILE_READER_CREATE_ERR"},
    {110, "ENG_MULTIFILE_READER_ADD_ERR"},
    {111, "ENG_MULTIFILE_READER_CONFIG_ERR"},
    {112, "ENG_ASF_READER_CREATE_ERR"},
    {113, "ENG_ASF_READER_ADD_ERR"},
    {114, "ENG_ASF_READER_CONFIG_ERR"},
    {115, "ENG_AVS_READER_CREATE_ERR"},
    {116, "ENG_AVS_READER_ADD_ERR"},
    {117, "ENG_AVS_READER_CONFIG_ERR"},
    {118, "ENG_MPEG_SPLITTER_CREATE_ERR"},
    {119, "ENG_MPEG_SPLITTER_ADD_ERR"},
    {120, "ENG_MPEG_SPLITTER_CONN_ERR"},
    {121, "ENG_MPEG_SPLITTER_CONFIG_ERR"},
    {122, "ENG_MPEG1_SPLITTER_CREATE_ERR"},
    {123, "ENG_MPEG1_SPLITTER_ADD_ERR"},
    {124, "ENG_MPEG2_SPLITTER_CREATE_ERR"},
    {125, "ENG_MPEG2_SPLITTER_ADD_ERR"},
    {126, "ENG_AVI_SPLITTER_CREATE_ERR"},
    {127, "ENG_AVI_SPLITTER_ADD_ERR"},
    {128, "ENG_AVI_SPLITTER_CONN_ERR"},
    {129, "ENG_DV_SPLITTER_CREATE_ERR"},
    {130, "ENG_DV_SPLITTER_ADD_ERR"},
    {131, "ENG_DV_SPLITTER_CONN_ERR"},
    {132, "ENG_MKV_SPLITTER_CREATE_ERR"},
    {133, "ENG_MKV_SPLITTER_ADD_ERR"},
    {134, "ENG_MKV_SPLITTER_CONN_ERR"},
    {135, "ENG_MKV_SPLITTER_CONFIG_ERR"},
    {136, "ENG_WRITING_ERROR"},
    {137, "ODD_RESOLUTION_INPUT_ERR"},
    {138, "ENG_NO_REALMEDIA_DEC"},
    {139, "ENG_DEMUXER_CREATE_ERR"},
    {140, "ENG_VC1_DEC_CREATE_ERR"},
    {149, "Combine_impossible_different_Width_Height_FPS"},
    {150, "Combine_impossible_different_AudioTrackCount"},
    {151, "Combine_impossible_different_ChannelCount_SampleRate_BitsPerSample"},
    {152, "ENG_NO_WINDOWS_MEDIA_RUNTIME_ERR"},
    {153, "ENG_DUPLICATE_FILE_ERR"},
    {154, "ENG_DUPLICATE_CHAINFILE_WARN"},
    {155, "CRTL_FILE_PERMISSION_DENIED"},
};
// clang-format on

// clang-format off
const NameEntry kProgressOperationName[] = {
    {0, "opProgress"},
    {1, "opPassStepNum"},
    {2, "opCurrentVideoFrame"},
    {3, "opCurrentAudioSample"},
    {4, "opVideoRenderingRate"},
    {5, "opElapsedTime"},
    {6, "opRemainingTime"},
    {7, "opDetails"},
};
// clang-format on

// clang-format off
const NameEntry kTranscodePriorityName[] = {
    {0, "TP_Idle"},
    {1, "TP_Low"},
    {2, "TP_Normal"},
    {3, "TP_High"},
};
// clang-format on

// clang-format off
const NameEntry kTranscodeStatusName[] = {
    {0, "TS_Pending"},
    {1, "TS_Running"},
    {2, "TS_Done"},
    {3, "TS_Failed"},
};
// clang-format on

// clang-format off
const NameEntry kSubtitleTrackKindName[] = {
    {0, "ST_SSA_ASS_INTERNAL"},
    {1, "ST_SSA_ASS_EXTERNAL"},
    {2, "ST_SRT_INTERNAL"},
    {3, "ST_SRT_EXTERNAL"},
    {4, "ST_XSUB"},
    {5, "ST_XSUBPLUS"},
    {6, "ST_VOBSUB"},
    {7, "ST_INVALID"},
};
// clang-format on

// clang-format off
const NameEntry kCodecPluginName[] = {
    {0, "UnknownPlugin"},
    {1, "PXKavoEncoder"},
    {2, "PXH264Encoder"},
    {3, "PXMPEG2Decoder"},
    {4, "PXDolbyCodec"},
};
// clang-format on

// clang-format off
const NameEntry kHardwareAccelerationName[] = {
    {0, "NO_ACCELERATION"},
    {1, "OPENCL"},
    {2, "IQSV"},
    {3, "CUDA"},
};
// clang-format on

// clang-format off
const NameEntry kOutputPriorityName[] = {
    {0, "prioUnknown"},
    {1, "prioResolutionWidth"},
    {2, "prioResolutionHeight"},
    {3, "prioFilesize"},
    {4, "prioVideoBitrate"},
    {5, "prioAudioBitrate"},
    {6, "prioAudioPassThrough"},
    {7, "prioTrickPlayTrack"},
    {8, "prioAspectRatio"},
    {9, "prioCOUNT"},
};
// clang-format on

// clang-format off
const NameEntry kLogMessageClassName[] = {
    {0, "KAVO_NO_MSG"},
    {1, "KAVO_ALL_MSG"},
    {2, "KAVO_CRITICAL_MSG"},
    {4, "KAVO_ERROR_MSG"},
    {8, "KAVO_WARNING_MSG"},
    {16, "KAVO_INFO_MSG"},
    {32, "KAVO_HEADER_MSG"},
    {64, "KAVO_DEBUG_MSG"},
    {128, "KAVO_PROGRESS_MSG"},
    {256, "KAVO_MSG_LAST"},
};
// clang-format on

} // namespace

const char* deviceProfileName(int value)
{
    return lookup(kDeviceProfileName, value);
}

const char* videoCodecName(int value)
{
    return lookup(kVideoCodecName, value);
}

const char* audioCodecName(int value)
{
    return lookup(kAudioCodecName, value);
}

const char* subtitleCodecName(int value)
{
    return lookup(kSubtitleCodecName, value);
}

const char* resultCodeName(int value)
{
    return lookup(kResultCodeName, value);
}

const char* progressOperationName(int value)
{
    return lookup(kProgressOperationName, value);
}

const char* transcodePriorityName(int value)
{
    return lookup(kTranscodePriorityName, value);
}

const char* transcodeStatusName(int value)
{
    return lookup(kTranscodeStatusName, value);
}

const char* subtitleTrackKindName(int value)
{
    return lookup(kSubtitleTrackKindName, value);
}

const char* codecPluginName(int value)
{
    return lookup(kCodecPluginName, value);
}

const char* hardwareAccelerationName(int value)
{
    return lookup(kHardwareAccelerationName, value);
}

const char* outputPriorityName(int value)
{
    return lookup(kOutputPriorityName, value);
}

const char* logMessageClassName(int value)
{
    return lookup(kLogMessageClassName, value);
}

bool isTranscodeSuccess(int resultCode)
{
    return resultCode == SUCCESS || resultCode == ENG_DUPLICATE_CHAINFILE_WARN;
}

QString transcodeDurationText(uint64_t milliseconds)
{
    const uint64_t seconds = milliseconds / 1000;
    const uint64_t hours = seconds / 3600;
    const uint64_t minutes = seconds / 60 - hours * 60;
    const uint64_t rest = seconds - 60 * (hours * 60 + minutes);
    // QTime rejects 24 hours and more, which yields an empty text. Clamp before
    // narrowing so a huge value cannot wrap into a valid time.
    const int h = int(std::min<uint64_t>(hours, 24));
    return QTime(h, int(minutes), int(rest), 0).toString();
}

} // namespace kvt
