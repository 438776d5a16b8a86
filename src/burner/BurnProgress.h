#pragma once

#include "LDStorage.h"

#include <atomic>
#include <cstdint>

// The burn's copy of the library's last progress report: six words in the library's layout.
// The library's callback thread writes them (under the storage-access mutex, against other
// writers); the facade reads them from the controller's thread without a lock, so each word is
// atomic.
class BurnProgress
{
public:
    enum Word
    {
        Size,
        CurrentSector,
        TotalSectors,
        Phase,
        ErrorCode,
        DeviceHandle,
        WordCount
    };

    BurnProgress() { m_words[Size] = sizeof(LD_ProgressRecord); }

    void Clear()
    {
        for (auto& word : m_words)
            word = 0;
        m_writeTotal = 0;
        m_written = 0;
    }
    void Store(const LD_ProgressRecord& record)
    {
        m_words[Size] = record.size;
        m_words[Phase] = record.phase;
        m_words[ErrorCode] = record.errorCode;
        m_words[DeviceHandle] = record.deviceHandle;
        // The total before the current sector, so a reader never sees a current sector of a new
        // report against the total of an older one that is smaller.
        m_words[TotalSectors] = record.totalSectors;
        m_words[CurrentSector] = record.currentSector;
        // The sectors written outlast the write's own reports: the read-back counts anew.
        if (record.phase == LD_PhaseWrite || record.phase == LD_PhaseClose) {
            m_writeTotal = record.totalSectors;
            m_written = record.currentSector;
        }
    }

    uint32_t Get(Word word) const { return m_words[word]; }
    uint32_t Current() const { return m_words[CurrentSector]; }
    uint32_t Total() const { return m_words[TotalSectors]; }
    int32_t Error() const { return int32_t(m_words[ErrorCode].load()); }
    // The last count of the write itself (write and close phases), 0 before it starts.
    uint32_t Written() const { return m_written; }
    uint32_t WriteTotal() const { return m_writeTotal; }

private:
    std::atomic<uint32_t> m_words[WordCount]{};
    std::atomic<uint32_t> m_writeTotal{0};
    std::atomic<uint32_t> m_written{0};
};
