// libFuzzer target for the body of a launcher hand-over frame: whatever the bytes, parsing must
// stay inside them and within the limits, and accepted arguments must build back into exactly
// the same body (the frame has one encoding).
#include "LauncherChannel.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input, so ASan sees any read past it.
    const std::vector<unsigned char> body(data, data + size);
    std::vector<std::string> arguments;
    if (!LauncherChannel::parseBody(body.data(), body.size(), &arguments))
        return 0;
    for (const std::string& a : arguments) {
        if (a.size() > LauncherChannel::kMaxArgumentBytes)
            std::abort();
    }
    const std::string frame = LauncherChannel::buildFrame(arguments);
    if (frame.size() != size + 8 ||
        frame.compare(8, std::string::npos, reinterpret_cast<const char*>(data), size) != 0)
        std::abort();
    return 0;
}
