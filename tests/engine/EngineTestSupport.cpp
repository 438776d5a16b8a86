#include "EngineTestSupport.h"

#include "OutputReader.h"
#include "TestClips.h"

#include <QDir>
#include <QFile>

namespace EngineTestSupport {

QString makeClip(const QString& dir, const QString& fileName, const QStringList& arguments,
                 QString* error)
{
    TestClips clips(dir);
    const QString path = clips.make(fileName, arguments);
    if (path.isEmpty() && error)
        *error = clips.lastError();
    return path;
}

QString makeStandardClip(const QString& dir, const QString& fileName, int width, int height,
                         double seconds, const QStringList& codecArgs, bool withAudio, int fps)
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
    args << codecArgs;
    return makeClip(dir, fileName, args);
}

ReadBack readBack(const QString& path)
{
    ReadBack r;
    OutputReader reader;
    r.opened = reader.read(path);
    r.error = reader.error();
    if (!r.opened)
        return r;
    r.formatName = reader.formatName();
    r.durationSeconds = reader.durationSeconds();
    r.videoStreams = reader.streamCount("video");
    r.audioStreams = reader.streamCount("audio");
    if (const OutputReader::Stream* video = reader.first("video")) {
        r.videoCodec = video->codec;
        r.width = video->width;
        r.height = video->height;
        r.frameRate = video->frameRate;
        r.videoProfile = video->profile;
        r.videoLevel = video->level;
    }
    if (const OutputReader::Stream* audio = reader.first("audio")) {
        r.audioCodec = audio->codec;
        r.channels = audio->channels;
    }
    r.videoFrames = reader.videoFrames();
    r.decodeErrors = reader.decodeErrors();
    return r;
}

QString writeFakeEngine(const QString& dir, const QByteArray& scriptBody)
{
    const QString path = QDir(dir).filePath("KavoEngine");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    f.write("#!/bin/sh\n");
    f.write(scriptBody);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace EngineTestSupport
