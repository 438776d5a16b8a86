#pragma once

#include <QString>
#include <QStringList>

// Makes small test clips in a folder with the ffmpeg command (lavfi sources).
class TestClips
{
public:
    explicit TestClips(QString directory) : m_directory(std::move(directory)) {}

    // Runs ffmpeg with the arguments and the output file name (inside the
    // directory); returns the full path, or an empty string on failure.
    QString make(const QString& fileName, const QStringList& arguments);

    // A testsrc2 picture with a 48 kHz sine tone (none when withAudio is false), encoded with
    // codecArgs (e.g. {"-c:v","libx264"}).
    QString picture(const QString& fileName, int width, int height, double seconds,
                    const QStringList& codecArgs, bool withAudio = true, int fps = 25);

    // A testsrc2 picture with a 44.1 kHz sine tone, H.264 + AAC.
    QString standard(const QString& fileName, int width, int height, double seconds, int fps = 25);
    // MPEG-4 and MP3 in AVI at 320x240: plays on the mobile profile as it is.
    QString fitting(const QString& fileName, double seconds = 2);
    // H.264 and AAC: every profile that plays MPEG-4 ASP video must convert it.
    QString converting(const QString& fileName, int width = 320, int height = 240,
                       double seconds = 1);
    // A file with a video extension and no video in it.
    QString damaged(const QString& fileName);

    // What ffprobe reads in a file: "format,video codec,decoded video frames", or empty when it
    // cannot be read.
    static QString probe(const QString& path);

    QString path(const QString& fileName) const { return m_directory + "/" + fileName; }
    QString lastError() const { return m_error; }

private:
    QString m_directory;
    QString m_error;
};
