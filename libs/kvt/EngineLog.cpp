#include "EngineLog.h"

#include "EngineLogging.h"
#include "TranscodeEnums.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>

#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace kvt {

namespace {

struct LogState
{
    std::mutex mutex;
    LoggerSettings settings;
};

LogState& state()
{
    static LogState s;
    return s;
}

bool classEnabled(int level, int messageClass)
{
    if (level & KAVO_ALL_MSG)
        return true;
    return (level & messageClass) != 0;
}

} // namespace

void EngineLog::configure(const LoggerSettings& settings)
{
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.settings = settings;
    if (s.settings.enable && !s.settings.logDirectory.empty())
        QDir().mkpath(QString::fromStdString(s.settings.logDirectory));
}

void EngineLog::write(int messageClass, const std::string& text)
{
    if (messageClass & (KAVO_CRITICAL_MSG | KAVO_ERROR_MSG | KAVO_WARNING_MSG))
        qCDebug(lcEngine).noquote() << "KavoTranscode" << QString::fromStdString(text);

    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.settings.enable || s.settings.logDirectory.empty() ||
        !classEnabled(s.settings.level, messageClass))
        return;
    const std::string path = s.settings.logDirectory + "/KavoTranscode.log";
    if (FILE* f = std::fopen(path.c_str(), "ae")) {
        const QByteArray stamp = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8();
        std::fprintf(f, "%s %s\n", stamp.constData(), text.c_str());
        std::fclose(f);
    }
}

std::string EngineLog::workerLogPath()
{
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.settings.enable || s.settings.logDirectory.empty())
        return {};
    // A log that cannot be written must not stop the conversion: the worker
    // would fail to start with its standard error pointing nowhere.
    const std::string path = s.settings.logDirectory + "/KavoEngine.log";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return {};
    ::close(fd);
    return path;
}

} // namespace kvt
