#pragma once

#include <QFile>
#include <QString>

#include <string>

namespace kvt {

// File names cross the engine's interface as UTF-16; the kernel wants the
// local 8-bit encoding (normally UTF-8).
inline std::string toLocalPath(const std::u16string& path)
{
    return QFile::encodeName(QString::fromStdU16String(path)).toStdString();
}

inline std::u16string fromLocalPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path)).toStdU16String();
}

} // namespace kvt
