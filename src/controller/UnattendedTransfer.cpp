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
#include "TransferWizardController.h"
#include "TransferWizardDlg.h"
#include "VideoFileTranscoder.h"

namespace {

constexpr int PollMs = 100;
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

QString fileLine(const QString& source, const char* outcome, const QString& detail)
{
    return source + QLatin1Char('\t') + QLatin1String(outcome) + QLatin1Char('\t') + detail;
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
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &UnattendedTransfer::poll);
    // A vanished destination cancels the transfer through the dialog; remember why it ended.
    connect(&m_dialog, &TransferWizardDlg::destinationDriveRemoved, this,
            [this]() { m_cancelled = true; });
}

UnattendedTransfer::~UnattendedTransfer()
{
    if (m_signals) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
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

void UnattendedTransfer::refuse(const QStringList& files, const QString& reason)
{
    printLine(stderr, tr("portavo: nothing was transferred: %1").arg(reason));
    for (const QString& file : files)
        printLine(stdout, ::fileLine(file, "not started", reason));
}

void UnattendedTransfer::start(const QStringList& files, unsigned int deviceID,
                               bool activationFiles)
{
    m_files = files;
    m_activation = activationFiles;
    installSignalHandlers();
    // Conversion errors are answered here, without the question box.
    disconnect(m_controller.transcoder(), &VideoFileTranscoder::transcoderFatalError, &m_dialog,
               &TransferWizardDlg::transcodeError);
    connect(m_controller.transcoder(), &VideoFileTranscoder::transcoderFatalError, this,
            &UnattendedTransfer::onConversionError);
    m_controller.startWizard(files, deviceID, activationFiles, false);
    m_dialog.showNormal();
    m_poll.start();
    QTimer::singleShot(0, this, &UnattendedTransfer::walk);
}

bool UnattendedTransfer::chooseProfile(QString& reason)
{
    const WizardStartParameters& start = m_dialog.start;
    if (m_profile >= 0) {
        m_dialog.profile = m_profile;
    } else if (!start.skipProfilePage && !start.burnOnly && start.profile != 1 &&
               start.profile != 3 && start.profile != 4) {
        // The profile page would ask, and nothing is remembered for this device.
        reason = tr("this device needs a transcode profile: give -profile 0, 1, 3 or 4");
        return false;
    }
    // The files are analysed for this profile as they are added: no second analysis.
    m_dialog.profileChanged = false;
    return true;
}

bool UnattendedTransfer::chooseDestination(QString& reason)
{
    const QString wanted = cleanPath(m_destination);
    const auto matches = [&](const USBDriveData& drive) {
        const QString root = QString::fromStdU16String(drive.root);
        return root == m_destination || cleanPath(root) == wanted;
    };
    const DestinationDrives& drives = m_dialog.drives;
    std::u16string root;
    for (const USBDriveData& drive : drives.burners() + drives.usbDrives()) {
        if (matches(drive)) {
            root = drive.root;
            break;
        }
    }
    if (root.empty()) {
        reason = tr("%1 is not a USB drive, an \"ExtraDrives\" folder or an image burner")
                     .arg(m_destination);
        return false;
    }
    m_dialog.filePage.selectDriveByName(root);
    m_dialog.tranfermethodButtonClicked();
    m_dialog.filePage.syncDriveCombo();
    return true;
}

void UnattendedTransfer::walk()
{
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
    if (m_dialog.model.rowCount() == 0)
        return stopBeforeStart(tr("none of the files can be transferred"));

    // The file page lists the drives and shows the destination's checks.
    m_dialog.page = TransferWizardDlg::FileListPage;
    m_dialog.showPage();
    if (!chooseDestination(reason))
        return stopBeforeStart(reason);
    m_dialog.filePage.updateDestinationInfo();
    const QString refused = m_dialog.filePage.driveStatusMessage(m_dialog.currentDrive());
    if (!refused.isEmpty())
        return stopBeforeStart(refused);

    // What Start does once the checks pass.
    m_dialog.transferClock.start();
    m_started = true;
    m_dialog.nextPage();
}

void UnattendedTransfer::stopBeforeStart(const QString& reason)
{
    if (m_done)
        return;
    m_done = true;
    m_exitCode = NotStarted;
    m_poll.stop();
    refuse(m_files, reason);
    m_dialog.reject();
}

void UnattendedTransfer::cancel()
{
    if (m_done)
        return;
    if (!m_started) {
        m_cancelled = true;
        m_exitCode = Cancelled;
        m_done = true;
        for (const QString& file : m_files)
            printLine(stdout, ::fileLine(file, "cancelled", QString()));
        m_dialog.reject();
        return;
    }
    if (m_dialog.transferEnded)
        return;
    m_cancelled = true;
    m_dialog.transferPage.cancelTransferNow();
}

void UnattendedTransfer::onConversionError(int error, QString sourceFile)
{
    m_conversionErrors.insert(sourceFile, error);
    printLine(stderr,
              tr("portavo: %1 could not be converted (error %2)").arg(sourceFile).arg(error));
    m_dialog.model.setStatusByName(sourceFile, FileInfoModel::ConversionError);
    const bool othersLeft = m_dialog.model.remainingCount() > 0;
    m_controller.handleTranscodeError(othersLeft);
    if (!othersLeft) {
        m_dialog.page = TransferWizardDlg::FinishPage;
        m_dialog.transferPage.endTransfer(TransferWizardDlg::tr("Transfer failed"));
    }
}

bool UnattendedTransfer::dismissMessageBoxes()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == &m_dialog)
        return false;
    // The analysis progress window is modal too and must stay.
    if (modal->inherits("QMessageBox") || modal->inherits("ErrorDialog") ||
        modal->inherits("UnSupportedFileTypeDlg")) {
        printLine(stderr,
                  QStringLiteral("portavo: closed the message \"%1\"").arg(modal->windowTitle()));
        modal->close();
    }
    return true;
}

