#include "DestinationDrives.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include "DriveComboBox.h"
#include "FileInfoModel.h"
#include "SpaceShortage.h"
#include "TransferWizardServericeInterface.h"
#include "WriteRateStore.h"

namespace {
// The largest file FAT and FAT32 can store: 4 GiB - 1.
constexpr quint64 FatLargestFile = 0xFFFFFFFFull;
} // namespace

void DestinationDrives::clear()
{
    m_burners.clear();
    m_usb.clear();
    m_burnerIndex = 0;
    m_usbIndex = 0;
}

void DestinationDrives::setDrives(const QList<USBDriveData>& burners,
                                  const QList<USBDriveData>& usb)
{
    m_burners = burners;
    m_usb = usb;
}

void DestinationDrives::refresh(TransferWizardServericeInterface& service, bool usbOnly)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!usbOnly) {
        m_burners.clear();
        service.GetBurnerDrives(m_burners);
    }
    m_usb.clear();
    service.GetUSBDrives(m_usb);
    QApplication::restoreOverrideCursor();
}

const USBDriveData* DestinationDrives::current(int method) const
{
    if (method == 1 && m_usbIndex >= 0 && m_usbIndex < m_usb.size())
        return &m_usb[m_usbIndex];
    if (method == 0 && m_burnerIndex >= 0 && m_burnerIndex < m_burners.size())
        return &m_burners[m_burnerIndex];
    return nullptr;
}

bool DestinationDrives::selectByName(const std::u16string& name, int& method)
{
    bool usable = false;
    if (!name.empty()) {
        bool found = false;
        for (int i = 0; i < m_burners.size(); ++i) {
            if (m_burners[i].root == name) {
                m_burnerIndex = i;
                method = 0;
                usable = m_burners[i].freeBytes > 0;
                found = true;
                break;
            }
        }
        for (int i = 0; !found && i < m_usb.size(); ++i) {
            if (m_usb[i].root == name) {
                m_usbIndex = i;
                method = 1;
                usable = true;
                found = true;
            }
        }
    }
    if (m_burnerIndex < 0 || m_burnerIndex >= m_burners.size())
        m_burnerIndex = 0;
    if (m_usbIndex < 0 || m_usbIndex >= m_usb.size())
        m_usbIndex = 0;
    return usable;
}

int DestinationDrives::comboIndex(int method) const
{
    if (method == 0)
        return m_burnerIndex;
    // USB entries follow the burners, or the burner placeholder when there is none.
    const int base = m_burners.isEmpty() ? 1 : int(m_burners.size());
    return m_usb.isEmpty() ? base : base + m_usbIndex;
}

int DestinationDrives::selectComboIndex(int index)
{
    if (index < 0)
        return -1;
    const int burners = int(m_burners.size());
    if (index < burners || (burners == 0 && index == 0)) {
        m_burnerIndex = burners == 0 ? 0 : index;
        return 0;
    }
    m_usbIndex = m_usb.isEmpty() ? 0 : index - (burners == 0 ? 1 : burners);
    if (m_usbIndex >= m_usb.size())
        m_usbIndex = 0;
    return 1;
}

void DestinationDrives::fillCombo(DriveComboBox& combo) const
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool blocked = combo.blockSignals(true);
    combo.clear();
    if (m_burners.isEmpty()) {
        combo.addItem(DriveComboBox::DiscGroup, tr("No CD/DVD burner drive found."), QString(),
                      int(NoBurnerEntry));
    } else {
        // A disc that takes nothing more reports no capacity: no "0.0 MB" beside it.
        for (const USBDriveData& drive : m_burners)
            combo.addItem(DriveComboBox::DiscGroup, QString::fromStdU16String(drive.displayName),
                          drive.totalBytes ? FileInfoModel::sizeText(drive.totalBytes, true)
                                           : QString(),
                          int(BurnerEntry));
    }
    if (m_usb.isEmpty()) {
        combo.addItem(DriveComboBox::USBGroup, tr("Insert USB drive"), QString(), int(NoUSBEntry));
    } else {
        for (const USBDriveData& drive : m_usb)
            combo.addItem(DriveComboBox::USBGroup, QString::fromStdU16String(drive.displayName),
                          FileInfoModel::sizeText(drive.totalBytes, true), int(USBEntry));
    }
    combo.blockSignals(blocked);
    QApplication::restoreOverrideCursor();
}

bool DestinationDrives::updateFreeSpace(const std::u16string& root, quint64 freeBytes)
{
    bool matched = false;
    for (USBDriveData& drive : m_usb) {
        if (drive.root == root) {
            drive.freeBytes = freeBytes;
            matched = true;
        }
    }
    return matched;
}

