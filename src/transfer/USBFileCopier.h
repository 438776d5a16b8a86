#pragma once

#include <QString>
#include <functional>
#include <unistd.h>

#include "FileNameMapper.h"

// The system calls that make a copy durable. Tests replace them to make one fail.
struct USBFileOperations
{
    int (*fsync)(int fd) = ::fsync;
};

// Copies one file into a folder of a USB drive without ever losing data: the bytes go to a part
// file (CopyPartFile) in chunks, are flushed to the drive, and only then does the file take its
// name. An existing file of that name is never replaced: a different file makes the copy take
// the next free name "name (2).ext"; the same content already there counts as copied. The name
// is first made one the drive accepts (see FileNameMapper); a drive of unknown type that refuses
// a name as invalid gets the Windows form of it once. A part file a killed copy left is removed;
// one another transfer is writing is waited for, so a file is never copied twice; another
// program's "name.part" keeps its name free. Every read, write, flush and rename is checked; on
// failure or cancel the part file is removed. The source is only read.
class USBFileCopier
{
public:
    // Called before the first chunk and after each one with the bytes copied so far and the
    // file's size; returning false cancels the copy.
    using Progress = std::function<bool(quint64 transferred, quint64 total)>;

    enum class Outcome
    {
        Copied,
        Failed,
        Cancelled
    };

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        // Where the file is now (Copied only).
        QString destination;
        // errno of the failure, and a sentence naming what went wrong.
        int error = 0;
        QString reason;
    };

    using FileOperations = USBFileOperations;

    // Bytes moved per step; progress and cancel are checked between steps.
    static constexpr qint64 ChunkBytes = qint64(4) << 20;
    // FAT and FAT32 store sizes in 32 bits.
    static constexpr qint64 FatFileLimit = (qint64(1) << 32) - 1;

    // fatLimit: the drive is FAT/FAT32, so files above FatFileLimit are refused before a byte
    // is written. names: the rules of the drive's file system.
    static Result copy(const QString& source, const QString& folder, const Progress& progress,
                       bool fatLimit = false, const FileNameMapper& names = FileNameMapper(),
                       const FileOperations& operations = FileOperations());

    // The first of "name.ext", "name (2).ext", "name (3).ext"... in folder for which neither
    // the file nor a part file of it exists (under the drive's rules for names).
    static QString freeName(const QString& folder, const QString& fileName,
                            const FileNameMapper& names = FileNameMapper());
};
