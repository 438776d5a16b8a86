#include "ContentDigest.h"

#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>

namespace udf {

ContentDigest::ContentDigest() : state_(new XXH3_state_t)
{
    reset();
}

ContentDigest::~ContentDigest()
{
    delete state_;
}

void ContentDigest::reset()
{
    XXH3_128bits_reset(state_);
}

void ContentDigest::add(const void* data, size_t size)
{
    XXH3_128bits_update(state_, data, size);
}

ContentDigest::Value ContentDigest::value() const
{
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state_));
    Value v;
    for (size_t i = 0; i < v.size(); ++i)
        v[i] = canonical.digest[i];
    return v;
}

} // namespace udf
