#pragma once

#include "ITranscodeEngineInfo.h"
#include "ITranscodeOutputSettings.h"
#include "ITranscodeSession.h"
#include "RefCountedPtr.h"

#include <cstdint>
#include <string>

// The transcode engine's entry points.
namespace kvt {

struct LoggerSettings
{
    bool enable = false;
    int32_t level = 0;        // KAVO_*_MSG bits; 1 (KAVO_ALL_MSG) logs everything
    std::string logDirectory; // UTF-8; KavoTranscode.log and KavoEngine.log go here
};

// Prepares the engine. enginePath names the KavoEngine executable or the
// directory holding it; empty means "find it" (see LocateTranscodeEngine).
// logger may be null. Returns 0 when the engine is ready.
int32_t InitTranscodeEngine(const std::u16string& enginePath, const LoggerSettings* logger,
                            kvtl::RefCountedPtr<ITranscodeEngineInfo>& info);

// A new session holding one reference (held by the out pointer).
int32_t CreateTranscodeSession(kvtl::RefCountedPtr<ITranscodeSession>& session);

// Settings for a device profile (DP_ value); ENG_OUTOFRANGE_ERR for others.
int32_t
CreateDefaultTranscodeOutputSettings(int32_t profile,
                                     kvtl::RefCountedPtr<ITranscodeOutputSettings>& settings);

// Full path of the KavoEngine executable: in engineDir (a directory or the
// executable itself, a trailing ".exe" tolerated) when given; when it is empty
// (or just "/KavoEngine.exe", an empty directory plus the name), beside the
// running program, then in the installed libexec folder relative to it, then in
// $KAVO_ENGINE_DIR. Empty when not found.
std::u16string LocateTranscodeEngine(const std::u16string& engineDir);

} // namespace kvt
