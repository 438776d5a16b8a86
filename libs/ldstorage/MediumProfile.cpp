#include "MediumProfile.h"

#include "LDStorage.h"
#include "LdLog.h"

#include <algorithm>
#include <cctype>
#include <sys/stat.h>

namespace ld {

namespace {

// 1x is 150 kB/s on CD, 1385 kB/s on DVD, 4496 kB/s on Blu-ray; rates go in hundredths.
std::vector<uint32_t> rates(uint32_t oneX, std::initializer_list<uint32_t> factors)
{
    std::vector<uint32_t> out;
    for (uint32_t f : factors)
        out.push_back(oneX * f * 100);
    return out;
}

// The path with "//", "/./" and a trailing "/" taken out.
std::string lexicalPath(const std::string& path)
{
    std::string out;
    size_t pos = 0;
    while (pos < path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(pos, end - pos);
        if (!part.empty() && part != ".")
            out += "/" + part;
        pos = end + 1;
    }
    return out.empty() ? "/" : out;
}

// Whether two image paths name one file: the same text, or (when both exist) the same inode.
bool sameFile(const std::string& a, const std::string& b)
{
    if (lexicalPath(a) == lexicalPath(b))
        return true;
    struct stat sa = {};
    struct stat sb = {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

const std::vector<MediumProfile>& table()
{
    static const std::vector<MediumProfile> media = {
        {"cd-r", "CD-R 700 MB", LD_TypeCDR, 0x09, 359424, false, rates(150, {48, 24, 16, 8, 4})},
        {"cd-rw", "CD-RW 700 MB", LD_TypeCDRW, 0x0a, 359424, true, rates(150, {24, 16, 10, 4})},
        {"dvd-r", "DVD-R 4.7 GB", LD_TypeDVDR, 0x11, 2295104, false, rates(1385, {16, 8, 4, 2})},
        {"dvd+r", "DVD+R 4.7 GB", LD_TypeDVDPlusR, 0x1b, 2295104, false,
         rates(1385, {16, 8, 4, 2})},
        {"dvd-rw", "DVD-RW 4.7 GB", LD_TypeDVDRW, 0x13, 2295104, true, rates(1385, {6, 4, 2})},
        {"bd-r", "BD-R 25 GB", LD_TypeBDR, 0x41, 12219392, false, rates(4496, {12, 6, 4, 2})},
    };
    return media;
}

std::string trimmed(const std::string& s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

} // namespace

const MediumProfile* mediumByKey(const std::string& key)
{
    std::string lower = key;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const MediumProfile& m : table())
        if (lower == m.key)
            return &m;
    return nullptr;
}

const MediumProfile* mediumByMmcProfile(int mmcProfile)
{
    for (const MediumProfile& m : table())
        if (int(m.mmcProfile) == mmcProfile)
            return &m;
    return nullptr;
}

bool isCdMedium(uint64_t typeBits)
{
    return typeBits == LD_TypeCDROM || typeBits == LD_TypeCDR || typeBits == LD_TypeCDRW;
}

uint64_t typeBitsOfMmcProfile(int profile)
{
    if (const MediumProfile* known = mediumByMmcProfile(profile))
        return known->typeBit;
    static const std::pair<int, uint64_t> others[] = {
        {0x08, LD_TypeCDROM},      {0x10, LD_TypeDVDROM},    {0x12, LD_TypeDVDRAM},
        {0x14, LD_TypeDVDRW},      {0x1a, LD_TypeDVDPlusRW}, {0x2a, LD_TypeDVDPlusRW},
        {0x2b, LD_TypeDVDPlusRDL}, {0x15, LD_TypeDVDRDL},    {0x16, LD_TypeDVDRDL},
        {0x40, LD_TypeBDROM},      {0x42, LD_TypeBDR},       {0x43, LD_TypeBDRE},
    };
    for (const auto& [number, bits] : others)
        if (number == profile)
            return bits;
    return 0;
}

int layersBySize(int profile, uint64_t blocks)
{
    if (profile == 0x15 || profile == 0x16 || profile == 0x2a || profile == 0x2b)
        return 2;
    if (profile < 0x40 || profile > 0x43)
        return 1;
    // A Blu-ray layer holds 25 GB (12 219 392 blocks); BDXL layers hold a third more.
    constexpr uint64_t layer = 12219392;
    if (blocks <= layer + layer / 20)
        return 1;
    if (blocks <= 2 * layer + layer / 10)
        return 2;
    return blocks <= 50050000 ? 3 : 4;
}

std::vector<ImageBurnerEntry> parseImageBurners(const std::string& spec)
{
    std::vector<ImageBurnerEntry> out;
    size_t pos = 0;
    while (pos <= spec.size()) {
        size_t end = spec.find(';', pos);
        if (end == std::string::npos)
            end = spec.size();
        const std::string entry = trimmed(spec.substr(pos, end - pos));
        pos = end + 1;
        if (entry.empty())
            continue;
        const size_t colon = entry.find(':');
        const MediumProfile* medium =
            colon == std::string::npos ? nullptr : mediumByKey(trimmed(entry.substr(0, colon)));
        const std::string path = colon == std::string::npos ? "" : trimmed(entry.substr(colon + 1));
        if (!medium || path.empty() || path[0] != '/') {
            logLine("Ignoring image burner entry \"" + entry +
                    "\": expected MEDIA:/absolute/path with MEDIA one of cd-r, cd-rw, dvd-r, "
                    "dvd+r, dvd-rw, bd-r");
            continue;
        }
        // Two burners on one file would overwrite each other's discs: the first one keeps it.
        const auto same = std::find_if(out.begin(), out.end(), [&](const ImageBurnerEntry& e) {
            return sameFile(e.path, path);
        });
        if (same != out.end()) {
            logLine("Ignoring image burner entry \"" + entry + "\": " + path +
                    " is already the image of the " + same->medium->key + " burner");
            continue;
        }
        out.push_back({medium, path});
    }
    return out;
}

} // namespace ld