void UnattendedTransfer::poll()
{
    if (dismissMessageBoxes() || m_done || !m_started)
        return;
    if (!m_dialog.transferEnded || !m_controller.waitForWorker(0))
        return;
    conclude();
}

QString UnattendedTransfer::fileLine(const QString& source, bool cancelled, int& code) const
{
    const QFileInfo info(source);
    if (source.isEmpty() || !info.exists()) {
        code = qMax(code, int(SomeFailed));
        return ::fileLine(source, "failed", tr("the file was not found"));
    }
    const int row = m_dialog.model.indexOfFile(info.absoluteFilePath());
    if (row < 0) {
        code = qMax(code, int(SomeFailed));
        return ::fileLine(source, "failed", tr("the file is not a video that can be transferred"));
    }
    if (m_dialog.model.status(row) == FileInfoModel::ConversionError) {
        code = qMax(code, int(SomeFailed));
        const int error =
            m_conversionErrors.value(info.absoluteFilePath(), m_conversionErrors.value(source, 0));
        return ::fileLine(source, "failed",
                          tr("the file could not be converted (error %1)").arg(error));
    }
    for (const TransferSaveStep::FileOutcome& outcome : m_controller.saveOutcomes()) {
        if (outcome.index != row)
            continue;
        switch (outcome.state) {
        case TransferSaveStep::FileOutcome::Arrived:
            return ::fileLine(source, "arrived", outcome.destination);
        case TransferSaveStep::FileOutcome::Failed:
            code = qMax(code, int(SomeFailed));
            return ::fileLine(source, "failed", outcome.reason);
        default:
            break;
        }
    }
    if (cancelled)
        return ::fileLine(source, "cancelled", QString());
    code = qMax(code, int(SomeFailed));
    return ::fileLine(source, "failed", tr("the transfer stopped before this file was written"));
}

void UnattendedTransfer::conclude()
{
    m_done = true;
    m_poll.stop();
    int code = AllArrived;
    for (const QString& file : m_files)
        printLine(stdout, fileLine(file, m_cancelled, code));
    m_exitCode = m_cancelled ? int(Cancelled) : code;
    // On to the finish page and out, as a user pressing "Done" and "Finish" would.
    if (m_dialog.page == TransferWizardDlg::TransferProgressPage)
        m_dialog.nextPage();
    m_dialog.accept();
}
