#include "TestClips.h"

#include "ToolRun.h"

#include <QFile>

QString TestClips::make(const QString& fileName, const QStringList& arguments)
{
    const QString out = path(fileName);
    const ToolRun ffmpeg = ToolRun::run(
        "ffmpeg", QStringList{"-nostdin", "-v", "error", "-y"} + arguments + QStringList{out},
        120000);
    if (!ffmpeg.ok()) {
        m_error = ffmpeg.err;
        return {};
    }
    return out;
}

QString TestClips::picture(const QString& fileName, int width, int height, double seconds,
                           const QStringList& codecArgs, bool withAudio, int fps)
{
    QStringList args = {"-f", "lavfi", "-i",
                        QString("testsrc2=size=%1x%2:rate=%3:duration=%4")
                            .arg(width)
                            .arg(height)
                            .arg(fps)
                            .arg(seconds)};
    if (withAudio)
        args << "-f"
             << "lavfi"
             << "-i" << QString("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds);
    return make(fileName, args + codecArgs);
}

QString TestClips::standard(const QString& fileName, int width, int height, double seconds, int fps)
{
    const QString d = QString::number(seconds);
    return make(
        fileName,
        {"-f", "lavfi", "-i",
         QString("testsrc2=size=%1x%2:rate=%3:duration=%4").arg(width).arg(height).arg(fps).arg(d),
         "-f", "lavfi", "-i", QString("sine=frequency=440:sample_rate=44100:duration=%1").arg(d),
         "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac",
         "-shortest"});
}

QString TestClips::fitting(const QString& fileName, double seconds)
{
    return picture(fileName, 320, 240, seconds,
                   {"-c:v", "mpeg4", "-b:v", "400k", "-c:a", "libmp3lame", "-b:a", "128k", "-ac",
                    "2", "-ar", "44100"});
}

QString TestClips::converting(const QString& fileName, int width, int height, double seconds)
{
    return picture(
        fileName, width, height, seconds,
        {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"});
}

QString TestClips::damaged(const QString& fileName)
{
    QFile f(path(fileName));
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    QByteArray junk;
    for (int i = 0; i < 512; ++i)
        junk += "this is no video at all ";
    f.write(junk);
    return f.fileName();
}

QString TestClips::probe(const QString& path)
{
    const QString format =
        ToolRun::output("ffprobe", {"-v", "error", "-show_entries", "format=format_name", "-of",
                                    "csv=p=0", path})
            .trimmed();
    const QString video =
        ToolRun::output("ffprobe",
                        {"-v", "error", "-select_streams", "v:0", "-count_frames", "-show_entries",
                         "stream=codec_name,nb_read_frames", "-of", "csv=p=0", path})
            .trimmed();
    if (format.isEmpty() || video.isEmpty())
        return QString();
    return format + "," + video;
}
