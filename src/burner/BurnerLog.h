#pragma once

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

// One diagnostic line of the burner, handed to Qt's debug stream (category portavo.burner) when
// the object goes out of scope:  BurnerLog() << "Layers: " << count;
// The trace file gets it; the terminal only when diagnostics were asked for.
class BurnerLog
{
public:
    BurnerLog() = default;
    ~BurnerLog();

    BurnerLog(const BurnerLog&) = delete;
    BurnerLog& operator=(const BurnerLog&) = delete;

    template <class T> BurnerLog& operator<<(const T& value)
    {
        m_line << value;
        return *this;
    }
    BurnerLog& operator<<(const std::u16string& text);
    BurnerLog& operator<<(const char16_t* text) { return *this << std::u16string(text); }

    // A stream that also gets every line, flushed (tests read it); none by default.
    static void SetStream(std::FILE* stream);
    // The storage library's lines go the same way (category portavo.storage) instead of to
    // the standard output.
    static void PassStorageLines();

    // Milliseconds on a monotonic clock, for the duration lines.
    static uint64_t Milliseconds();
    // "Duration (HH:MM:SS.ss): 00:MM:SS.hh" for a call that took elapsedMs.
    static std::string Duration(uint64_t elapsedMs);

private:
    std::ostringstream m_line;
};
