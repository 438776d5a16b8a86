#pragma once

#include <QString>
#include <QtGlobal>

// The write rates measured on each destination, kept in the settings (subkey "WriteRates" of
// the wizard's settings, one value per drive root, bytes per second). A drive's own figure,
// measured over the time it was written to (a disc's read-back included, since the burner's
// progress covers it), beats any rate the drive or the recorder announces; a drive never
// written to has none.
class WriteRateStore
{
public:
    // The stored rate of root, or 0.
    static quint32 rate(const QString& root);
    // A transfer wrote bytes to root in elapsedMs: the stored rate becomes that figure. Too
    // short a write (under half a second, or under a megabyte) says nothing and is not kept.
    static bool record(const QString& root, quint64 bytes, qint64 elapsedMs);

    // A disc is written, then read back: the read-back's time over the write's on root, as
    // last measured (subkey "VerifyShares", in thousandths). Unmeasured, a recorder reads the
    // disc back at about the speed it wrote it, and an image file comes back from the system's
    // cache it was just written through, in a fraction of the time.
    static double verifyShare(const QString& root);
    static bool recordVerifyShare(const QString& root, qint64 writeMs, qint64 verifyMs);
};
