#include "WizardShell.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QResource>
#include <QStringList>
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "CommandLineParser.h"
#include "DiagnosticOutput.h"
#include "Formatting.h"
#include "HelpLinkOpener.h"
#include "PingManager.h"
#include "PortavoLayout.h"
#include "SettingsAccessors.h"
#include "ShellLogging.h"
#include "TerminationSignals.h"
#include "TransferWizardController.h"
#include "TranslationLoader.h"
#include "TranslationTag.h"
#include "UnattendedTransfer.h"

namespace {

std::atomic<TransferWizardController*> s_running{nullptr};
// Held shared while a later launch is handed over, exclusively while the wizard is torn
// down, so a hand-over never reaches a controller that is being destroyed.
std::shared_mutex s_runningLock;

std::unique_ptr<TranslationLoader> s_translations;

QString installString(const char* path, const char* name)
{
    std::string value;
    if (!ReadInstallSetting(path, name, value))
        return {};
    return QString::fromUtf8(value.data(), qsizetype(value.size()));
}

QString installWideString(const char16_t* path, const char16_t* name)
{
    std::u16string value;
    if (!ReadInstallSetting(std::u16string(path), std::u16string(name), value))
        return {};
    return QString::fromUtf16(value.data(), qsizetype(value.size()));
}

bool isDir(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// A part that sits beside the program in a build tree and in the data folder once installed.
QString besideOrInstalled(const QString& besideProgram, const QString& inDataDir)
{
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/" PORTAVO_DATA_FROM_BIN "/") + inDataDir);
}

} // namespace

QString WizardShell::usageText()
{
    //: command-line help; the switches, numbers and the example address stay as they are
    return QCoreApplication::translate(
        "WizardShell",
        "Usage: portavo -xfer -id DEVICE [-file URL]... [-activationvideo]\n"
        "Puts videos on a disc or a USB drive that a home video device can play.\n"
        "  -xfer             start the transfer wizard (required)\n"
        "  -id DEVICE        the device to serve (required): 10000 DVD player, 10001 Blu-ray\n"
        "                    player, 10002 TV, 10003 PlayStation 3, 10004 mobile phone, or\n"
        "                    the number of a device stored before; 1000 writes the files\n"
        "                    as they are, without converting them\n"
        "  -file URL         a video to add, as a file URL (file:///home/alice/a%20b.mp4);\n"
        "                    repeat it for more videos\n"
        "  -activationvideo  the videos are activation videos: they go to the top of the list\n"
        "While the wizard runs, the same command hands further videos to it.\n");
}

TransferWizardController* WizardShell::runningController()
{
    return s_running.load();
}

void WizardShell::setUpPluginPaths()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    QString candidate = appDir + QStringLiteral("/../../../import/Vendor/Qt/all/plugins");
    if (!isDir(candidate)) {
        const QString installDir = installString("Qt4.5", "InstallDir");
        if (!installDir.isEmpty()) {
            const QString plugins =
                QDir::fromNativeSeparators(installDir) + QStringLiteral("/plugins");
            if (isDir(plugins))
                candidate = plugins;
        }
    }
    qCDebug(lcShell).noquote() << candidate;
    if (!isDir(candidate)) {
        candidate = QStringLiteral("/Library/Application Support/Kavo/QtPlugins");
        if (!isDir(candidate))
            candidate.clear();
    }
    // Qt's own plug-in folder holds the SQLite driver here: it goes only when a replacement
    // folder takes its place.
    if (!candidate.isEmpty()) {
        QCoreApplication::removeLibraryPath(QLibraryInfo::path(QLibraryInfo::PluginsPath));
        QCoreApplication::addLibraryPath(candidate);
    }
}

QString WizardShell::translationsDir()
{
    return besideOrInstalled(QCoreApplication::applicationDirPath() + QStringLiteral("/i18n"),
                             QStringLiteral("i18n"));
}

void WizardShell::installTranslations()
{
    QString localeName = TranslationTag::messagesLocaleName();
    if (localeName.isEmpty())
        localeName = QLocale::system().name();
    const QString configured = installWideString(u"TransferWizard", u"Locale");
    if (!configured.isEmpty())
        localeName = configured;
    const QString i18nDir = translationsDir();
    qCDebug(lcShell).noquote() << "i18 Dir: " + i18nDir;
    s_translations = std::make_unique<TranslationLoader>();
    s_translations->install(localeName, i18nDir);
    setUiLanguage(s_translations->language());
}

