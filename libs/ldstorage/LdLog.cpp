#include "LdLog.h"

#include <cstdio>
#include <mutex>

namespace ld {

void logLine(const std::string& line)
{
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    // Diagnostics: standard output belongs to the program's own lines.
    std::fprintf(stderr, "LDStorage: %s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace ld
