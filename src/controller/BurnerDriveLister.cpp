#include "BurnerDriveLister.h"

#include <QDebug>
#include <vector>

#include "BurnerVolumeInfo.h"
#include "DiscInfo.h"
#include "KavoMediaBurner.h"

quint32 BurnerDriveLister::blankDiscRate(quint64 freeBytes, quint32 speed)
{
    // Recorders report their fastest write as a multiple of the medium's base speed; the
    // storage library here reports kilobytes per second, which no multiple comes near.
    if (speed > MaxSpeedFactor)
        return speed * 1000;
    const quint32 base = freeBytes > LargestCd ? DvdBaseRate : CdBaseRate;
    return base * (speed ? speed : DefaultSpeed);
}

bool BurnerDriveLister::list(KavoMediaBurner& burner, const DeviceState& device,
                             QList<USBDriveData>& drives,
                             std::map<std::u16string, Drive>& recorders)
{
    drives.clear();
    recorders.clear();
    burner.SetCurrentDrive(Drive());

    std::vector<Drive> found;
    const quint32 rc = burner.GetAvailableDrives(3, found);
    if (rc != KavoMediaBurner::Success) {
        qDebug().noquote().nospace()
            << "TransferWizardController: GetAvailableDrives() failed. error " << rc
            << "burners: " << found.size();
        return false;
    }
    qDebug().noquote().nospace() << "TransferWizardController: found burner drives: "
                                 << found.size();

    const QString lastDrive = QString::fromStdString(device.lastDriveName);
    for (const Drive& drive : found) {
        if (burner.SetCurrentDrive(drive) != KavoMediaBurner::Success)
            continue;
        USBDriveData record;
        record.root = drive.path();
        const QString root = QString::fromStdU16String(record.root);
        // A disc that answers is there (4); a blank, writable one can take the files (3).
        DiscInfo disc;
        const bool known = burner.GetDiscInformation(disc) == KavoMediaBurner::Success;
        record.status = known ? DriveMediumNotWritable : DriveNoMediumInfo;
        record.estimatedRate =
            device.dataRate != 0 && root == lastDrive ? device.dataRate : CdBaseRate;
        if (known && disc.freeBlocks > 0 && disc.usedBlocks == 0 && disc.writable) {
            quint64 free = 0;
            if (burner.GetFreeSpace(free) != KavoMediaBurner::Success)
                free = quint64(disc.freeBlocks) * DiscInfo::kBlockSize;
            quint32 speed = 0;
            if (burner.GetHighestWriteRate(speed) != KavoMediaBurner::Success)
                speed = 0;
            record.status = DriveReady;
            record.freeBytes = free;
            record.estimatedRate = blankDiscRate(free, speed);
        }
        // An image path that cannot be written is refused before Start, with the reason.
        if (burner.GetWriteProblem(record.problem) != KavoMediaBurner::Success ||
            !record.problem.empty())
            record.status = DriveMediumNotWritable;
        record.totalBytes = record.freeBytes;
        record.displayName = drive.name().empty() ? drive.path() : drive.name();
        // The disc's own file system and label, as a volume's information gives them.
        const BurnerVolumeInfo volume = BurnerVolumeInfo::of(root);
        record.fileSystem = volume.fileSystem;
        if (!volume.label.isEmpty())
            record.displayName = volume.label.toStdU16String();
        drives.append(record);
        recorders[record.root] = drive;
    }
    burner.SetCurrentDrive(Drive());
    return !drives.isEmpty();
}

std::function<quint32(const std::u16string&)>
BurnerDriveLister::discStateProbe(KavoMediaBurner& burner,
                                  const std::map<std::u16string, Drive>& recorders)
{
    std::map<std::u16string, LD_DeviceRecord> records;
    for (const auto& [root, drive] : recorders)
        records[root] = drive.record();
    return [probe = burner.DiscStateProbe(), records](const std::u16string& root) -> quint32 {
        const auto it = records.find(root);
        return it == records.end() ? 0 : probe(it->second);
    };
}
