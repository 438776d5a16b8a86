#pragma once

#include <cstdint>

// The disc in a recorder. A block is 2048 bytes.
class DiscInfo
{
public:
    static constexpr uint64_t kBlockSize = 2048;

    virtual ~DiscInfo() = default;

    uint32_t reserved0 = 0;
    uint32_t reserved1 = 0;
    // Medium property 4, as the library reports it.
    uint32_t value = 0;
    uint32_t usedBlocks = 0;
    uint32_t freeBlocks = 0;
    bool erasable = false;
    bool writable = false;
};
