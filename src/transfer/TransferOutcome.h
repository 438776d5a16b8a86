#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// What became of one file of a transfer.
struct FileOutcome
{
    enum State
    {
        // Not tried: the transfer stopped before it, or it was missing.
        NotWritten,
        Arrived,
        Failed,
        Cancelled
    };
    // The file's row in the transfer, in the order the files were handed over.
    int index = 0;
    // The file the user chose (never the converted copy).
    QString source;
    State state = NotWritten;
    // Arrived: where the file is now.
    QString destination;
    // Failed: the code of the part that failed (engine, storage library, errno) and why, in
    // words that name no code.
    int code = 0;
    QString reason;
    // The failure came from the conversion (already told to the user by its own question).
    bool conversionFailed = false;
};

// The end of a transfer, handed over once every thread and process it started has ended.
struct TransferResult
{
    enum End
    {
        // Every file that could be written was written, and the transfer was recorded.
        Completed,
        // A file could not be written: failureText names it and the reason.
        Failed,
        Cancelled,
        // The user chose not to go on after a conversion error.
        Stopped
    };
    End end = Cancelled;
    QList<FileOutcome> files;
    QString failureText;
    // The destination went away while the files were written.
    bool driveLost = false;
    // Bytes per second of the write, 0 when unknown.
    unsigned int rate = 0;

    int count(FileOutcome::State state) const
    {
        int n = 0;
        for (const FileOutcome& f : files)
            n += f.state == state ? 1 : 0;
        return n;
    }
};

Q_DECLARE_METATYPE(FileOutcome)
Q_DECLARE_METATYPE(TransferResult)
