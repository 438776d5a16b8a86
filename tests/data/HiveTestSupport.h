#pragma once

// File helpers shared by the settings store tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace HiveTestSupport {

inline QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace HiveTestSupport
