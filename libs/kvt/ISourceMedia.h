#pragma once

#include "ISourceMediaAudioTrack.h"
#include "ISourceMediaVideoTrack.h"
#include "RefCountedPtr.h"
#include "TranscodeEnums.h"

#include <cstdint>
#include <string>

namespace kvt {

// An analysed input file. The slot order is part of the engine's binary
// interface: program-made sources (DummySourceMedia) implement the same table.
class ISourceMedia : public kvtl::IRefCounted
{
public:
    // The path as given to the analysis.
    virtual int32_t GetFileName(std::u16string& fileName) = 0;

    // Playing time in microseconds; 0 when unknown.
    virtual int32_t GetDuration(uint64_t& microseconds) = 0;
    // libavformat's demuxer name ("avi", "matroska,webm", ...).
    virtual int32_t GetContainerName(std::string& name) = 0;
    // Overall bits per second; 0 when unknown.
    virtual int32_t GetBitrate(int64_t& bitsPerSecond) = 0;
    virtual int32_t GetAudioTrackCount(int32_t& count) = 0;
    virtual int32_t GetAudioTrack(int32_t index,
                                  kvtl::RefCountedPtr<ISourceMediaAudioTrack>& track) = 0;
    virtual int32_t GetSubtitleTrackCount(int32_t& count) = 0;
    virtual int32_t GetVideoTrackCount(int32_t& count) = 0;
    virtual int32_t GetVideoTrack(int32_t index,
                                  kvtl::RefCountedPtr<ISourceMediaVideoTrack>& track) = 0;
    // Engine code the analysis of this file ended with (0 or a warning).
    virtual int32_t GetAnalysisResult(int32_t& resultCode) = 0;
    // Title stored in the file's metadata; empty when none.
    virtual int32_t GetTitle(std::u16string& title) = 0;
    // Attaches an external subtitle file (path, language).
    virtual int32_t AddExternalSubtitle(std::u16string path, std::u16string language) = 0;

    virtual int32_t GetFileSize(uint64_t& bytes) = 0;

    // "avi, mpeg4 640x480, mp3 2ch" style summary for traces.
    virtual int32_t GetFormatDescription(std::string& description) = 0;
    // Presentation time of the first frame, microseconds.
    virtual int32_t GetStartTime(int64_t& microseconds) = 0;
    // Why the analysis ended with a non-zero code; empty otherwise.
    virtual int32_t GetAnalysisDetails(std::string& details) = 0;
    // True when the file plays on the device profile (DP_ value) as it is.
    virtual int32_t IsCompatible(int32_t profile, bool& compatible) = 0;
    // Why the file must be converted for profile: a ConversionReason (CR_NONE when it plays as
    // it is) and the engine's own words. Sources that cannot tell answer ENG_NOTIMPL_ERR.
    virtual int32_t GetConversionReason(int32_t profile, int32_t& reason, std::string& details)
    {
        (void)profile;
        reason = 0;
        details.clear();
        return ENG_NOTIMPL_ERR;
    }
};

} // namespace kvt
