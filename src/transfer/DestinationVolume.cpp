#include "DestinationVolume.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

DestinationVolume::DestinationVolume(const QString& root) : m_root(root)
{
    struct stat st;
    m_known = ::stat(QFile::encodeName(root).constData(), &st) == 0;
    if (m_known)
        m_device = st.st_dev;
}

bool DestinationVolume::endsTransfer(int error) const
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EROFS:
    case ENODEV:
    case ENXIO:
    case ENOTCONN:
    case ESHUTDOWN:
        return true;
    default:
        return !usable();
    }
}

bool DestinationVolume::usable() const
{
    const QByteArray root = QFile::encodeName(m_root);
    struct stat st;
    // An unmounted drive leaves its mount point behind on another file system.
    if (::stat(root.constData(), &st) != 0 || (m_known && st.st_dev != m_device))
        return false;
    struct statvfs vfs;
    if (::statvfs(root.constData(), &vfs) != 0 || (vfs.f_flag & ST_RDONLY) || vfs.f_bavail == 0)
        return false;
    return ::access(root.constData(), W_OK) == 0;
}
