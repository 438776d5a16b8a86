#pragma once

#include "WorkerError.h"

#include <string>

namespace kvt::worker {

// The worker's command line:
//   KavoEngine --input <path> --output <path> --profile <n> [--width <w> --height <h>]
class WorkerOptions
{
public:
    // Parses argv; on failure returns an error with the reason.
    static WorkerError parse(int argc, char** argv, WorkerOptions& out);

    std::string input;
    std::string output;
    int profile = -1;
    // Zero when the output size follows from the source and the profile.
    int width = 0;
    int height = 0;
};

} // namespace kvt::worker
