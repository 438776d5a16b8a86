#pragma once

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

// One diagnostic line of the burner, written to the standard output and flushed when the object
// goes out of scope:  BurnerLog() << "Layers: " << count;
// With tracing on, the line also goes to Qt's debug stream, so it lands in the wizard's trace.
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

    // Where the lines go (the standard output unless a caller says otherwise).
    static void SetStream(std::FILE* stream);
    static void SetTracing(bool on);

    // Milliseconds on a monotonic clock, for the duration lines.
    static uint64_t Milliseconds();
    // "Duration (HH:MM:SS.ss): 00:MM:SS.hh" for a call that took elapsedMs.
    static std::string Duration(uint64_t elapsedMs);

private:
    std::ostringstream m_line;
};
