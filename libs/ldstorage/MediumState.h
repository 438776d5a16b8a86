#pragma once

#include <cstdint>
#include <vector>

namespace ld {

// The medium in a recorder as the media properties report it.
struct MediumState
{
    uint64_t typeBits = 0;   // LD_MediaTypeBits
    uint32_t mmcProfile = 0; // LD_MediaValue
    uint32_t stateBits = 0;  // LD_MediaStateBits
    uint32_t flags = 0;      // LD_MediaFlags
    uint32_t capacityBlocks = 0;
    uint32_t usedBlocks = 0; // also the start of the free area (next writable block)
    uint64_t usedBytes = 0;
    uint64_t freeBytes = 0;
    uint32_t sessions = 0;
    std::vector<uint32_t> writeRates;  // hundredths of kB/s, fastest first
    std::vector<uint32_t> layerBlocks; // capacity of each layer; empty: one layer of all
    std::vector<uint32_t> layerStarts; // where writing starts within each layer
};

} // namespace ld
