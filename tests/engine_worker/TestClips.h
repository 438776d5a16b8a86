#pragma once

#include <QString>
#include <QStringList>

// Makes small test clips with the ffmpeg command (lavfi sources).
class TestClips
{
public:
    explicit TestClips(QString directory) : m_directory(std::move(directory)) {}

    // Runs ffmpeg with the arguments and the output file name (inside the
    // directory); returns the full path, or an empty string on failure.
    QString make(const QString& fileName, const QStringList& arguments);

    // A testsrc2 picture with a sine tone, H.264 + AAC in MP4.
    QString standard(const QString& fileName, int width, int height, double seconds, int fps = 25);

    QString path(const QString& fileName) const { return m_directory + "/" + fileName; }
    QString lastError() const { return m_error; }

private:
    QString m_directory;
    QString m_error;
};
