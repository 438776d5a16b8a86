#pragma once

#include <QByteArray>
#include <QString>

// Whole files in and out, for setting up and comparing.
class TestFiles
{
public:
    // The file's bytes; empty when it cannot be read.
    static QByteArray read(const QString& path);
    // Writes the bytes as the whole file, creating its folder; false when that fails.
    static bool write(const QString& path, const QByteArray& bytes);
};
