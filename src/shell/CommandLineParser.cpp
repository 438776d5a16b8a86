#include "CommandLineParser.h"

#include <QUrl>

namespace {
enum class Expect
{
    Nothing,
    DeviceId,
    File
};
enum Seen : unsigned
{
    SeenTransfer = 1,
    SeenIdValue = 2,
    SeenIdValid = 4
};
constexpr unsigned SeenAll = SeenTransfer | SeenIdValue | SeenIdValid;
} // namespace

CommandLineParser::CommandLineParser(const QStringList& arguments) : m_arguments(arguments) {}

bool CommandLineParser::parse(QStringList& files, unsigned int& deviceId,
                              bool& activationFiles) const
{
    files.clear();
    deviceId = 0;
    activationFiles = false;
    if (m_arguments.isEmpty())
        return false;

    Expect expect = Expect::Nothing;
    unsigned seen = 0;
    for (const QString& argument : m_arguments) {
        switch (expect) {
        case Expect::File:
            // A value is taken whatever it looks like, even another switch.
            files.append(QUrl::fromEncoded(argument.toUtf8()).toLocalFile());
            expect = Expect::Nothing;
            break;
        case Expect::DeviceId: {
            bool ok = false;
            const uint value = argument.toUInt(&ok, 10);
            if (ok) {
                deviceId = value;
                seen |= SeenIdValue | SeenIdValid;
            }
            expect = Expect::Nothing;
            break;
        }
        case Expect::Nothing: {
            const QString word = argument.toLower();
            if (word == QLatin1String("-xfer"))
                seen |= SeenTransfer;
            else if (word == QLatin1String("-activationvideo"))
                activationFiles = true;
            else if (word == QLatin1String("-file"))
                expect = Expect::File;
            else if (word == QLatin1String("-id"))
                expect = Expect::DeviceId;
            break;
        }
        }
    }

    if ((seen & SeenAll) != SeenAll) {
        files.clear();
        deviceId = 0;
        activationFiles = false;
        return false;
    }
    return true;
}
