#include "SourceMedia.h"

#include "TranscodeEnums.h"

#include "ProfileCompatibility.h"
#include "ProfileTable.h"
#include "SourceMediaAudioTrack.h"
#include "SourceMediaVideoTrack.h"

namespace kvt {

namespace {

// A new track object over entry `index` of `tracks`.
template <class Track, class Info, class Interface>
int32_t trackAt(const std::vector<Info>& tracks, int32_t index,
                kvtl::RefCountedPtr<Interface>& track)
{
    if (index < 0 || size_t(index) >= tracks.size())
        return ENG_OUTOFRANGE_ERR;
    track = new Track(tracks[size_t(index)]);
    return SUCCESS;
}

} // namespace

int32_t SourceMedia::GetAudioTrack(int32_t index,
                                   kvtl::RefCountedPtr<ISourceMediaAudioTrack>& track)
{
    return trackAt<SourceMediaAudioTrack>(m_info.audio, index, track);
}

int32_t SourceMedia::GetVideoTrack(int32_t index,
                                   kvtl::RefCountedPtr<ISourceMediaVideoTrack>& track)
{
    return trackAt<SourceMediaVideoTrack>(m_info.video, index, track);
}

int32_t SourceMedia::AddExternalSubtitle(std::u16string, std::u16string)
{
    // Subtitles are not burnt into the picture by this engine.
    return ENG_NOTIMPL_ERR;
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

int32_t SourceMedia::IsCompatible(int32_t profile, bool& compatible)
{
    const DeviceProfileSpec* spec = findDeviceProfile(profile);
    if (!spec)
        return ENG_OUTOFRANGE_ERR;
    compatible = ProfileCompatibility::isCompatible(m_info, *spec);
    return SUCCESS;
}

int32_t SourceMedia::GetConversionReason(int32_t profile, int32_t& reason, std::string& details)
{
    const DeviceProfileSpec* spec = findDeviceProfile(profile);
    if (!spec)
        return ENG_OUTOFRANGE_ERR;
    ProfileCompatibility::Misfit misfit;
    ProfileCompatibility::check(m_info, *spec, &misfit);
    reason = misfit.code;
    details = misfit.text;
    return SUCCESS;
}

} // namespace kvt
