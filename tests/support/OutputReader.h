#pragma once

#include <QString>
#include <QVector>

// Reads a media file back with libavformat/libavcodec and decodes every
// frame, so a test can tell a file that really plays from one that merely
// has the right header.
class OutputReader
{
public:
    struct Stream
    {
        QString type; // "video", "audio", ...
        QString codec;
        QString tag; // fourcc as text, empty when none
        int width = 0;
        int height = 0;
        int sarNum = 0;
        int sarDen = 1;
        double frameRate = 0.0;
        int sampleRate = 0;
        int channels = 0;
        bool interlaced = false;
        int profile = 0; // codec profile (H.264: 100 High, 77 Main)
        int level = 0;
    };

    // Opens and fully decodes the file; returns false with error() set when
    // it cannot even be opened.
    bool read(const QString& path);

    QString error() const { return m_error; }
    QString formatName() const { return m_formatName; }
    double durationSeconds() const { return m_duration; }
    QVector<Stream> streams() const { return m_streams; }
    int streamCount(const QString& type) const;
    const Stream* first(const QString& type) const;

    int videoFrames() const { return m_videoFrames; }
    // Bytes of all video packets (for the average bit rate).
    qint64 videoBytes() const { return m_videoBytes; }
    int audioFrames() const { return m_audioFrames; }
    int decodeErrors() const { return m_decodeErrors; }
    // Distinct steps between consecutive video timestamps, in seconds
    // (one entry for a constant frame rate).
    QVector<double> videoFrameSteps() const { return m_steps; }
    // Time of the first and the last decoded picture, in seconds.
    double firstVideoTime() const { return m_firstVideoTime; }
    double lastVideoTime() const { return m_lastVideoTime; }
    // Time of the first picture whose mean luma passes 128 (a white flash),
    // and of the first audio sample louder than 0.3 (a beep); -1 when none.
    double firstBrightPictureTime() const { return m_brightTime; }
    double firstLoudSampleTime() const { return m_loudTime; }
    // Comb score of the 40th picture (or the last): mean difference of
    // neighbouring lines over that of lines two apart. About 0.5-0.7 for a
    // progressive picture, above 1 for interlaced motion shown as a frame.
    double combing() const { return m_combing; }
    // Interlaced-flagged pictures among the decoded ones.
    int interlacedFrames() const { return m_interlacedFrames; }
    // Mean luma of the first decoded picture's top row and middle row.
    double topRowLuma() const { return m_topLuma; }
    double middleRowLuma() const { return m_middleLuma; }

private:
    QString m_error;
    QString m_formatName;
    double m_duration = 0.0;
    QVector<Stream> m_streams;
    int m_videoFrames = 0;
    qint64 m_videoBytes = 0;
    int m_audioFrames = 0;
    int m_decodeErrors = 0;
    int m_interlacedFrames = 0;
    QVector<double> m_steps;
    double m_firstVideoTime = 0.0;
    double m_lastVideoTime = 0.0;
    double m_brightTime = -1.0;
    double m_loudTime = -1.0;
    double m_combing = -1.0;
    double m_topLuma = -1.0;
    double m_middleLuma = -1.0;
};
