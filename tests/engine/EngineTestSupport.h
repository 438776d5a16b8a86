#pragma once

#include <QString>
#include <QStringList>

#include "WorkerRun.h"

// Clips made by the ffmpeg command and stand-in workers, for the engine's tests.
namespace EngineTestSupport {

// Runs "ffmpeg -y <arguments> <dir>/<fileName>"; returns the path or an empty
// string (with the reason in error) on failure.
QString makeClip(const QString& dir, const QString& fileName, const QStringList& arguments,
                 QString* error = nullptr);

// A testsrc2 picture with a sine tone of the given length; videoArgs/audioArgs
// choose the codecs (e.g. {"-c:v","libx264"}); an empty audioArgs list with
// withAudio false makes a silent clip.
QString makeStandardClip(const QString& dir, const QString& fileName, int width, int height,
                         double seconds, const QStringList& codecArgs, bool withAudio = true,
                         int fps = 25);

// What a converted file holds, read back and fully decoded by the worker tests' OutputReader.
struct ReadBack
{
    bool opened = false;
    QString error;
    QString formatName;
    double durationSeconds = 0;
    QString videoCodec;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    int videoProfile = 0; // codec profile (H.264: 77 Main, 100 High)
    int videoLevel = 0;
    QString audioCodec;
    int channels = 0;
    int videoStreams = 0;
    int audioStreams = 0;
    int videoFrames = 0;
    int decodeErrors = 0;
};
ReadBack readBack(const QString& path);

// Writes an executable shell script named KavoEngine into dir, for tests that
// need a worker that misbehaves; returns its path.
QString writeFakeEngine(const QString& dir, const QByteArray& scriptBody);

} // namespace EngineTestSupport
