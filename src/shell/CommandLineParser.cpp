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

CommandLineParser::Unattended CommandLineParser::parseUnattended() const
{
    Unattended options;
    for (int i = 0; i < m_arguments.size(); ++i) {
        const QString word = m_arguments[i].toLower();
        const bool hasValue = i + 1 < m_arguments.size();
        if (word == QLatin1String("-start")) {
            options.start = true;
        } else if (word == QLatin1String("-to") && hasValue) {
            const QString value = m_arguments[++i];
            // A file-manager action may hand over a URL.
            options.destination = value.startsWith(QLatin1String("file:"))
                                      ? QUrl::fromEncoded(value.toUtf8()).toLocalFile()
                                      : value;
        } else if (word == QLatin1String("-profile") && hasValue) {
            options.profileText = m_arguments[++i];
            bool ok = false;
            const int value = options.profileText.toInt(&ok, 10);
            options.profileValid = ok && (value == 0 || value == 1 || value == 3 || value == 4);
            options.profile = options.profileValid ? value : -1;
        } else if (word == QLatin1String("-file") || word == QLatin1String("-id")) {
            // Their values are never switches of ours.
            ++i;
        }
    }
    return options;
}
