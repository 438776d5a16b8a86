#include "SpaceShortage.h"

#include <QDir>
#include <QLocale>

namespace {

constexpr quint64 MiB = 1048576;
constexpr quint64 GiB = 1073741824;
// The largest CD the recorders write: discs above it are DVDs or larger.
constexpr quint64 LargestCd = 0x2C600000;

} // namespace

QString SpaceShortage::roundedSize(quint64 bytes, bool roundUp)
{
    const quint64 wholeMiB = roundUp ? (bytes + MiB - 1) / MiB : bytes / MiB;
    if (wholeMiB < 1000)
        return tr("%1 MB").arg(qMax<quint64>(wholeMiB, roundUp ? 1 : 0));
    // Hundredths of a GB, rounded the same way as the MB figure.
    const quint64 hundredths = roundUp ? (bytes * 100 + GiB - 1) / GiB : bytes * 100 / GiB;
    return tr("%1 GB").arg(QLocale().toString(double(hundredths) / 100.0, 'f', 2));
}

QString SpaceShortage::disc(quint64 neededBytes, quint64 freeBytes, quint64 totalBytes)
{
    // Exactly the free space does not fit either (the file system needs room of its own):
    // there is always at least 1 MB to remove.
    const quint64 excess = neededBytes > freeBytes ? neededBytes - freeBytes : 0;
    const QString needed = roundedSize(neededBytes, true);
    const QString room = roundedSize(freeBytes, false);
    const QString remove = roundedSize(excess, true);
    const bool blank = freeBytes >= totalBytes;
    const bool cd = qMax(totalBytes, freeBytes) <= LargestCd;
    if (blank) {
        return cd ? tr("These videos need %1; this disc holds %2. Remove about %3 of videos, or "
                       "choose a DVD.")
                        .arg(needed, room, remove)
                  : tr("These videos need %1; this disc holds %2. Remove about %3 of videos, or "
                       "choose a disc that holds more.")
                        .arg(needed, room, remove);
    }
    return cd ? tr("These videos need %1; this disc has room for %2. Remove about %3 of videos, "
                   "or choose a blank disc or a DVD.")
                    .arg(needed, room, remove)
              : tr("These videos need %1; this disc has room for %2. Remove about %3 of videos, "
                   "or choose a blank disc.")
                    .arg(needed, room, remove);
}

QString SpaceShortage::usbFigures(quint64 neededBytes, quint64 freeBytes)
{
    return tr("These videos need %1; this drive has %2 free.")
        .arg(roundedSize(neededBytes, true), roundedSize(freeBytes, false));
}

QString SpaceShortage::writtenImage(const QString& imagePath)
{
    return tr("The image file %1 already holds a disc. Remove or rename it to write a new one.")
        .arg(QDir::toNativeSeparators(imagePath));
}
