#pragma once

#include <cstdint>
#include <string>

namespace kvt::worker {

// Writes the worker's line protocol to stdout, one flushed line per event:
// "DURATION <us>", "PROGRESS <percent> <processed_us>", "DONE", "ERROR <code> <message>".
class ProgressReporter
{
public:
    void duration(int64_t microseconds);
    // Reports only when the whole percentage rises, so a long file does not
    // flood the pipe. The percentage is capped below 100 until done().
    void progress(double percent, int64_t processedMicroseconds);
    void done(int64_t processedMicroseconds);
    void error(int code, const std::string& message);

private:
    void writeLine(const std::string& line);

    int m_lastPercent = -1;
};

} // namespace kvt::worker
