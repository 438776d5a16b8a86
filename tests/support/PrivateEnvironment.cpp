#include "PrivateEnvironment.h"

#include <QDir>
#include <QFile>

void PrivateEnvironment::use(const QString& root)
{
    for (const char* d : {"home/Desktop", "config", "cache", "data", "run", "clips"})
        QDir(root).mkpath(QString::fromLatin1(d));
    QFile::setPermissions(root + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(root + "/home"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root + "/cache"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/data"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + "/run"));
    useHives(root);
}

void PrivateEnvironment::useHives(const QString& dir)
{
    qputenv("KAVO_USER_HIVE", QFile::encodeName(dir + "/user.reg"));
    qputenv("KAVO_MACHINE_HIVE", QFile::encodeName(dir + "/machine.reg"));
}
