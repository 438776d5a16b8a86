#include "LdLog.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace ld {

namespace {
std::atomic<LogSink> g_sink{nullptr};
} // namespace

void setLogSink(LogSink sink)
{
    g_sink = sink;
}

void logLine(const std::string& line)
{
    if (const LogSink sink = g_sink.load()) {
        sink("LDStorage: " + line);
        return;
    }
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    // Diagnostics: standard output belongs to the program's own lines.
    std::fprintf(stderr, "LDStorage: %s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace ld