DestinationDrives::SpaceUsage DestinationDrives::spaceUsage(const USBDriveData& drive,
                                                            quint64 neededBytes)
{
    SpaceUsage usage;
    if (neededBytes > drive.freeBytes || drive.totalBytes == 0) {
        // Nothing left, or a drive that reports no size: show it as full.
        usage.percent = 100;
        return usage;
    }
    usage.remaining = drive.freeBytes - neededBytes;
    const double used = (double(neededBytes) + double(drive.totalBytes) - double(drive.freeBytes)) *
                        100.0 / double(drive.totalBytes);
    usage.percent = qBound(0, int(used), 100);
    return usage;
}

quint32 DestinationDrives::writeRate(const USBDriveData* drive, int method)
{
    if (drive) {
        // What this drive really did last time beats what it announces.
        const quint32 measured = WriteRateStore::rate(QString::fromStdU16String(drive->root));
        return measured ? measured : drive->estimatedRate;
    }
    return method == 1 ? 1048576u : 153600u;
}

QString DestinationDrives::fileSystemNames(unsigned int mask)
{
    static const char* const names[] = {"FAT", "FAT32", "NTFS", "CDFS", "HFS", "HFS+"};
    QStringList required;
    for (unsigned int bit = 0; bit < 6; ++bit) {
        if (mask & (1u << bit))
            required << QString::fromLatin1(names[bit]);
    }
    return required.join(QLatin1Char('/'));
}

quint64 DestinationDrives::largestFile(const FileInfoModel& model, bool unchanged, QString& name)
{
    quint64 largest = 0;
    name.clear();
    for (int row = 0; row < model.rowCount(); ++row) {
        const bool converted = !unchanged && !model.outputPath(row).isEmpty();
        const quint64 bytes =
            converted ? model.outputBytes(row) : quint64(QFileInfo(model.sourcePath(row)).size());
        if (bytes > largest) {
            largest = bytes;
            name = QFileInfo(model.sourcePath(row)).fileName();
        }
    }
    return largest;
}

QString DestinationDrives::statusMessage(const USBDriveData* drive, int method, quint64 neededBytes,
                                         unsigned int requiredFileSystems, quint64 largestBytes,
                                         const QString& largestFile)
{
    const bool disc = method == 0;
    if (!drive)
        return disc ? tr("No CD/DVD burner drive found.")
                    : tr("No USB drive found. Please insert USB drive.");
    if (!drive->problem.empty())
        return tr("Unable to write the disc image: %1.")
            .arg(QString::fromStdU16String(drive->problem));
    if (drive->status == DriveNoMediumInfo)
        return disc ? tr("There is no disc detected.  Please insert a disc or select another "
                         "drive to continue.")
                    : tr("There is no USB drive detected.  Please insert a USB drive or "
                         "select another drive to continue.");
    if (drive->status == DriveMediumNotWritable) {
        if (!disc)
            return tr("Unable to write to the USB drive that is inserted. Please insert "
                      "another USB drive to continue.");
        const QString text = tr("Unable to write to the disc that is inserted. Please insert "
                                "another disc to continue.");
        // An image burner's "disc" is a file: the way out is to move that file aside.
        const QString root = QString::fromStdU16String(drive->root);
        const QFileInfo image(root);
        if (image.isFile() && image.size() > 0)
            return text + QLatin1Char(' ') + SpaceShortage::writtenImage(root);
        return text;
    }
    if (drive->freeBytes == 0)
        return disc ? tr("Your Disc is full.  Please insert another disc to continue.")
                    : tr("Your USB Drive is full.  Please remove one or more videos to "
                         "continue.");
    // Exactly the free space does not fit: the file system needs room of its own. A disc
    // with room left is not full: say by how much the videos are too large and what helps.
    if (neededBytes >= drive->freeBytes)
        return disc ? SpaceShortage::disc(neededBytes, drive->freeBytes, drive->totalBytes)
                    : tr("Your USB drive does not have enough free space available for this "
                         "transfer.  Please remove one or more videos or make room on your "
                         "USB drive to continue.") +
                          QLatin1Char(' ') +
                          SpaceShortage::usbFigures(neededBytes, drive->freeBytes);
    if (!disc && requiredFileSystems != FS_ALL && !(drive->fileSystem & requiredFileSystems))
        return tr("USB drive must be formatted %1.  Please insert another USB drive to "
                  "continue.")
            .arg(fileSystemNames(requiredFileSystems));
    // FAT keeps file sizes in 32 bits: say so now rather than fail after the conversions.
    if (!disc && (drive->fileSystem == FS_FAT || drive->fileSystem == FS_FAT32) &&
        largestBytes > FatLargestFile)
        return tr("The video %1 is 4 GB or larger and cannot be stored on a USB drive formatted "
                  "%2.  Please remove the video or insert a USB drive formatted NTFS or exFAT to "
                  "continue.")
            .arg(largestFile, fileSystemNames(drive->fileSystem));
    return {};
}
