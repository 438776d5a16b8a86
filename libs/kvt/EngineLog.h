#pragma once

#include "TranscodeEngine.h"

#include <string>

namespace kvt {

// The engine's diagnostics. Errors and warnings always reach the toolkit's
// debug stream (and so the wizard's trace file); with logging enabled every
// line of an enabled class is also appended to KavoTranscode.log in the log
// directory. Safe to call from any thread.
class EngineLog
{
public:
    static void configure(const LoggerSettings& settings);
    // messageClass: one KAVO_*_MSG bit.
    static void write(int messageClass, const std::string& text);
    // Where the worker's standard error goes: KavoEngine.log in the log
    // directory when logging is on, else empty.
    static std::string workerLogPath();
};

} // namespace kvt
