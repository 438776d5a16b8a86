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
    std::fprintf(stdout, "LDStorage: %s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace ld
