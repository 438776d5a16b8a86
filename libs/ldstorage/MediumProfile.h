#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ld {

// What a kind of disc is to the library: its type bit, MMC profile number, capacity and write
// rates. Image burners emulate one of these; real drives map their profile onto the table.
struct MediumProfile
{
    const char* key;         // "dvd+r", as in the ImageBurners setting
    const char* displayName; // "DVD+R 4.7 GB"
    uint64_t typeBit;        // LD_MediaTypeBits
    uint32_t mmcProfile;     // libburn / MMC profile number
    uint32_t capacityBlocks; // 2048-byte blocks
    bool rewritable;
    std::vector<uint32_t> writeRates; // hundredths of kB/s, fastest first
};

const MediumProfile* mediumByKey(const std::string& key);
const MediumProfile* mediumByMmcProfile(int mmcProfile);
bool isCdMedium(uint64_t typeBits);
// Type bits of any MMC profile libburn names (0 for none it knows).
uint64_t typeBitsOfMmcProfile(int mmcProfile);
// Layers of a medium whose profile does not say: two-layer profiles, and Blu-ray by its size.
int layersBySize(int mmcProfile, uint64_t blocks);

// One "MEDIA:PATH" entry of the ImageBurners setting.
struct ImageBurnerEntry
{
    const MediumProfile* medium;
    std::string path;
};

// Parses ";"-separated entries; malformed ones are logged and skipped.
std::vector<ImageBurnerEntry> parseImageBurners(const std::string& spec);

} // namespace ld
