// Creates COUNT devices in the device library of this user, as a second
// program would: devices_creator COUNT. Prints "READY" once the library is
// open, waits for a line on its standard input so that several programs can
// start together, then prints each new id on its own line. It works from a
// thread of its own, as a program's worker would, so it waits for the others.
#include "TransferDevice.h"
#include "TransferDevices.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

using namespace TransferDevicesLibrary;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1;
    TransferDevices* library = TransferDevices::Instance("TransferWizard");
    if (!library->IsOpen())
        return 1;
    std::printf("READY\n");
    std::fflush(stdout);
    char go[16];
    if (!std::fgets(go, sizeof go, stdin))
        return 1;
    int rc = 0;
    std::thread worker([&] {
        for (int i = 0; i < count; ++i) {
            const std::unique_ptr<TransferDevice> device(
                library->CreateDevice("creator " + std::to_string(i)));
            if (!device) {
                rc = 1;
                continue;
            }
            std::printf("%u\n", device->GetDeviceId());
        }
    });
    worker.join();
    std::fflush(stdout);
    delete library;
    return rc;
}
