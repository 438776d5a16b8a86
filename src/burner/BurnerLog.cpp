#include "BurnerLog.h"

#include "BurnerLogging.h"
#include "LdLog.h"

#include <QString>

#include <atomic>
#include <chrono>

namespace {
std::atomic<std::FILE*> g_stream{nullptr};
} // namespace

BurnerLog::~BurnerLog()
{
    std::string text = m_line.str();
    // A text that carries its own line end (the access lines do) is not given a second one.
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (std::FILE* out = g_stream.load()) {
        std::fprintf(out, "%s\n", text.c_str());
        std::fflush(out);
    }
    qCDebug(lcBurner).noquote() << QString::fromStdString(text);
}

BurnerLog& BurnerLog::operator<<(const std::u16string& text)
{
    m_line << QString::fromStdU16String(text).toStdString();
    return *this;
}

void BurnerLog::SetStream(std::FILE* stream)
{
    g_stream = stream;
}

void BurnerLog::PassStorageLines()
{
    ld::setLogSink([](const std::string& line) {
        qCDebug(lcStorage).noquote() << QString::fromStdString(line);
    });
}

uint64_t BurnerLog::Milliseconds()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string BurnerLog::Duration(uint64_t elapsedMs)
{
    const unsigned long minutes = static_cast<unsigned long>(elapsedMs / 60000);
    const unsigned long seconds = static_cast<unsigned long>((elapsedMs / 1000) % 60);
    const unsigned long hundredths = static_cast<unsigned long>((elapsedMs % 1000) / 10);
    char text[64];
    std::snprintf(text, sizeof text, "Duration (HH:MM:SS.ss): 00:%02lu:%02lu.%02lu", minutes,
                  seconds, hundredths);
    return text;
}
