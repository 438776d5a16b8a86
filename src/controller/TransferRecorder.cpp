#include "TransferRecorder.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QMetaObject>
#include <QUrl>
#include <memory>

#include "PingManager.h"
#include "TransferDevice.h"
#include "TransferDevices.h"
#include "TransferState.h"

namespace {
constexpr int BurnOnlyDeviceId = 1000;
constexpr int MethodDisc = 1;
constexpr int MethodUSB = 2;
} // namespace

QByteArray TransferRecorder::deviceWord(int type)
{
    switch (type) {
    case 0:
        return "DVDPlayer";
    case 1:
        return "BlueRayPlayer";
    case 2:
        return "TV";
    case 3:
        return "PlayStation3";
    default:
        return "MobilePhone";
    }
}

TransferRecorder::Outcome TransferRecorder::record(const DeviceState& state, int previousState,
                                                   int chosenProfile, const QStringList& files)
{
    Outcome outcome;
    const bool toDisc = previousState == TransferState::WritingDisc;
    outcome.medium = toDisc ? "Burner" : "USB";

    if (state.deviceID == BurnOnlyDeviceId) {
        outcome.profileWord = "FileBurningOnly";
    } else if (previousState > TransferState::Transcoding) {
        auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
        std::unique_ptr<TransferDevicesLibrary::TransferDevice> device(
            library ? library->GetDevice(uint32_t(state.deviceID)) : nullptr);
        if (device) {
            // Transcode profile to stored profile.
            int stored = -1;
            switch (chosenProfile) {
            case 1:
                stored = 2;
                outcome.profileWord = "HD1080";
                break;
            case 3:
                stored = 1;
                outcome.profileWord = "HomeTheater576";
                break;
            case 4:
                stored = 3;
                outcome.profileWord = "KavoPlusHD1080";
                break;
            default:
                break;
            }
            if (stored >= 0)
                device->SetProfile(uint32_t(stored));
            device->SetLastUsedMethod(toDisc ? MethodDisc : MethodUSB);
            device->SetLastDriveName(state.lastDriveName);
            if (state.dataRate != 0)
                device->SetDataRate(state.dataRate);
            device->MarkConfigured();
            outcome.deviceWord = deviceWord(int(device->GetType()));
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
