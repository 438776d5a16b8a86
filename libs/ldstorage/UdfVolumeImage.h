#pragma once

#include "VolumeImage.h"

#include <memory>

namespace ld {

// A new UDF 1.50 bridge session (UDF + ISO 9660 over the same file data, our writer in udf/)
// for a blank medium of `capacityBlocks`.
std::unique_ptr<VolumeImage> makeUdfVolumeImage(const std::string& volumeId,
                                                uint64_t capacityBlocks);

} // namespace ld
