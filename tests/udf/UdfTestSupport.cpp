#include "UdfTestSupport.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace udftest {

int writeImage(udf::BridgeImage& image, const QString& path, int chunk)
{
    burn::burn_source* source = image.makeBurnSource();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<unsigned char> buffer(static_cast<size_t>(chunk));
    const std::vector<unsigned char> zeros(static_cast<size_t>(chunk), 0);
    off_t at = 0;
    int n = 0;
    while ((n = source->read_xt(source, buffer.data(), chunk)) > 0) {
        if (std::equal(buffer.begin(), buffer.begin() + n, zeros.begin()) ||
            ::pwrite(fd, buffer.data(), size_t(n), at) == n)
            at += n;
        else
            n = -1;
    }
    if (::ftruncate(fd, at) != 0)
        n = -1;
    ::close(fd);
    burn::burn_source_free(source);
    return n;
}

QMap<QString, QString> keyValues(const QString& text)
{
    QMap<QString, QString> map;
    static const QRegularExpression pair(R"re((\w+)=(?:"([^"]*)"|(\S*)))re");
    for (auto it = pair.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        map.insert(m.captured(1), m.captured(2).isEmpty() ? m.captured(3) : m.captured(2));
    }
    return map;
}

QMap<QString, qint64> isoListing(const QString& image, bool joliet, QMap<QString, QString>* dates)
{
    // isoinfo prints no UTF-8, so Joliet names come from xorriso, which also joins the records
    // of a multi-extent file; isoinfo lists every record, so its sizes are summed.
    // "-r-xr-xr-x    1 0        0          100000 Dec  6 16:26 '/b.bin'"
    static const QRegularExpression xorrisoLine(
        R"re(^-\S+\s+\d+\s+\d+\s+\d+\s+(\d+) (\w+\s+\d+\s+\S+) '/(.*)'$)re");
    // "----------   0    0    0     100000 Dec  6 2026 [    271 00]  B.BIN;1 "; isoinfo prints
    // the multi-extent flag as "FFFF" without the bracket.
    static const QRegularExpression isoinfoLine(
        R"re(^-\S+\s+\d+\s+\d+\s+\d+\s+(\d+) (\w+\s+\d+\s+\d+) \[\s*\d+ [0-9A-F]+\]?\s+(\S.*) $)re");
    const ToolRun r =
        joliet ? ToolRun::run("xorriso", {"-indev", image, "-find", "/", "-exec", "lsdl"})
               : ToolRun::run("isoinfo", {"-l", "-i", image});
    QMap<QString, qint64> files;
    for (const QString& l : (r.out + r.err).split('\n')) {
        const auto m = (joliet ? xorrisoLine : isoinfoLine).match(l);
        if (!m.hasMatch())
            continue;
        files[m.captured(3)] += m.captured(1).toLongLong();
        if (dates)
            dates->insert(m.captured(3), m.captured(2).simplified());
    }
    return files;
}

QByteArray readExtents(const QString& image, const std::vector<udf::FileExtent>& extents)
{
    QFile f(image);
    QByteArray bytes;
    if (!f.open(QIODevice::ReadOnly))
        return bytes;
    for (const udf::FileExtent& e : extents) {
        f.seek(qint64(e.lba) * 2048);
        bytes += f.read(qint64(e.length));
    }
    return bytes;
}

} // namespace udftest
