#include "WorkerOptions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace kvt::worker {

namespace {

bool parseInt(const char* text, int& value)
{
    if (!text || !*text)
        return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

WorkerError WorkerOptions::parse(int argc, char** argv, WorkerOptions& out)
{
    out = WorkerOptions();
    bool haveProfile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc)
            return WorkerError(ENG_INVALID_INPUT_ERR, "missing value for " + name);
        const char* value = argv[++i];
        if (name == "--input") {
            out.input = value;
        } else if (name == "--output") {
            out.output = value;
        } else if (name == "--profile") {
            if (!parseInt(value, out.profile))
                return WorkerError(ENG_INVALID_INPUT_ERR, std::string("bad profile: ") + value);
            haveProfile = true;
        } else if (name == "--width") {
            if (!parseInt(value, out.width) || out.width <= 0)
                return WorkerError(ENG_OUTOFRANGE_ERR, std::string("bad width: ") + value);
        } else if (name == "--height") {
            if (!parseInt(value, out.height) || out.height <= 0)
                return WorkerError(ENG_OUTOFRANGE_ERR, std::string("bad height: ") + value);
        } else {
            return WorkerError(ENG_INVALID_INPUT_ERR, "unknown option " + name);
        }
    }
    if (out.input.empty())
        return WorkerError(ENG_INVALID_INPUT_ERR, "no --input given");
    if (out.output.empty())
        return WorkerError(ENG_INVALID_INPUT_ERR, "no --output given");
    if (!haveProfile)
        return WorkerError(ENG_INVALID_INPUT_ERR, "no --profile given");
    if ((out.width == 0) != (out.height == 0))
        return WorkerError(ENG_INVALID_INPUT_ERR, "--width and --height go together");
    return WorkerError();
}

} // namespace kvt::worker
