#pragma once

#include "DiscInfo.h"
#include "Drive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CBurnThread;
class StorageLibrary;

// The layer between the burner facade and the storage library: finds the recorders, describes
// the disc in one, and owns the burn thread. Results are the facade's codes (0, 2, 5, 7, 32, 39).
class LumadiscAPI
{
public:
    explicit LumadiscAPI(StorageLibrary& library);
    // Waits for a running burn to end.
    virtual ~LumadiscAPI();

    LumadiscAPI(const LumadiscAPI&) = delete;
    LumadiscAPI& operator=(const LumadiscAPI&) = delete;

    // Fills drives with the recorders that write (filter 3: CDs or DVDs; bit 1 CDs, bit 2
    // DVDs). 0 when at least one was found, else 2.
    uint32_t GetAvailableDrives(int filter, std::vector<Drive>& drives);
    // 0, 2 (the recorder's state cannot be read), 7 (no disc ready), 32 or 39.
    uint32_t GetDiscInformation(const Drive& drive, DiscInfo& info);
    // Free bytes of the disc; 5 when it has none, else as GetDiscInformation.
    uint32_t GetFreeSpace(const Drive& drive, uint64_t& bytes);
    // The fastest write rate the disc takes (the library's first rate / 100); 0, 32 or 39.
    uint32_t GetHighestWriteRate(const Drive& drive, uint32_t& rate);

    uint32_t StartBurn(const Drive& drive, const std::vector<std::u16string>& files,
                       const std::u16string& label);

    CBurnThread& BurnThread() { return *m_burnThread; }
    const CBurnThread& BurnThread() const { return *m_burnThread; }
    StorageLibrary& Library() const { return m_library; }

private:
    StorageLibrary& m_library;
    std::unique_ptr<CBurnThread> m_burnThread;
};
