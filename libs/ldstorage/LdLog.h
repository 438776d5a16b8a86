#pragma once

#include <string>

namespace ld {

// Where the library's diagnostic lines go: a program that has a log of its own passes them on;
// without a sink they go to the standard output, flushed at once.
using LogSink = void (*)(const std::string& line);
void setLogSink(LogSink sink);

// One diagnostic line.
void logLine(const std::string& line);

} // namespace ld
