#include "SourceMedia.h"

#include "TranscodeEnums.h"

#include "ProfileCompatibility.h"
#include "ProfileTable.h"
#include "SourceMediaAudioTrack.h"
#include "SourceMediaVideoTrack.h"

namespace kvt {

int32_t SourceMedia::GetFileName(std::u16string& fileName)
{
    fileName = m_info.path;
    return SUCCESS;
}

int32_t SourceMedia::GetDuration(uint64_t& microseconds)
{
    microseconds = m_info.durationUs;
    return SUCCESS;
}

int32_t SourceMedia::GetContainerName(std::string& name)
{
    name = m_info.containerName;
    return SUCCESS;
}

int32_t SourceMedia::GetBitrate(int64_t& bitsPerSecond)
{
    bitsPerSecond = m_info.bitrate;
    return SUCCESS;
}

int32_t SourceMedia::GetAudioTrackCount(int32_t& count)
{
    count = int32_t(m_info.audio.size());
    return SUCCESS;
}

int32_t SourceMedia::GetAudioTrack(int32_t index,
                                   kvtl::RefCountedPtr<ISourceMediaAudioTrack>& track)
{
    if (index < 0 || size_t(index) >= m_info.audio.size())
        return ENG_OUTOFRANGE_ERR;
    track = new SourceMediaAudioTrack(m_info.audio[size_t(index)]);
    return SUCCESS;
}

int32_t SourceMedia::GetSubtitleTrackCount(int32_t& count)
{
    count = m_info.subtitleCount;
    return SUCCESS;
}

int32_t SourceMedia::GetVideoTrackCount(int32_t& count)
{
    count = int32_t(m_info.video.size());
    return SUCCESS;
}

int32_t SourceMedia::GetVideoTrack(int32_t index,
                                   kvtl::RefCountedPtr<ISourceMediaVideoTrack>& track)
{
    if (index < 0 || size_t(index) >= m_info.video.size())
        return ENG_OUTOFRANGE_ERR;
    track = new SourceMediaVideoTrack(m_info.video[size_t(index)]);
    return SUCCESS;
}

int32_t SourceMedia::GetAnalysisResult(int32_t& resultCode)
{
    resultCode = m_info.resultCode;
    return SUCCESS;
}

int32_t SourceMedia::GetTitle(std::u16string& title)
{
    title = m_info.title;
    return SUCCESS;
}

int32_t SourceMedia::AddExternalSubtitle(std::u16string, std::u16string)
{
    // Subtitles are not burnt into the picture by this engine.
    return ENG_NOTIMPL_ERR;
}

int32_t SourceMedia::GetFileSize(uint64_t& bytes)
{
    bytes = m_info.fileSize;
    return SUCCESS;
}

int32_t SourceMedia::GetFormatDescription(std::string& description)
{
    description = m_info.containerName;
    for (const VideoTrackInfo& v : m_info.video)
        description += ", " + v.codecName + " " + std::to_string(v.codedWidth) + "x" +
                       std::to_string(v.codedHeight);
    for (const AudioTrackInfo& a : m_info.audio)
        description += ", " + a.codecName + " " + std::to_string(a.channels) + "ch";
    return SUCCESS;
}

int32_t SourceMedia::GetStartTime(int64_t& microseconds)
{
    microseconds = m_info.startUs;
    return SUCCESS;
}

int32_t SourceMedia::GetAnalysisDetails(std::string& details)
{
    details = m_info.details;
    return SUCCESS;
}

int32_t SourceMedia::IsCompatible(int32_t profile, bool& compatible)
{
    const DeviceProfileSpec* spec = findDeviceProfile(profile);
    if (!spec)
        return ENG_OUTOFRANGE_ERR;
    compatible = ProfileCompatibility::isCompatible(m_info, *spec);
    return SUCCESS;
}

} // namespace kvt
