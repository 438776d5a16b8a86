#include "TestClips.h"

#include <QProcess>

QString TestClips::make(const QString& fileName, const QStringList& arguments)
{
    const QString out = path(fileName);
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 QStringList{"-nostdin", "-v", "error", "-y"} + arguments + QStringList{out});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        m_error = QString::fromUtf8(ffmpeg.readAllStandardError());
        return {};
    }
    return out;
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
