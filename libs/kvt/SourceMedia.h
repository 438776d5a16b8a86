#pragma once

#include "ISourceMedia.h"
#include "MediaInfo.h"
#include "ReportValue.h"

namespace kvt {

// An analysed file: the engine's ISourceMedia over a MediaInfo.
class SourceMedia : public kvtl::RefCountedImpl<ISourceMedia>
{
public:
    explicit SourceMedia(const MediaInfo& info) : m_info(info) {}

    int32_t GetFileName(std::u16string& fileName) override
    {
        return reportValue(fileName, m_info.path);
    }
    int32_t GetDuration(uint64_t& microseconds) override
    {
        return reportValue(microseconds, m_info.durationUs);
    }
    int32_t GetContainerName(std::string& name) override
    {
        return reportValue(name, m_info.containerName);
    }
    int32_t GetBitrate(int64_t& bitsPerSecond) override
    {
        return reportValue(bitsPerSecond, m_info.bitrate);
    }
    int32_t GetAudioTrackCount(int32_t& count) override
    {
        return reportValue(count, int32_t(m_info.audio.size()));
    }
    int32_t GetAudioTrack(int32_t index,
                          kvtl::RefCountedPtr<ISourceMediaAudioTrack>& track) override;
    int32_t GetSubtitleTrackCount(int32_t& count) override
    {
        return reportValue(count, m_info.subtitleCount);
    }
    int32_t GetVideoTrackCount(int32_t& count) override
    {
        return reportValue(count, int32_t(m_info.video.size()));
    }
    int32_t GetVideoTrack(int32_t index,
                          kvtl::RefCountedPtr<ISourceMediaVideoTrack>& track) override;
    int32_t GetAnalysisResult(int32_t& resultCode) override
    {
        return reportValue(resultCode, m_info.resultCode);
    }
    int32_t GetTitle(std::u16string& title) override { return reportValue(title, m_info.title); }
    int32_t AddExternalSubtitle(std::u16string path, std::u16string language) override;
    int32_t GetFileSize(uint64_t& bytes) override { return reportValue(bytes, m_info.fileSize); }
    int32_t GetFormatDescription(std::string& description) override;
    int32_t GetStartTime(int64_t& microseconds) override
    {
        return reportValue(microseconds, m_info.startUs);
    }
    int32_t GetAnalysisDetails(std::string& details) override
    {
        return reportValue(details, m_info.details);
    }
    int32_t IsCompatible(int32_t profile, bool& compatible) override;
    int32_t GetConversionReason(int32_t profile, int32_t& reason, std::string& details) override;

    const MediaInfo& info() const { return m_info; }

private:
    const MediaInfo m_info;
};

} // namespace kvt
