#pragma once

#include <QString>
#include <QStringList>

// The programs that keep a mounted drive busy: processes whose working folder, open files or
// mapped files lie on it, as /proc shows them to this user. Named so the user knows what to
// close before the drive can be removed.
class MountHolders
{
public:
    // "name (pid)" for each process, sorted; procRoot is a parameter for tests.
    static QStringList of(const QString& mountPoint,
                          const QString& procRoot = QStringLiteral("/proc"));
};
