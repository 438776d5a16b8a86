#pragma once

#include "VolumeImage.h"

#include <memory>

namespace ld {

// Whether this build carries the UDF bridge writer (libs/ldstorage/udf).
bool udfWriterAvailable();

// A new UDF 1.50 bridge session (UDF + ISO 9660 over the same file data) for a blank medium
// of `capacityBlocks`; null with a status when the writer is not built in.
std::unique_ptr<VolumeImage> makeUdfVolumeImage(const std::string& volumeId,
                                                uint64_t capacityBlocks, int32_t* status,
                                                std::string* reason);

} // namespace ld
