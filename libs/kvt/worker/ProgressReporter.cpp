#include "ProgressReporter.h"

#include "CancelFlag.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace kvt::worker {

void ProgressReporter::writeLine(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    // Nobody reads the progress any more (the caller went away): a
    // conversion that no one will collect is cancelled, not finished.
    if (std::fflush(stdout) != 0 && errno == EPIPE)
        CancelFlag::cancel();
}

void ProgressReporter::duration(int64_t microseconds)
{
    writeLine("DURATION " + std::to_string(std::max<int64_t>(0, microseconds)));
}

void ProgressReporter::progress(double percent, int64_t processedMicroseconds)
{
    const int whole = std::clamp(static_cast<int>(percent), 0, 99);
    if (whole <= m_lastPercent)
        return;
    m_lastPercent = whole;
    writeLine("PROGRESS " + std::to_string(whole) + " " +
              std::to_string(std::max<int64_t>(0, processedMicroseconds)));
}

void ProgressReporter::done(int64_t processedMicroseconds)
{
    writeLine("PROGRESS 100 " + std::to_string(std::max<int64_t>(0, processedMicroseconds)));
    writeLine("DONE");
}

void ProgressReporter::error(int code, const std::string& message)
{
    // One line per event: a reason must not break the protocol.
    std::string oneLine = message;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
    writeLine("ERROR " + std::to_string(code) + " " + oneLine);
}

} // namespace kvt::worker
