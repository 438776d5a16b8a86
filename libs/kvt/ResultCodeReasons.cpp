#include "ResultCodeReasons.h"

#include "TranscodeEnums.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>

namespace kvt {

namespace {

struct ReasonRange
{
    int first;
    int last;
    const char* reason;
};

// Codes that mean the same thing to the user share a range; the help page of conversion
// errors has one section per range.
// clang-format off
const ReasonRange kReasons[] = {
    {SUCCESS,                     SUCCESS,                     ""},
    {ENG_DUPLICATE_CHAINFILE_WARN, ENG_DUPLICATE_CHAINFILE_WARN, ""},
    {NotAvailable,                Working,                     QT_TRANSLATE_NOOP("ResultCodeReason", "converter busy or not available")},
    {Aborted,                     Aborted,                     QT_TRANSLATE_NOOP("ResultCodeReason", "cancelled")},
    {InvalidArgument,             InvalidArgument,             QT_TRANSLATE_NOOP("ResultCodeReason", "converter failed")},
    {NOT_SET,                     NOT_SET,                     QT_TRANSLATE_NOOP("ResultCodeReason", "not examined")},
    {PENDING,                     PENDING,                     QT_TRANSLATE_NOOP("ResultCodeReason", "not examined")},
    {ENG_ERR,                     ENG_ERR,                     QT_TRANSLATE_NOOP("ResultCodeReason", "converter busy or not available")},
    {KVMEDIA_ERR,                 KVMEDIA_ERR,                 QT_TRANSLATE_NOOP("ResultCodeReason", "cannot be read")},
    {METADATA_ERR,                METADATA_ERR,                QT_TRANSLATE_NOOP("ResultCodeReason", "damaged or cut short")},
    {CRTL_FILE_DOES_NOT_EXIST,    CRTL_FILE_DOES_NOT_EXIST,    QT_TRANSLATE_NOOP("ResultCodeReason", "file not found")},
    {CTRL_DUPLICATE_FILE,         CTRL_DUPLICATE_FILE,         QT_TRANSLATE_NOOP("ResultCodeReason", "already in the list")},
    {ENG_NOTIMPL_ERR,             ENG_PROPERTYVALUE_NOTFOUND_ERR, QT_TRANSLATE_NOOP("ResultCodeReason", "converter failed")},
    {ENG_INVALID_TYPE_ERR,        ENG_INVALID_INPUT_ERR,       QT_TRANSLATE_NOOP("ResultCodeReason", "not a usable video file")},
    {ENG_MOVIE_INIT_ERR,          ENG_MOVIE_UNINIT_ERR,        QT_TRANSLATE_NOOP("ResultCodeReason", "converter failed")},
    {ENG_ANALYSIS,                ENG_ANALYSIS,                QT_TRANSLATE_NOOP("ResultCodeReason", "took too long to examine")},
    {ENG_XSUBDLL_NOTFOUND_ERR,    ENG_XSUB_TRANSCODE_ERR,      QT_TRANSLATE_NOOP("ResultCodeReason", "subtitles cannot be converted")},
    {ENG_UNSUPPORTED_FILE_TYPE,   ENG_UNSUPPORTED_FILE_TYPE,   QT_TRANSLATE_NOOP("ResultCodeReason", "not a video file")},
    {ENG_INVALID_STREAM,          ENG_INVALID_STREAM,          QT_TRANSLATE_NOOP("ResultCodeReason", "damaged or cut short")},
    {ENG_INVALID_VID_STREAM,      ENG_INVALID_VID_STREAM,      QT_TRANSLATE_NOOP("ResultCodeReason", "no video track")},
    {ENG_INVALID_AUD_STREAM,      ENG_INVALID_AUD_STREAM,      QT_TRANSLATE_NOOP("ResultCodeReason", "sound cannot be read")},
    {ENG_NO_VAR_FRAME_RATE,       ENG_NO_VAR_FRAME_RATE,       QT_TRANSLATE_NOOP("ResultCodeReason", "variable frame rate")},
    {ENG_NOT_COMPATIBLE,          ENG_NOT_COMPATIBLE,          QT_TRANSLATE_NOOP("ResultCodeReason", "cannot be made to fit the device")},
    {ENG_DECODER,                 ENG_NO_MJPEG_DEC,            QT_TRANSLATE_NOOP("ResultCodeReason", "video format cannot be decoded")},
    {ENG_NO_ADPCM_AUDDEC,         ENG_NO_AC3_DEC,              QT_TRANSLATE_NOOP("ResultCodeReason", "sound format cannot be decoded")},
    {ENG_NO_QUICKTIME_DEC,        ENG_NO_H264_DEC,             QT_TRANSLATE_NOOP("ResultCodeReason", "video format cannot be decoded")},
    {ENG_NO_KAVO_ENC,             ENG_NO_H264_ENC,             QT_TRANSLATE_NOOP("ResultCodeReason", "encoder missing")},
    {ENG_DEC_ADD_ERR,             ENG_MKV_SPLITTER_CONFIG_ERR, QT_TRANSLATE_NOOP("ResultCodeReason", "converter failed")},
    {ENG_WRITING_ERROR,           ENG_WRITING_ERROR,           QT_TRANSLATE_NOOP("ResultCodeReason", "could not write the converted file")},
    {ODD_RESOLUTION_INPUT_ERR,    ODD_RESOLUTION_INPUT_ERR,    QT_TRANSLATE_NOOP("ResultCodeReason", "unusual picture size")},
    {ENG_NO_REALMEDIA_DEC,        ENG_NO_REALMEDIA_DEC,        QT_TRANSLATE_NOOP("ResultCodeReason", "video format cannot be decoded")},
    {ENG_DEMUXER_CREATE_ERR,      ENG_VC1_DEC_CREATE_ERR,      QT_TRANSLATE_NOOP("ResultCodeReason", "converter failed")},
    {Combine_impossible_different_Width_Height_FPS,
     Combine_impossible_different_ChannelCount_SampleRate_BitsPerSample,
                                                               QT_TRANSLATE_NOOP("ResultCodeReason", "parts do not match")},
    {ENG_NO_WINDOWS_MEDIA_RUNTIME_ERR, ENG_NO_WINDOWS_MEDIA_RUNTIME_ERR, QT_TRANSLATE_NOOP("ResultCodeReason", "video format cannot be decoded")},
    {ENG_DUPLICATE_FILE_ERR,      ENG_DUPLICATE_FILE_ERR,      QT_TRANSLATE_NOOP("ResultCodeReason", "already in the list")},
    {CRTL_FILE_PERMISSION_DENIED, CRTL_FILE_PERMISSION_DENIED, QT_TRANSLATE_NOOP("ResultCodeReason", "no permission to read it")},
};
// clang-format on

const char kUnknownReason[] = QT_TRANSLATE_NOOP("ResultCodeReason", "converter stopped on it");

} // namespace

const char* resultCodeReason(int code)
{
    const auto it =
        std::find_if(std::begin(kReasons), std::end(kReasons),
                     [code](const ReasonRange& r) { return code >= r.first && code <= r.last; });
    return it == std::end(kReasons) ? kUnknownReason : it->reason;
}

} // namespace kvt
