#include "IsoDirectoryRecords.h"

#include "ByteWriter.h"
#include "LayoutPlanner.h"

#include <cstdio>
#include <ctime>

namespace udf {

namespace {

constexpr size_t pathTableBytes = 10;
constexpr uint8_t flagDirectory = 0x02;
constexpr uint8_t flagMultiExtent = 0x80;

std::tm utc(int64_t seconds)
{
    const time_t t = time_t(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    return tm;
}

// "YYYYMMDDHHMMSScc" and the offset from UTC, for the volume descriptors.
void volumeTime(uint8_t* p, int64_t seconds)
{
    const std::tm tm = utc(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d00", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    std::memcpy(p, text, 16);
    p[16] = 0;
}

void noTime(uint8_t* p)
{
    std::memset(p, '0', 16);
    p[16] = 0;
}

size_t recordLength(size_t identifierLength)
{
    return 33 + identifierLength + (identifierLength % 2 == 0 ? 1 : 0);
}

void putRecord(std::vector<uint8_t>& out, const std::vector<uint8_t>& identifier, uint32_t sector,
               uint32_t bytes, uint8_t flags, int64_t seconds)
{
    const size_t length = recordLength(identifier.size());
    // A record never crosses a sector: pad to the next one.
    const size_t used = out.size() % sectorSize;
    if (used + length > sectorSize)
        out.resize(out.size() + sectorSize - used, 0);
    const size_t at = out.size();
    out.resize(at + length, 0);
    uint8_t* p = out.data() + at;
    p[0] = uint8_t(length);
    putBoth32(p + 2, sector);
    putBoth32(p + 10, bytes);
    IsoDirectoryRecords::recordTime(p + 18, seconds);
    p[25] = flags;
    putBoth16(p + 28, 1);
    p[32] = uint8_t(identifier.size());
    std::copy(identifier.begin(), identifier.end(), p + 33);
}

void putUcs2Padded(uint8_t* p, size_t size, const std::string& text)
{
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char c = i / 2 < text.size() ? text[i / 2] : ' ';
        p[i] = 0;
        p[i + 1] = uint8_t(c);
    }
}

} // namespace

std::vector<uint8_t> IsoDirectoryRecords::joliet(const std::u16string& name)
{
    std::vector<uint8_t> out;
    for (char16_t c : name) {
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c));
    }
    return out;
}

std::vector<uint8_t> IsoDirectoryRecords::ascii(const std::string& name)
{
    return std::vector<uint8_t>(name.begin(), name.end());
}

void IsoDirectoryRecords::recordTime(uint8_t* p, int64_t seconds)
{
    const std::tm tm = utc(seconds);
    p[0] = uint8_t(tm.tm_year);
    p[1] = uint8_t(tm.tm_mon + 1);
    p[2] = uint8_t(tm.tm_mday);
    p[3] = uint8_t(tm.tm_hour);
    p[4] = uint8_t(tm.tm_min);
    p[5] = uint8_t(tm.tm_sec);
    p[6] = 0;
}

std::vector<uint8_t> IsoDirectoryRecords::rootDirectory(const std::vector<Entry>& entries,
                                                        uint32_t selfSector, uint32_t selfBytes,
                                                        int64_t createdSeconds)
{
    std::vector<uint8_t> out;
    putRecord(out, {0}, selfSector, selfBytes, flagDirectory, createdSeconds);
    putRecord(out, {1}, selfSector, selfBytes, flagDirectory, createdSeconds);
    for (const Entry& e : entries) {
        if (e.extents.empty())
            putRecord(out, e.identifier, 0, 0, 0, e.seconds);
        for (size_t i = 0; i < e.extents.size(); ++i)
            putRecord(out, e.identifier, uint32_t(e.extents[i].lba), uint32_t(e.extents[i].length),
                      i + 1 < e.extents.size() ? flagMultiExtent : 0, e.seconds);
    }
    out.resize((out.size() + sectorSize - 1) / sectorSize * sectorSize, 0);
    return out;
}

std::vector<uint8_t> IsoDirectoryRecords::pathTable(uint32_t rootSector, bool bigEndian)
{
    std::vector<uint8_t> out(sectorSize, 0);
    out[0] = 1; // identifier length: the root's single zero byte
    if (bigEndian) {
        putBe32(&out[2], rootSector);
        putBe16(&out[6], 1);
    } else {
        putLe32(&out[2], rootSector);
        putLe16(&out[6], 1);
    }
    return out;
}

void IsoDirectoryRecords::volumeDescriptor(uint8_t* p, const Volume& v)
{
    p[0] = v.joliet ? 2 : 1;
    std::memcpy(p + 1, "CD001", 5);
    p[6] = 1;
    if (v.joliet) {
        putUcs2Padded(p + 8, 32, "LINUX");
        putUcs2Padded(p + 40, 32, v.volumeId);
        std::memcpy(p + 88, "%/E", 3); // UCS-2 level 3
        putUcs2Padded(p + 190, 128, "");
        putUcs2Padded(p + 318, 128, "");
        putUcs2Padded(p + 446, 128, "");
        putUcs2Padded(p + 574, 128, "PORTAVO");
        putUcs2Padded(p + 702, 37, "");
        putUcs2Padded(p + 739, 37, "");
        putUcs2Padded(p + 776, 37, "");
    } else {
        putPadded(p + 8, 32, "LINUX");
        putPadded(p + 40, 32, v.volumeId);
        putPadded(p + 190, 128, "");
        putPadded(p + 318, 128, "");
        putPadded(p + 446, 128, "");
        putPadded(p + 574, 128, "PORTAVO");
        putPadded(p + 702, 37 * 3, "");
    }
    putBoth32(p + 80, v.totalSectors);
    putBoth16(p + 120, 1);
    putBoth16(p + 124, 1);
    putBoth16(p + 128, uint16_t(sectorSize));
    putBoth32(p + 132, uint32_t(pathTableBytes));
    putLe32(p + 140, v.pathTableL);
    putBe32(p + 148, v.pathTableM);

    std::vector<uint8_t> root;
    putRecord(root, {0}, v.rootSector, v.rootBytes, flagDirectory, v.createdSeconds);
    std::copy(root.begin(), root.end(), p + 156);

    volumeTime(p + 813, v.createdSeconds);
    volumeTime(p + 830, v.createdSeconds);
    noTime(p + 847);
    noTime(p + 864);
    p[881] = 1;
}

void IsoDirectoryRecords::terminator(uint8_t* p)
{
    p[0] = 255;
    std::memcpy(p + 1, "CD001", 5);
    p[6] = 1;
}

bool IsoDirectoryRecords::sortsBefore(const std::u16string& a, const std::u16string& b)
{
    auto parts = [](const std::u16string& s) {
        const size_t dot = s.rfind(u'.');
        return dot == std::u16string::npos ? std::make_pair(s, std::u16string())
                                           : std::make_pair(s.substr(0, dot), s.substr(dot + 1));
    };
    auto padded = [](const std::u16string& x, const std::u16string& y) {
        const size_t n = std::max(x.size(), y.size());
        for (size_t i = 0; i < n; ++i) {
            const char16_t cx = i < x.size() ? x[i] : u' ';
            const char16_t cy = i < y.size() ? y[i] : u' ';
            if (cx != cy)
                return cx < cy ? -1 : 1;
        }
        return 0;
    };
    const auto pa = parts(a);
    const auto pb = parts(b);
    if (const int c = padded(pa.first, pb.first))
        return c < 0;
    return padded(pa.second, pb.second) < 0;
}

} // namespace udf