int WizardShell::run(int& argc, char** argv)
{
    auto app = std::make_unique<QApplication>(argc, argv);
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString resourceFile =
        besideOrInstalled(appDir + QStringLiteral("/../Resources/DeviceTransferWizard.rcc"),
                          QStringLiteral("DeviceTransferWizard.rcc"));
    QResource::registerResource(resourceFile, QStringLiteral("/"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromUtf8(argv[i]));
    if (!arguments.isEmpty())
        arguments.removeFirst();
    // First, so no diagnostic line reaches the terminal unasked.
    DiagnosticOutput::install(arguments);
    setUpPluginPaths();
    // Help links show their page even on a desktop without a web browser.
    auto helpLinks = std::make_unique<HelpLinkOpener>();
    helpLinks->install();

    qCDebug(lcShell).noquote() << "applicationDirPath(): " + appDir;
    const QStringList iconPaths = QDir::searchPaths(QStringLiteral("icon"));
    for (int i = 0; i < iconPaths.size(); ++i)
        qCDebug(lcShell).noquote().nospace() << "Path[ " << i << " ]: " << iconPaths.at(i);

    installTranslations();

    QStringList files;
    unsigned int deviceID = 0;
    bool activationFiles = false;
    const CommandLineParser parser(arguments);
    const CommandLineParser::Unattended unattended = parser.parseUnattended();
    // The launcher's answer: always 0 for the wizard, the outcome for an unattended run.
    int result = 0;
    if (!parser.parse(files, deviceID, activationFiles)) {
        if (unattended.active()) {
            UnattendedTransfer::refuse(
                files, QCoreApplication::translate("WizardShell",
                                                   "the command line needs -xfer and -id N"));
            result = UnattendedTransfer::NotStarted;
        } else {
            // No wizard, as before; but a person who typed the command learns how to use it.
            std::fputs(usageText().toLocal8Bit().constData(), stderr);
        }
    } else {
        // SIGTERM and SIGINT end the wizard as its window would: everything is torn down. An
        // unattended run cancels its transfer instead and reports it.
        std::unique_ptr<TerminationSignals> termination;
        if (!unattended.active())
            termination = std::make_unique<TerminationSignals>();
        TransferWizardController controller;
        if (qEnvironmentVariableIsSet("KAVO_TEST_TRANSFER_STATE"))
            controller.setTransferState(qEnvironmentVariableIntValue("KAVO_TEST_TRANSFER_STATE"));
        s_running.store(&controller);
        // The wizard ends when its dialog closes, whatever the other windows do.
        QObject::connect(controller.dialog(), &QDialog::finished, app.get(),
                         &QCoreApplication::quit, Qt::QueuedConnection);
        if (unattended.active() && !unattended.profileValid) {
            UnattendedTransfer::refuse(
                files, QCoreApplication::translate(
                           "WizardShell", "\"%1\" is not a transcode profile (0, 1, 3 or 4)")
                           .arg(unattended.profileText));
            result = UnattendedTransfer::NotStarted;
        } else if (unattended.active()) {
            UnattendedTransfer run(controller, unattended.destination, unattended.profile);
            run.start(files, deviceID, activationFiles);
            app->exec();
            result = run.exitCode();
        } else {
            controller.launchWizard(files, deviceID, activationFiles);
            if (!termination->received())
                app->exec();
        }
        std::unique_lock<std::shared_mutex> lock(s_runningLock);
        s_running.store(nullptr);
    }

    pingManager()->clear();
    helpLinks.reset();
    s_translations.reset();
    app.reset();
    QResource::unregisterResource(resourceFile, QStringLiteral("/"));
    return result;
}

void WizardShell::forwardCommandLine(int argc, const char* const* argv)
{
    std::shared_lock<std::shared_mutex> lock(s_runningLock);
    TransferWizardController* controller = s_running.load();
    if (!controller || !argv)
        return;
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        if (argv[i])
            arguments.append(QString::fromUtf8(argv[i]));
    }
    QStringList files;
    unsigned int deviceID = 0;
    bool activationFiles = false;
    const CommandLineParser parser(arguments);
    if (!parser.parse(files, deviceID, activationFiles))
        return;
    controller->appendTransferFiles(files, deviceID, activationFiles);
}
