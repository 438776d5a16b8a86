#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Private stores for one test run, and the clips the queue tests analyse and convert.
namespace QueueTestSupport {

// Points HOME, the XDG folders and both settings hives into root, before anything reads them.
inline void usePrivateEnvironment(const QString& root)
{
    for (const char* d : {"home/Desktop", "config", "cache", "data", "run", "clips"})
        QDir(root).mkpath(QString::fromLatin1(d));
    QFile::setPermissions(root + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(root + "/home"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root + "/cache"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/data"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + "/run"));
    qputenv("KAVO_USER_HIVE", QFile::encodeName(root + "/user.reg"));
    qputenv("KAVO_MACHINE_HIVE", QFile::encodeName(root + "/machine.reg"));
}

// Runs a tool to its end; its standard output, or an empty string when it failed.
inline QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A lavfi test picture with a tone, encoded with codecArgs into dir/name; the path, or empty.
inline QString makeStandardClip(const QString& dir, const QString& name, int width, int height,
                                double seconds, const QStringList& codecArgs)
{
    const QString path = dir + "/" + name;
    QStringList args = {
        "-y",
        "-v",
        "error",
        "-f",
        "lavfi",
        "-i",
        QString("testsrc2=size=%1x%2:rate=25:duration=%3").arg(width).arg(height).arg(seconds),
        "-f",
        "lavfi",
        "-i",
        QString("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds)};
    args << codecArgs << path;
    QProcess p;
    p.start("ffmpeg", args);
    const bool ok =
        p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return ok ? path : QString();
}

// What ffprobe reads in a converted file: "format,video codec,decoded video frames", or empty
// when it cannot be read.
inline QString probe(const QString& path)
{
    const QString format = runTool("ffprobe", {"-v", "error", "-show_entries", "format=format_name",
                                               "-of", "csv=p=0", path})
                               .trimmed();
    const QString video =
        runTool("ffprobe",
                {"-v", "error", "-select_streams", "v:0", "-count_frames", "-show_entries",
                 "stream=codec_name,nb_read_frames", "-of", "csv=p=0", path})
            .trimmed();
    if (format.isEmpty() || video.isEmpty())
        return QString();
    return format + "," + video;
}

// MPEG-4 and MP3 in AVI at 320x240: plays on the mobile profile as it is.
inline QString makeFittingClip(const QString& dir, const QString& name, double seconds = 2)
{
    return makeStandardClip(dir, name, 320, 240, seconds,
                            {"-c:v", "mpeg4", "-b:v", "400k", "-c:a", "libmp3lame", "-b:a", "128k",
                             "-ac", "2", "-ar", "44100"});
}

// H.264 and AAC: every profile that plays MPEG-4 ASP video must convert it.
inline QString makeConvertClip(const QString& dir, const QString& name, int width = 320,
                               int height = 240, double seconds = 1)
{
    return makeStandardClip(
        dir, name, width, height, seconds,
        {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"});
}

// A file with a video extension and no video in it.
inline QString makeDamagedFile(const QString& dir, const QString& name)
{
    const QString path = dir + "/" + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    QByteArray junk;
    for (int i = 0; i < 512; ++i)
        junk += "this is no video at all ";
    f.write(junk);
    return path;
}

// While it lives, the calling thread and the threads it starts meet a file's mode as any user
// does: root gives up reading and searching past permissions (and takes them back after).
class ReadingAsAnyUser
{
public:
    ReadingAsAnyUser() { m_ok = set(false); }
    ~ReadingAsAnyUser() { set(true); }
    bool ok() const { return m_ok; }

private:
    static bool set(bool allowed)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        if (::syscall(SYS_capget, &header, data) != 0)
            return false;
        const __u32 bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        data[0].effective =
            allowed ? data[0].effective | (bits & data[0].permitted) : data[0].effective & ~bits;
        return ::syscall(SYS_capset, &header, data) == 0;
    }
    bool m_ok = false;
};

} // namespace QueueTestSupport
