#pragma once

#include <QString>
#include <QStringList>

// A reader or tool we did not write (ffprobe, xorriso, 7z, blkid, udfinfo...), run to its end
// in a UTF-8 locale so that non-ASCII names come through as they are.
class ToolRun
{
public:
    int exitCode = -1; // -1: did not start, crashed or hung
    QString out;
    QString err;

    bool ok() const { return exitCode == 0; }

    static ToolRun run(const QString& program, const QStringList& arguments,
                       int timeoutMs = 20 * 60 * 1000);
    // Standard output of a run that ended well, else an empty string.
    static QString output(const QString& program, const QStringList& arguments);
    // Extracts the whole of a disc image into a folder with xorriso (Rock Ridge names).
    static ToolRun extractImage(const QString& image, const QString& into,
                                int timeoutMs = 20 * 60 * 1000);
};
