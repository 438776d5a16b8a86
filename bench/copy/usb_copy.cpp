// Copies files into a folder with the wizard's USB copier, as the save step does, and prints
// the seconds it took and the bytes copied.
//   usb_copy DEST FILE...
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

#include "USBFileCopier.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: usb_copy DEST FILE...\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    qint64 bytes = 0;
    for (const QString& file : args.mid(1)) {
        const USBFileCopier::Result result =
            USBFileCopier::copy(file, args.first(), [](quint64, quint64) { return true; });
        if (result.outcome != USBFileCopier::Outcome::Copied) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(result.reason));
            return 1;
        }
        bytes += QFileInfo(file).size();
    }
    std::printf("%.3f %lld\n", double(clock.nsecsElapsed()) / 1e9, static_cast<long long>(bytes));
    return 0;
}
