#include "UnattendedTransfer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include "FileInfoModel.h"
#include "TransferSession.h"
#include "TransferWizardController.h"
#include "TransferWizardDlg.h"

namespace {

constexpr int BoxPollMs = 100;
int s_signalPipe[2] = {-1, -1};

void onUnixSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(s_signalPipe[0], &byte, 1);
}

void printLine(FILE* stream, const QString& line)
{
    std::fputs(line.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString cleanPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

UnattendedTransfer::UnattendedTransfer(TransferWizardController& controller,
                                       const QString& destination, int profile)
    : m_controller(controller), m_dialog(*controller.dialog()), m_destination(destination),
      m_profile(profile)
{
    m_boxes.setInterval(BoxPollMs);
    connect(&m_boxes, &QTimer::timeout, this, &UnattendedTransfer::dismissMessageBoxes);
    connect(&m_controller, &TransferWizardController::transferFinished, this,
            &UnattendedTransfer::conclude);
}

UnattendedTransfer::~UnattendedTransfer()
{
    m_controller.setPrompts(nullptr);
    // The lines are out and the exit code is set: a late signal must not change them.
    if (m_signals) {
        std::signal(SIGINT, SIG_IGN);
        std::signal(SIGTERM, SIG_IGN);
    }
}

void UnattendedTransfer::installSignalHandlers()
{
    if (s_signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_signalPipe))
        return;
    m_signals = new QSocketNotifier(s_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_signals, &QSocketNotifier::activated, this, &UnattendedTransfer::onSignal);
    struct sigaction action = {};
    action.sa_handler = onUnixSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void UnattendedTransfer::onSignal()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(s_signalPipe[1], &byte, 1);
    cancel();
}

QString UnattendedTransfer::outputLine(const QStringList& fields)
{
    QStringList escaped;
    for (QString field : fields) {
        field.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        field.replace(QLatin1Char('\t'), QLatin1String("\\t"));
        field.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        field.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        escaped << field;
    }
    return escaped.join(QLatin1Char('\t'));
}

void UnattendedTransfer::refuse(const QStringList& files, const QString& reason)
{
    printLine(stderr, tr("portavo: nothing was transferred: %1").arg(reason));
    for (const QString& file : files)
        printLine(stdout, outputLine({file, QStringLiteral("not started"), reason}));
}

void UnattendedTransfer::start(const QStringList& files, unsigned int deviceID,
                               bool activationFiles)
{
    m_files = files;
    m_activation = activationFiles;
    installSignalHandlers();
    m_controller.setPrompts(this);
    m_dialog.runUnattended();
    m_controller.startWizard(files, deviceID, activationFiles, false);
    m_dialog.showNormal();
    m_boxes.start();
    QTimer::singleShot(0, this, &UnattendedTransfer::walk);
}

bool UnattendedTransfer::continueAfterConversionError(int error, const QString& file, bool)
{
    printLine(stderr, tr("portavo: %1 could not be converted (error %2)").arg(file).arg(error));
    return true;
}

bool UnattendedTransfer::chooseProfile(QString& reason)
{
    const WizardStartParameters& start = m_dialog.startParameters();
    if (m_profile < 0 && !start.skipProfilePage && !start.burnOnly && start.profile != 1 &&
        start.profile != 3 && start.profile != 4) {
        // The profile page would ask, and nothing is remembered for this device.
        reason = tr("this device needs a transcode profile: give -profile 0, 1, 3 or 4");
        return false;
    }
    // The files are analysed for this profile as they are added: no second analysis.
    m_dialog.useProfile(m_profile);
    return true;
}

bool UnattendedTransfer::chooseDestination(QString& reason)
{
    const QString wanted = cleanPath(m_destination);
    const DestinationDrives& drives = m_dialog.destinationDrives();
    for (const USBDriveData& drive : drives.burners() + drives.usbDrives()) {
        const QString root = QString::fromStdU16String(drive.root);
        if (root == m_destination || cleanPath(root) == wanted) {
            m_dialog.chooseDestination(drive.root);
            return true;
        }
    }
    reason = tr("%1 is not a USB drive, an \"ExtraDrives\" folder or an image burner")
                 .arg(m_destination);
    return false;
}

void UnattendedTransfer::walk()
{
    if (m_done)
        return;
    QString reason;
    if (!chooseProfile(reason))
        return stopBeforeStart(reason);

    QList<QFileInfo> existing;
    for (const QString& file : m_files) {
        const QFileInfo info(file);
        if (!file.isEmpty() && info.exists())
            existing << info;
    }
    if (existing.isEmpty())
        return stopBeforeStart(tr("none of the files exists"));
    m_dialog.appendFileInfos(existing, m_activation);
    // A signal while the files were analysed.
    if (m_done)
        return;
    if (m_dialog.fileModel()->rowCount() == 0)
        return stopBeforeStart(tr("none of the files can be transferred"));

    // The file page lists the drives and shows the destination's checks.
    m_dialog.showFilePage();
    if (!chooseDestination(reason))
        return stopBeforeStart(reason);
    const QString refused = m_dialog.destinationRefusal();
    if (!refused.isEmpty())
        return stopBeforeStart(refused);

    m_started = true;
    m_dialog.startTransfer();
    // The transfer could not start at all (the session never ran): nothing will end it.
    if (!m_done && !m_controller.session())
        stopBeforeStart(tr("the transfer could not be started"));
}

void UnattendedTransfer::stopBeforeStart(const QString& reason)
{
    if (m_done)
        return;
    refuse(m_files, reason);
    finish(NotStarted);
}

void UnattendedTransfer::finish(int code)
{
    m_done = true;
    m_exitCode = code;
    // Out of whatever reported the end: on to the finish page and out, as a user pressing
    // "Done" and "Finish" would.
    QTimer::singleShot(0, this, [this]() {
        m_boxes.stop();
        if (m_dialog.currentPage() == TransferWizardDlg::TransferProgressPage)
            m_dialog.nextPage();
        if (m_dialog.isVisible())
            m_dialog.accept();
        else
            QCoreApplication::quit();
    });
}

void UnattendedTransfer::cancel()
{
    if (m_done)
        return;
    if (!m_started) {
        for (const QString& file : m_files)
            printLine(stdout, outputLine({file, QStringLiteral("cancelled"), QString()}));
        finish(Cancelled);
        return;
    }
    // The session ends and reports; the window follows it.
    m_controller.cancelTransfer();
}

void UnattendedTransfer::dismissMessageBoxes()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == &m_dialog)
        return;
    // The analysis progress window is modal too and must stay.
    if (modal->inherits("QMessageBox") || modal->inherits("ErrorDialog") ||
        modal->inherits("UnSupportedFileTypeDlg")) {
        printLine(stderr, tr("portavo: closed the message \"%1\"").arg(modal->windowTitle()));
        modal->close();
    }
}

