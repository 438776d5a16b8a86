#include "TransferRecorder.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QMetaObject>
#include <QUrl>
#include <memory>

#include "DeviceProfiles.h"
#include "PingManager.h"
#include "TransferDevice.h"
#include "TransferDevices.h"

namespace {
constexpr int BurnOnlyDeviceId = 1000;
constexpr uint32_t FirstStoredDeviceId = 10000;
} // namespace

TransferRecorder::Outcome TransferRecorder::record(const DeviceState& state, bool toDisc,
                                                   int chosenProfile, const QStringList& files)
{
    using TransferDevicesLibrary::TransferDevice;
    Outcome outcome;
    outcome.medium = toDisc ? "Burner" : "USB";
    const auto profile = DeviceProfiles::TranscodeProfile(chosenProfile);

    if (state.deviceID == BurnOnlyDeviceId) {
        outcome.profileWord = "FileBurningOnly";
    } else if (uint32_t(state.deviceID) >= FirstStoredDeviceId) {
        auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
        std::unique_ptr<TransferDevice> device(
            library ? library->GetDevice(uint32_t(state.deviceID)) : nullptr);
        // A device chosen by its type alone has no row yet: the finish page promises that
        // the choices are remembered, so it gets one.
        if (library && !device) {
            device.reset(library->CreateDeviceWithId(uint32_t(state.deviceID), state.deviceName));
            if (device && !device->SetType(uint32_t(state.type)))
                qDebug().noquote() << "TransferRecorder: the new device's type was not stored";
        }
        outcome.profileWord = DeviceProfiles::profileWord(profile);
        if (device) {
            const DeviceProfiles::StoredProfile stored = DeviceProfiles::storedProfile(profile);
            if (stored != DeviceProfiles::StoredProfile::None)
                device->SetProfile(uint32_t(stored));
            device->SetLastUsedMethod(
                int(toDisc ? DeviceProfiles::Method::Disc : DeviceProfiles::Method::USB));
            device->SetLastDriveName(state.lastDriveName);
            if (state.dataRate != 0)
                device->SetDataRate(state.dataRate);
            device->MarkConfigured();
            outcome.stored = true;
            outcome.deviceWord =
                DeviceProfiles::deviceWord(DeviceProfiles::DeviceType(device->GetType()));
        }
    }

    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return outcome;
    QMetaObject::invokeMethod(
        app,
        [outcome, files]() {
            QUrl url = sendUsagePing(
                "DeviceTypeAndMedium-" + outcome.deviceWord + "-" + outcome.medium, true);
            qDebug().noquote() << "TransferWizardController " + url.toString();
            url = sendUsagePing("TranscodeProfile-" + outcome.profileWord, true);
            qDebug().noquote() << "TransferWizardController " + url.toString();
            for (const QString& file : files) {
                url = sendUsagePing("FileExtension-" + QFileInfo(file).suffix().toUtf8(), true);
                qDebug().noquote() << "TransferWizardController " + url.toString();
            }
        },
        Qt::AutoConnection);
    return outcome;
}
