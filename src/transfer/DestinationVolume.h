#pragma once

#include <QString>
#include <sys/types.h>

// The drive a copy writes to, as it was when the copy began. Tells the failure of one file (a
// name the drive refuses, a size it cannot hold, a read error of that video) from a drive that
// can take no more files: full, read-only, or gone (unmounted or pulled out).
class DestinationVolume
{
public:
    explicit DestinationVolume(const QString& root);

    // Whether a file's failure with this errno, as things stand now, ends the whole copy.
    bool endsTransfer(int error) const;
    // Whether the drive is still mounted where it was, writable, with room left.
    bool usable() const;

private:
    QString m_root;
    dev_t m_device = 0;
    bool m_known = false;
};
