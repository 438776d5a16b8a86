#include "LdLog.h"

#include <cstdio>
#include <mutex>

namespace ld {

void logLine(const std::string& line)
{
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    std::fprintf(stdout, "LDStorage: %s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace ld
