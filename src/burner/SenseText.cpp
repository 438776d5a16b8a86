#include "SenseText.h"

#include "LDStorage.h"
#include "StorageStatus.h"

#include <QCoreApplication>

namespace {

constexpr int kAny = -1;

struct SenseRow
{
    int key;
    int asc;
    int ascq;
    const char* text;
};

// First match wins: the specific rows before the general ones of the same code.
const SenseRow kRows[] = {
    {0x2, 0x3A, kAny, QT_TRANSLATE_NOOP("SenseText", "there is no disc in the drive")},
    {0x2, 0x04, kAny,
     QT_TRANSLATE_NOOP("SenseText", "the drive is not ready: the disc is still being loaded")},
    {kAny, 0x27, kAny, QT_TRANSLATE_NOOP("SenseText", "the disc is write-protected")},
    {kAny, 0x30, kAny,
     QT_TRANSLATE_NOOP("SenseText",
                       "the disc is not compatible with this drive (incompatible medium)")},
    {0x5, 0x21, 0x02,
     QT_TRANSLATE_NOOP("SenseText", "the disc is not writable (it is closed or full)")},
    {0x5, 0x64, 0x00,
     QT_TRANSLATE_NOOP("SenseText", "the disc is not writable in the way the drive was asked")},
    {kAny, 0x73, kAny,
     QT_TRANSLATE_NOOP("SenseText",
                       "power calibration failed: the disc may be of poor quality or unsuited "
                       "to this drive; try a disc of another brand")},
    {kAny, 0x0C, 0x09,
     QT_TRANSLATE_NOOP("SenseText",
                       "buffer underrun: the data did not reach the drive fast enough")},
    {kAny, 0x0C, kAny, QT_TRANSLATE_NOOP("SenseText", "the drive could not write to the disc")},
    {kAny, 0x11, kAny, QT_TRANSLATE_NOOP("SenseText", "the disc could not be read back")},
    {0x6, 0x28, kAny, QT_TRANSLATE_NOOP("SenseText", "the disc was changed during the write")},
    {0x6, 0x29, kAny, QT_TRANSLATE_NOOP("SenseText", "the drive was reset during the write")},
    {0x4, kAny, kAny, QT_TRANSLATE_NOOP("SenseText", "the drive reported a hardware fault")},
};

bool matches(int want, uint8_t have)
{
    return want == kAny || want == have;
}

QString tr(const char* text)
{
    return QCoreApplication::translate("SenseText", text);
}

} // namespace

QString SenseText::Describe(uint8_t key, uint8_t asc, uint8_t ascq)
{
    for (const SenseRow& row : kRows) {
        if (matches(row.key, key & 0x0F) && matches(row.asc, asc) && matches(row.ascq, ascq))
            return tr(row.text);
    }
    return QString();
}

QString SenseText::ForFailure(int32_t status, const uint8_t* sense, bool driveGone)
{
    if (status == LD_UserCancelled)
        return QString();
    if (driveGone)
        return tr("the recorder was disconnected or switched off during the write");
    if (sense && (sense[2] & 0x0F) != 0) {
        const QString numbers =
            QString::asprintf("%X/%02X/%02X", sense[2] & 0x0F, sense[3], sense[4]);
        const QString words = Describe(sense[2], sense[3], sense[4]);
        return words.isEmpty()
                   ? tr("the drive reported an error it did not explain (sense %1)").arg(numbers)
                   : tr("%1 (drive sense %2)").arg(words, numbers);
    }
    switch (status) {
    case LD_DataMiscompare:
        return tr("what was read back from the disc differs from the video (verify failed)");
    case LD_MediaFull:
    case LD_NotEnoughStorage:
        return tr("the videos do not fit on the disc");
    case LD_DeviceNotReady:
        return tr("no writable disc is ready in the drive");
    case LD_DeviceInUse:
        return tr("another program is using the recorder");
    case LD_InvalidAccess:
        return tr("your account may not use the recorder");
    case LD_InvalidMediaType:
    case LD_MediaError:
        return tr("the disc in the drive cannot be written");
    case LD_WriteError:
        return tr("the drive could not write to the disc");
    case LD_ReadError:
    case LD_FileNotFound:
    case LD_FileOpenFailed:
        return tr("the video could not be read from the hard disk");
    case LD_NotFound:
        return tr("the recorder could not be found");
    default: {
        const char* name = StorageStatus::Name(status);
        return tr("the recorder failed (%1)")
            .arg(name ? QString::fromLatin1(name) : QString::number(status));
    }
    }
}
