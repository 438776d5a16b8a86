#pragma once

#include "ISourceMedia.h"

#include <QFileInfo>
#include <QString>

// A source made by the program for a file used unchanged (or one that could
// not be analysed), so later steps treat every file through ISourceMedia.
// Only the name and the size are known; everything else is not implemented.
class DummySourceMedia : public kvtl::RefCountedImpl<kvt::ISourceMedia>
{
public:
    explicit DummySourceMedia(const QString& path);
    ~DummySourceMedia() override;

    int32_t GetFileName(std::u16string& fileName) override;
    int32_t GetDuration(uint64_t& microseconds) override;
    int32_t GetContainerName(std::string& name) override;
    int32_t GetBitrate(int64_t& bitsPerSecond) override;
    int32_t GetAudioTrackCount(int32_t& count) override;
    int32_t GetAudioTrack(int32_t index,
                          kvtl::RefCountedPtr<kvt::ISourceMediaAudioTrack>& track) override;
    int32_t GetSubtitleTrackCount(int32_t& count) override;
    int32_t GetVideoTrackCount(int32_t& count) override;
    int32_t GetVideoTrack(int32_t index,
                          kvtl::RefCountedPtr<kvt::ISourceMediaVideoTrack>& track) override;
    int32_t GetAnalysisResult(int32_t& resultCode) override;
    int32_t GetTitle(std::u16string& title) override;
    int32_t AddExternalSubtitle(std::u16string path, std::u16string language) override;
    int32_t GetFileSize(uint64_t& bytes) override;
    int32_t GetFormatDescription(std::string& description) override;
    int32_t GetStartTime(int64_t& microseconds) override;
    int32_t GetAnalysisDetails(std::string& details) override;
    int32_t IsCompatible(int32_t profile, bool& compatible) override;

private:
    QFileInfo m_fileInfo;
};
