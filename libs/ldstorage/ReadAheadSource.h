#pragma once

#include <cstddef>

namespace burn {
struct burn_source;
}

namespace ld {

// A burn_source that reads its inner source ahead on a thread of its own, a few chunks at a
// time, so that producing the image (reading the files) and writing it overlap. libburn's own
// fifo polls with sleeps and caps a fast consumer; this one waits on a condition variable.
class ReadAheadSource
{
public:
    // Takes a reference of `inner`; the result carries one reference for the caller.
    static burn::burn_source* wrap(burn::burn_source* inner, size_t chunkBytes, size_t chunks);
};

} // namespace ld
