#include "LaunchArguments.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "CommandLineParser.h"
#include "PortavoLayout.h"

namespace {

bool isOneOf(const QString& word, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (word == QLatin1String(name))
            return true;
    }
    return false;
}

// The local path a "-file" value or a bare argument names: a URL with a scheme (file:///a%20b,
// as file managers pass them) or a plain path, absolute or relative. Empty for a URL that
// names no local file.
QString localPath(const QString& value, const QString& workingDir)
{
    // "C:" would read as a scheme; two letters at least make one.
    const qsizetype colon = value.indexOf(QLatin1Char(':'));
    const qsizetype slash = value.indexOf(QLatin1Char('/'));
    const bool hasScheme = colon > 1 && (slash < 0 || colon < slash);
    if (!hasScheme)
        return QDir::cleanPath(QDir(workingDir).absoluteFilePath(value));
    QUrl url = QUrl::fromEncoded(value.toUtf8());
    if (url.host() == QLatin1String("localhost"))
        url.setHost(QString());
    return url.isLocalFile() ? QDir::cleanPath(url.toLocalFile()) : QString();
}

} // namespace

LaunchArguments::Request LaunchArguments::interpret(const QStringList& arguments,
                                                    const QString& workingDir)
{
    Request request;
    QStringList& out = request.arguments;
    QStringList missing;
    bool named = false; // "-xfer" or "-id" given: a launcher's command line
    bool to = false;
    bool start = false;
    bool optionsEnd = false;
    const auto addFile = [&](const QString& value) {
        const QString path = localPath(value, workingDir);
        if (path.isEmpty()) {
            request.problems
                << QStringLiteral("portavo: %1: not a local file; it is not added").arg(value);
            return;
        }
        if (!QFileInfo::exists(path))
            missing << QStringLiteral("portavo: %1: file not found").arg(path);
        out << QStringLiteral("-file")
            << QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const QString word = argument.toLower();
        const bool hasValue = i + 1 < arguments.size();
        if (optionsEnd || !argument.startsWith(QLatin1Char('-')) || argument.size() == 1) {
            addFile(argument);
        } else if (word == QLatin1String("--")) {
            optionsEnd = true;
        } else if (isOneOf(word, {"--help", "-help", "-h", "-?"})) {
            request.action = Action::Help;
            return request;
        } else if (isOneOf(word, {"--version", "-version"})) {
            request.action = Action::Version;
            return request;
        } else if (word == QLatin1String("--error-page")) {
            bool ok = false;
            request.errorCode = hasValue ? arguments[i + 1].toInt(&ok, 10) : 0;
            request.action = ok ? Action::ErrorPage : Action::Reject;
            if (!ok)
                request.problems << QStringLiteral("portavo: --error-page needs an error number");
            return request;
        } else if (word == QLatin1String("-file")) {
            // The very next argument is the file, whatever it looks like; a trailing "-file"
            // adds nothing.
            if (hasValue)
                addFile(arguments[++i]);
        } else if (isOneOf(word, {"-id", "-to", "-profile"})) {
            named = named || word == QLatin1String("-id");
            to = to || word == QLatin1String("-to");
            out << argument;
            if (hasValue)
                out << arguments[++i];
        } else if (isOneOf(word, {"-platform", "-display", "-style", "-stylesheet", "-geometry",
                                  "-qwindowgeometry", "-qwindowtitle", "-qwindowicon",
                                  "-platformtheme", "-plugin", "-session"})) {
            // The toolkit's own options, for QApplication.
            out << argument;
            if (hasValue)
                out << arguments[++i];
        } else if (isOneOf(word,
                           {"-reverse", "-nograb", "-dograb", "-sync", "--debug", "-debug"})) {
            // The toolkit's switches, and the wizard's own for diagnostics on the terminal.
            out << argument;
        } else if (isOneOf(word, {"-xfer", "-start", "-activationvideo"})) {
            named = named || word == QLatin1String("-xfer");
            start = start || word == QLatin1String("-start");
            out << argument;
        } else {
            request.action = Action::Reject;
            request.problems << QStringLiteral("portavo: unknown option \"%1\"").arg(argument);
            return request;
        }
    }

    request.unattended = to && start;
    // An unattended run prints every file's outcome itself, missing ones included.
    if (!request.unattended)
        request.problems << missing;
    if (!named && !request.unattended) {
        out.prepend(QStringLiteral("0"));
        out.prepend(QStringLiteral("-id"));
        out.prepend(QStringLiteral("-xfer"));
        return request;
    }
    QStringList files;
    unsigned int deviceId = 0;
    bool activation = false;
    // An unattended run that names no device explains itself and exits with its own code.
    if (!request.unattended && !CommandLineParser(out).parse(files, deviceId, activation)) {
        request.action = Action::Reject;
        request.problems << QStringLiteral(
            "portavo: -xfer and -id DEVICE go together, with a decimal device number");
    }
    return request;
}

QString LaunchArguments::usageText()
{
    return QStringLiteral(
        "Usage: portavo [FILE|URL]...\n"
        "       portavo -xfer -id DEVICE [-file FILE|URL]... [-activationvideo]\n"
        "       portavo -xfer -id DEVICE -file FILE|URL... -to PATH -start [-profile N]\n"
        "Puts videos on a disc or a USB drive that a home video device can play.\n"
        "\n"
        "  FILE|URL          a video to add: a path, or a file URL (file:///home/al/a%20b.mp4)\n"
        "  -xfer             start the transfer wizard for the device named by -id\n"
        "  -id DEVICE        the device to serve: 10000 DVD player, 10001 Blu-ray player,\n"
        "                    10002 TV, 10003 PlayStation 3, 10004 mobile phone, or the number\n"
        "                    of a device stored before; 1000 writes the files as they are\n"
        "  -file FILE|URL    a video to add; repeat it for more videos\n"
        "  -activationvideo  the videos go to the top of the list\n"
        "  -to PATH          unattended: the destination (a USB drive's mount point, a folder\n"
        "                    named in ExtraDrives, or an image burner's image path)\n"
        "  -start            unattended: start the transfer without clicks\n"
        "  -profile N        unattended: the transcode profile where the wizard would ask:\n"
        "                    0 mobile, 1 HD 1080, 3 home theater, 4 Plus HD\n"
        "  --debug           print diagnostics on the terminal\n"
        "  --error-page N    print the address of the help page of conversion error N\n"
        "  --help            print this text\n"
        "  --version         print the version\n"
        "\n"
        "Without -xfer and -id the wizard opens at its first page with the videos given.\n"
        "While a wizard runs, a later start hands its videos to it.\n"
        "An unattended run prints one line per file (source, outcome, destination or reason)\n"
        "and exits with 0 when every file arrived, 1 when some failed, 2 when cancelled,\n"
        "3 when nothing started. A command line that is refused exits with 2.\n");
}

QString LaunchArguments::versionText()
{
    return QStringLiteral("portavo " PORTAVO_VERSION "\n");
}
