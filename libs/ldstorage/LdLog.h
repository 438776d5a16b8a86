#pragma once

#include <string>

namespace ld {

// One diagnostic line on the standard output, flushed at once: the burner's trace collects it.
void logLine(const std::string& line);

} // namespace ld
