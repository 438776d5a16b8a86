#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct XXH3_state_s;

namespace udf {

// A 128-bit XXH3 digest of a byte stream fed chunk by chunk. It tells a source from what was
// read back of it at many GB/s, so hashing never slows the write or the read-back; MD5 would
// cap both near 450 MB/s on one core.
class ContentDigest
{
public:
    using Value = std::array<uint8_t, 16>;

    ContentDigest();
    ~ContentDigest();
    ContentDigest(const ContentDigest&) = delete;
    ContentDigest& operator=(const ContentDigest&) = delete;

    void reset();
    void add(const void* data, size_t size);
    Value value() const;

private:
    XXH3_state_s* state_;
};

} // namespace udf
