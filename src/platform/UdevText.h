#pragma once

#include <QByteArray>
#include <QString>

// udev's encoded values (by-label link names, the _ENC properties of its database): bytes it
// does not keep as they are, a space among them, are written "\x20".
class UdevText
{
public:
    static QString decode(const QByteArray& encoded);
};
