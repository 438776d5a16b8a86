#include "DeviceChoices.h"

#include <QCoreApplication>
#include <QDebug>
#include <memory>

#include "DeviceProfiles.h"
#include "TransferDevice.h"
#include "TransferDevices.h"
#include "USBDriveData.h"

namespace {
constexpr unsigned int BurnOnlyDeviceId = 1000;
constexpr unsigned int FirstStoredDeviceId = 10000;
constexpr unsigned int PlayStationFileSystems = 3;
} // namespace

bool DeviceChoices::read(unsigned int deviceID, DeviceState& state, QString& notice)
{
    notice.clear();
    if (deviceID < FirstStoredDeviceId)
        return false;
    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> device(
        library ? library->GetDevice(deviceID) : nullptr);
    if (device) {
        state.profile = int(device->GetProfile());
        state.registrationState = device->GetRegistrationState();
        state.method = device->GetLastUsedMethod();
        state.lastDriveName = device->GetLastDriveName();
        state.deviceName = device->GetName();
        state.type = int(device->GetType());
        state.promptForRegistration = device->GetPromptForRegistration();
        state.dataRate = device->GetDataRate();
    } else {
        state.type = int(deviceID - FirstStoredDeviceId);
    }
    if (library)
        notice = library->TakeUserNotice();
    return device != nullptr;
}

WizardStartParameters DeviceChoices::startParameters(unsigned int deviceID,
                                                     const DeviceState& state, bool stored)
{
    WizardStartParameters parameters;
    parameters.profile = 0;
    parameters.driveType = -1;
    parameters.burnOnly = deviceID == BurnOnlyDeviceId;
    parameters.requiredFSType = FS_ALL;
    if (stored) {
        parameters.profile =
            int(DeviceProfiles::transcodeProfile(DeviceProfiles::StoredProfile(state.profile)));
        parameters.driveType = DeviceProfiles::driveKind(DeviceProfiles::Method(state.method));
        parameters.driveLetter = QString::fromStdString(state.lastDriveName).toStdU16String();
    }
    switch (DeviceProfiles::DeviceType(state.type)) {
    case DeviceProfiles::DeviceType::DVDPlayer:
        //: device kind; it completes "This choice will work with any Kavo Certified %1"
        parameters.deviceLabel =
            QCoreApplication::translate("TransferWizardController", "DVD Player");
        break;
    case DeviceProfiles::DeviceType::BluRayPlayer:
        parameters.deviceLabel =
            QCoreApplication::translate("TransferWizardController", "Blu-ray Player");
        break;
    case DeviceProfiles::DeviceType::TV:
        //: device kind: a television
        parameters.deviceLabel = QCoreApplication::translate("TransferWizardController", "TV");
        break;
    case DeviceProfiles::DeviceType::PlayStation3:
        parameters.deviceLabel =
            QCoreApplication::translate("TransferWizardController", "Playstation 3");
        parameters.profile = int(DeviceProfiles::TranscodeProfile::HomeTheater);
        parameters.skipProfilePage = true;
        parameters.requiredFSType = PlayStationFileSystems;
        break;
    default:
        parameters.deviceLabel =
            QCoreApplication::translate("TransferWizardController", "Mobile Phone");
        break;
    }
    qDebug().noquote().nospace() << "TransferWizardController::startWizard() Profile: "
                                 << parameters.profile << ", drive type: " << parameters.driveType
                                 << ", burn only: " << parameters.burnOnly << ", drive letter: "
                                 << QString::fromStdU16String(parameters.driveLetter)
                                 << ", required FS type:" << parameters.requiredFSType;
    return parameters;
}