QStringList UnattendedTransfer::fileLine(const QString& source, const TransferResult& result,
                                         int& code) const
{
    const auto failed = [&](const QString& reason) {
        code = qMax(code, int(SomeFailed));
        return QStringList{source, QStringLiteral("failed"), reason};
    };
    const QFileInfo info(source);
    if (source.isEmpty() || !info.exists())
        return failed(tr("the file was not found"));
    const QString wanted = cleanPath(source);
    for (const FileOutcome& outcome : result.files) {
        if (cleanPath(outcome.source) != wanted)
            continue;
        switch (outcome.state) {
        case FileOutcome::Arrived:
            return {source, QStringLiteral("arrived"), outcome.destination};
        case FileOutcome::Failed:
            return failed(outcome.reason);
        case FileOutcome::Cancelled:
            code = qMax(code, int(Cancelled));
            return {source, QStringLiteral("cancelled"), QString()};
        case FileOutcome::NotWritten:
            if (result.end == TransferResult::Cancelled) {
                code = qMax(code, int(Cancelled));
                return {source, QStringLiteral("cancelled"), QString()};
            }
            return failed(tr("the transfer stopped before this file was written"));
        }
    }
    return failed(tr("the file is not a video that can be transferred"));
}

void UnattendedTransfer::conclude(const TransferResult& result)
{
    if (m_done || !m_started)
        return;
    int code = AllArrived;
    for (const QString& file : m_files)
        printLine(stdout, outputLine(fileLine(file, result, code)));
    if (result.driveLost)
        printLine(
            stderr,
            tr("portavo: the destination %1 went away during the transfer").arg(m_destination));
    finish(result.end == TransferResult::Cancelled ? int(Cancelled) : qMin(code, int(SomeFailed)));
}
