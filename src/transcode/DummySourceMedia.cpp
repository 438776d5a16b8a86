#include "DummySourceMedia.h"

#include "TranscodeEnums.h"

DummySourceMedia::DummySourceMedia(const QString& path) : m_fileInfo(path) {}

DummySourceMedia::~DummySourceMedia() = default;

int32_t DummySourceMedia::GetFileName(std::u16string& fileName)
{
    fileName = m_fileInfo.filePath().toStdU16String();
    return kvt::SUCCESS;
}

int32_t DummySourceMedia::GetDuration(uint64_t&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetContainerName(std::string&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetBitrate(int64_t&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetAudioTrackCount(int32_t&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetAudioTrack(int32_t, kvtl::RefCountedPtr<kvt::ISourceMediaAudioTrack>&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetSubtitleTrackCount(int32_t&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetVideoTrackCount(int32_t&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetVideoTrack(int32_t, kvtl::RefCountedPtr<kvt::ISourceMediaVideoTrack>&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetAnalysisResult(int32_t&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetTitle(std::u16string&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::AddExternalSubtitle(std::u16string, std::u16string)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetFileSize(uint64_t& bytes)
{
    // The file may have changed since construction; ask the file system now.
    m_fileInfo.refresh();
    bytes = m_fileInfo.exists() ? uint64_t(m_fileInfo.size()) : 0;
    return kvt::SUCCESS;
}

int32_t DummySourceMedia::GetFormatDescription(std::string&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetStartTime(int64_t&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::GetAnalysisDetails(std::string&)
{
    return kvt::ENG_NOTIMPL_ERR;
}

int32_t DummySourceMedia::IsCompatible(int32_t, bool&)
{
    return kvt::ENG_NOTIMPL_ERR;
}
