#include "TraceLog.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

struct TraceFile
{
    QMutex mutex;
    int fd = -1;
    bool attempted = false;
    QString path;
    QtMessageHandler previous = nullptr;

    ~TraceFile()
    {
        // The handler must not outlive the file it writes to.
        if (fd >= 0) {
            qInstallMessageHandler(previous);
            ::close(fd);
            fd = -1;
        }
    }
};

TraceFile& traceFile()
{
    static TraceFile file;
    return file;
}

// One message, one line: line breaks and other control characters inside a message (a file
// name may hold them) are written as escapes, so nobody can split or forge a line of the trace.
QByteArray escapedLine(const QString& message)
{
    QString line;
    line.reserve(message.size() + 1);
    for (const QChar c : message) {
        const char16_t u = c.unicode();
        if (u == '\n')
            line += QLatin1String("\\n");
        else if (u == '\r')
            line += QLatin1String("\\r");
        else if ((u < 0x20 && u != '\t') || u == 0x7F || u == 0x85 || u == 0x2028 || u == 0x2029)
            line += QLatin1String("\\u") + QString::number(u, 16).rightJustified(4, '0');
        else
            line += c;
    }
    return line.toUtf8() + '\n';
}

void writeMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    TraceFile& file = traceFile();
    // The handler before ours decides what the terminal shows.
    if (file.previous)
        file.previous(type, context, message);
    const QByteArray line = escapedLine(message);
    QMutexLocker lock(&file.mutex);
    if (file.fd < 0)
        return;
    const char* data = line.constData();
    qsizetype left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(file.fd, data, size_t(left));
        if (n <= 0)
            break;
        data += n;
        left -= n;
    }
}

} // namespace

bool TraceLog::open(const QString& path)
{
    TraceFile& file = traceFile();
    {
        QMutexLocker lock(&file.mutex);
        if (file.attempted)
            return file.fd >= 0;
        file.attempted = true;
        // Never follow a link planted at the name.
        file.fd = ::open(QFile::encodeName(path).constData(),
                         O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (file.fd < 0)
            return false;
        file.path = path;
    }
    file.previous = qInstallMessageHandler(writeMessage);
    return true;
}

bool TraceLog::isOpen()
{
    TraceFile& file = traceFile();
    QMutexLocker lock(&file.mutex);
    return file.fd >= 0;
}

QString TraceLog::path()
{
    TraceFile& file = traceFile();
    QMutexLocker lock(&file.mutex);
    return file.path;
}
