#include "BurnerDriveLister.h"

#include <QDebug>
#include <QMutexLocker>
#include <vector>

#include "KavoMediaBurner.h"
#include "TransferWizardController.h"

quint32 BurnerDriveLister::blankDiscRate(quint64 freeBytes, quint32 speed)
{
    const quint32 base = freeBytes > LargestCd ? DvdBaseRate : CdBaseRate;
    return base * (speed ? speed : DefaultSpeed);
}

bool BurnerDriveLister::list(TransferWizardController& controller, QList<USBDriveData>& drives)
{
    KavoMediaBurner& burner = controller.m_burner;
    drives.clear();
    controller.m_burnerDrives.clear();
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

    const DeviceState& device = controller.m_deviceState;
    const QString lastDrive = QString::fromStdString(device.lastDriveName);
    for (const Drive& drive : found) {
        if (burner.SetCurrentDrive(drive) != KavoMediaBurner::Success)
            continue;
        USBDriveData record;
        record.root = drive.path();
        const QString root = QString::fromStdU16String(record.root);
        quint64 free = 0;
        const quint32 space = burner.GetFreeSpace(free);
        // A blank, writable disc has free space; a written or closed one answers "full".
        if (space == KavoMediaBurner::Success && free > 0)
            record.status = DriveReady;
        else if (space == KavoMediaBurner::Success || space == KavoMediaBurner::DiscFull)
            record.status = DriveMediumNotWritable;
        else
            record.status = DriveNoMediumInfo;
        record.estimatedRate =
            device.dataRate != 0 && root == lastDrive ? device.dataRate : CdBaseRate;
        if (record.status == DriveReady) {
            quint32 speed = 0;
            if (burner.GetHighestWriteRate(speed) != KavoMediaBurner::Success)
                speed = 0;
            record.freeBytes = free;
            record.estimatedRate = blankDiscRate(free, speed);
        }
        record.totalBytes = record.freeBytes;
        record.displayName = drive.name().empty() ? drive.path() : drive.name();
        drives.append(record);
        controller.m_burnerDrives[record.root] = drive;
    }

    // A write in progress keeps its recorder as the current one.
    std::u16string destination;
    {
        QMutexLocker lock(&controller.m_stateMutex);
        destination = controller.m_burnDestination;
    }
    const auto writing = controller.m_burnerDrives.find(destination);
    if (!destination.empty() && writing != controller.m_burnerDrives.end())
        burner.SetCurrentDrive(writing->second);
    return !drives.isEmpty();
}
