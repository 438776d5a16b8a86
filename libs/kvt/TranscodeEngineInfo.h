#pragma once

#include "ITranscodeEngineInfo.h"
#include "TranscodeEngine.h"

namespace kvt {

// The ready engine: where its worker is and how it logs.
class TranscodeEngineInfo : public kvtl::RefCountedImpl<ITranscodeEngineInfo>
{
public:
    TranscodeEngineInfo(const std::u16string& enginePath, const LoggerSettings& logger)
        : m_enginePath(enginePath), m_logger(logger)
    {
    }

    int32_t GetEngineText(std::string& text) override;
    int32_t GetFileTypes(std::map<std::string, std::string>& fileTypes) override;
    int32_t GetEnginePath(std::u16string& path) override;

    const LoggerSettings& logger() const { return m_logger; }

    // The file types the engine reads, limited to the demuxers this build of
    // libavformat has.
    static std::map<std::string, std::string> readableFileTypes();
    // The engine's label ("Kavo Transcode Engine 1.0").
    static std::string engineText();
    // The FFmpeg libraries it runs on, for version output and traces.
    static std::string libraryVersions();

private:
    const std::u16string m_enginePath;
    const LoggerSettings m_logger;
};

} // namespace kvt
