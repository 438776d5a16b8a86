// The portavo launcher: answers --help and --version, starts the wizard, or hands the command
// line to the one already running for this user.
#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QUrl>
#include <cstdio>
#include <string>
#include <vector>

#include "Formatting.h"
#include "LaunchArguments.h"
#include "LauncherChannel.h"

extern "C" int kavomain(int argc, char** argv);
extern "C" void commandline(int argc, char** argv);

namespace {

// Exit code of a command line that is refused; the wizard's entry point itself returns 0.
constexpr int RejectedExit = 2;

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int errorPage(int argc, char** argv, int code)
{
    // The help pages are found relative to this program.
    QCoreApplication app(argc, argv);
    print(stdout, errorHelpUrl(code) + QLatin1Char('\n'));
    return 0;
}

// One field of a per-file line: tab, newline, carriage return and backslash escaped as the
// unattended run escapes them.
QString escapedField(QString field)
{
    field.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    field.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    field.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    field.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return field;
}

// The refusal of an unattended run: the reason on standard error, a "not started" line per
// file on standard output, as every other refusal.
int refuseUnattended(const QStringList& arguments, const QString& reason)
{
    print(stderr, QStringLiteral("portavo: nothing was transferred: %1\n").arg(reason));
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i].toLower() != QLatin1String("-file"))
            continue;
        const QString file = QUrl::fromEncoded(arguments[++i].toUtf8()).toLocalFile();
        std::fputs(
            (escapedField(file) + QLatin1String("\tnot started\t") + escapedField(reason) + '\n')
                .toUtf8()
                .constData(),
            stdout);
    }
    std::fflush(stdout);
    return 3;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromUtf8(argv[i]);
    const LaunchArguments::Request request = LaunchArguments::interpret(given, QDir::currentPath());
    for (const QString& problem : request.problems)
        print(stderr, problem + QLatin1Char('\n'));
    switch (request.action) {
    case LaunchArguments::Action::Help:
        print(stdout, LaunchArguments::usageText());
        return 0;
    case LaunchArguments::Action::Version:
        print(stdout, LaunchArguments::versionText());
        return 0;
    case LaunchArguments::Action::ErrorPage:
        return errorPage(argc, argv, request.errorCode);
    case LaunchArguments::Action::Reject:
        print(stderr, LaunchArguments::usageText());
        return RejectedExit;
    case LaunchArguments::Action::Run:
        break;
    }

    std::vector<std::string> arguments{argc > 0 ? argv[0] : "portavo"};
    for (const QString& a : request.arguments)
        arguments.push_back(a.toUtf8().toStdString());
    std::vector<char*> pointers;
    for (std::string& a : arguments)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);

    // Asking an open wizard with an empty command line changes nothing there. An unattended
    // run must report its own outcome, so it never hands over.
    if (request.unattended &&
        LauncherChannel::send(LauncherChannel::defaultSocketPath(), {}, 2000) !=
            LauncherChannel::Delivery::NoListener) {
        return refuseUnattended(request.arguments,
                                QStringLiteral("a wizard is already running; close it first."));
    }
    LauncherChannel channel;
    const LauncherChannel::Role role =
        channel.acquire(arguments, [](const std::vector<std::string>& received) {
            std::vector<char*> pointers;
            pointers.reserve(received.size() + 1);
            for (const std::string& a : received)
                pointers.push_back(const_cast<char*>(a.c_str()));
            pointers.push_back(nullptr);
            commandline(int(received.size()), pointers.data());
        });
    if (role == LauncherChannel::Role::Forwarded)
        return 0;
    if (role == LauncherChannel::Role::Unanswered) {
        // A wizard runs, so a second one must not start (it would share the settings, the
        // device library and the temporary files).
        std::fprintf(stderr, "portavo: a wizard is already running, but %s.\n",
                     channel.failure().c_str());
        return 1;
    }
    const int result = kavomain(int(arguments.size()), pointers.data());
    channel.stop();
    return result;
}
