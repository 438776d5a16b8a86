#include "TransferWizardController.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QFileInfo>
#include <QMutexLocker>
#include <QTimer>
#include <memory>

#include "BurnerDriveLister.h"
#include "DeviceChoices.h"
#include "PingManager.h"
#include "SettingsAccessors.h"
#include "TraceLog.h"
#include "USBDriveLister.h"
#include "WizardMessages.h"
#include "WizardSettings.h"

namespace {

constexpr int LoadInitialFilesDelayMs = 5;
constexpr unsigned int RestartWorkerWaitMs = 2000;

} // namespace

TransferWizardController::TransferWizardController() : m_dialog(this)
{
    WizardSettings::readFolders();
    // Converted files go to this run's own folder in it, removed when the wizard ends.
    WizardSettings::setTempDir(
        m_transcoder.useConversionFolder(WizardSettings::tempDir().absolutePath()));
    makeConnections();
    m_tracing = WizardSettings::tracing();

    m_burner.Initialize(3, m_tracing);

    if (m_transcoder.initEngine()) {
        const std::string label = m_transcoder.engineText();
        // Asked when the file page first needs them: the answer loads the media libraries.
        m_dialog.setFileTypes(QString::fromStdString(label),
                              [this] { return m_transcoder.engineFileTypes(); });
    }

    setTransferState(TransferState::Idle);

    if (m_tracing)
        TraceLog::open(WizardSettings::privateTempPath() + QStringLiteral("/TWDebug.txt"));
    WizardSettings::sendStartPing();
}

TransferWizardController::~TransferWizardController()
{
    // Closing the wizard or a signal mid-transfer stops the transfer, and waits for it: its
    // threads and the engine's workers use what goes away with this object.
    if (m_session)
        m_session->cancelAndWait();
    cancelAnalysis();
    m_analysis.wait(kvpm::Event::kInfinite);
    disconnect(&m_dialog, nullptr, this, nullptr);
}

void TransferWizardController::makeConnections()
{
    TransferWizardDlg* dlg = &m_dialog;
    // Emitted on the analysis thread, as the analysis reports it.
    connect(&m_analysis, &TransferAnalysis::analyzeItem, this,
            &TransferWizardController::analyzeItem, Qt::DirectConnection);
    // Queued: the hint comes while the drives are listed, the box after.
    connect(this, &TransferWizardController::recorderAccessHint, dlg,
            &TransferWizardDlg::showRecorderAccessHint, Qt::QueuedConnection);
    connect(this, &TransferWizardController::analyzeItem, dlg, &TransferWizardDlg::analyzeItem);
    connect(this, qOverload<QStringList, bool>(&TransferWizardController::appendTransferFiles),
            this, &TransferWizardController::addTransferFiles);
    connect(this, &TransferWizardController::appendTransferFileError, this,
            &TransferWizardController::addTransferFileError);
    connect(this, &TransferWizardController::restart, this,
            &TransferWizardController::restartWizard);
    connect(dlg, &QDialog::rejected, this, &TransferWizardController::sendLastPagePing);
    connect(dlg, &QDialog::accepted, this, &TransferWizardController::sendLastPagePing);
    // The destination went away mid-transfer (the dialog cancels it as well).
    connect(dlg, &TransferWizardDlg::destinationDriveRemoved, this, [this]() {
        if (m_session)
            m_session->destinationLost();
    });
}

void TransferWizardController::connectSession()
{
    TransferSession* session = m_session.get();
    TransferWizardDlg* dlg = &m_dialog;
    connect(session, &TransferSession::progress, dlg, &TransferWizardDlg::updateProgress);
    connect(session, &TransferSession::burnPhase, dlg, &TransferWizardDlg::burnPhaseProgress);
    connect(session, &TransferSession::converted, dlg, &TransferWizardDlg::progressFinised);
    connect(session, &TransferSession::writeStarted, dlg, &TransferWizardDlg::writeStarted);
    connect(session, &TransferSession::fileStarted, dlg, &TransferWizardDlg::fileSaveStarted);
    connect(session, &TransferSession::fileEnded, dlg, [dlg](const FileOutcome& outcome) {
        switch (outcome.state) {
        case FileOutcome::Arrived:
            dlg->fileSaveArrived(outcome.index, outcome.source, outcome.destination);
            dlg->fileSaveFinished(outcome.index);
            break;
        case FileOutcome::Failed:
            // A failed conversion was marked when its question was asked.
            if (!outcome.conversionFailed)
                dlg->fileSaveFailed(outcome.index, outcome.reason);
            break;
        case FileOutcome::Cancelled:
            dlg->fileSaveCanceled(outcome.index);
            break;
        default:
            break;
        }
    });
    connect(session, &TransferSession::stateChanged, this,
            &TransferWizardController::setTransferState);
    connect(session, &TransferSession::finished, this,
            &TransferWizardController::onSessionFinished);
}

void TransferWizardController::onSessionFinished(const TransferResult& result)
{
    m_dialog.transferFinished(result.end == TransferResult::Completed,
                              result.end == TransferResult::Failed ? result.failureText
                                                                   : QString());
    emit transferFinished(result);
}

int TransferWizardController::transferState()
{
    QMutexLocker lock(&m_stateMutex);
    return m_transferState;
}

void TransferWizardController::setTransferState(int state)
{
    QMutexLocker lock(&m_stateMutex);
    m_transferState = state;
}

// ---- Start, restart, second launch ---------------------------------------------------------

void TransferWizardController::startWizard(const QStringList& files, unsigned int deviceID,
                                           bool activationFiles, bool appendNow)
{
    qDebug().noquote().nospace() << "TransferWizardController  Device ID: " << deviceID;
    {
        // A later launch compares against it from its own thread.
        QMutexLocker lock(&m_stateMutex);
        m_deviceState.deviceID = int(deviceID);
    }
    QString notice;
    const bool stored = DeviceChoices::read(deviceID, m_deviceState, notice);
    // Said once per run, without blocking: the wizard goes on without the device's saved
    // choices.
    if (!notice.isEmpty())
        WizardMessages::deviceMemoryNotice(notice);
    m_dialog.setWizardStartParameters(
        DeviceChoices::startParameters(deviceID, m_deviceState, stored));
    if (appendNow)
        addTransferFiles(files, activationFiles);
}

void TransferWizardController::launchWizard(const QStringList& files, unsigned int deviceID,
                                            bool activationFiles)
{
    startWizard(files, deviceID, activationFiles, false);
    m_pendingFiles = files;
    m_pendingActivation = activationFiles;
    m_dialog.showNormal();
    m_dialog.raise();
    m_dialog.activateWindow();
    QTimer::singleShot(LoadInitialFilesDelayMs, this, &TransferWizardController::loadInitialFiles);
}

void TransferWizardController::loadInitialFiles()
{
    addTransferFiles(m_pendingFiles, m_pendingActivation);
    m_pendingFiles.clear();
    m_pendingActivation = false;
}

void TransferWizardController::appendTransferFiles(const QStringList& files, unsigned int deviceID,
                                                   bool activationFiles)
{
    qDebug().noquote().nospace() << "TransferWizardController::appendTransferFiles()";
    qDebug().noquote().nospace() << "\tdevice ID: " << deviceID;
    qDebug().noquote().nospace() << "\tfiles: " << files.join(QLatin1Char(' '));

    int state;
    int currentDevice;
    {
        QMutexLocker lock(&m_stateMutex);
        state = m_transferState;
        currentDevice = m_deviceState.deviceID;
    }
    // A later start that names no device (a file manager's hand-over) is for the device the
    // wizard serves.
    if (deviceID == 0)
        deviceID = unsigned(currentDevice);

    if (state == TransferState::Stopped || state == TransferState::Finished) {
        emit restart(files, int(deviceID), activationFiles);
    } else if (state == TransferState::Transcoding || state == TransferState::CopyingToUSB ||
               state == TransferState::WritingDisc ||
               (int(deviceID) != currentDevice && !activationFiles)) {
        emit appendTransferFileError(
            tr("You can only perform one transfer at a time with Portavo. Please finish or close "
               "the current transfer before proceeding."));
    } else if (!files.isEmpty()) {
        emit appendTransferFiles(files, activationFiles);
    }
}

void TransferWizardController::showDialog()
{
    m_dialog.show();
    m_dialog.raise();
    m_dialog.activateWindow();
}

void TransferWizardController::addTransferFileError(QString errorMessage)
{
    qDebug().noquote().nospace() << "TransferWizardController::addTransferFileError() "
                                 << errorMessage;
    showDialog();
    if (m_errorBoxOpen) {
        qDebug().noquote().nospace()
            << "TransferWizardController::addTransferFileError() a message is already shown";
        return;
    }
    m_errorBoxOpen = true;
    WizardMessages::addVideoError(errorMessage);
    m_errorBoxOpen = false;
}

void TransferWizardController::restartWizard(QStringList transferFileNames, int deviceID,
                                             bool activationFiles)
{
    qDebug().noquote().nospace() << "TransferWizardController::restartWizard() device ID: "
                                 << deviceID;
    // Only a finished or stopped transfer is restarted; it has nothing running.
    if (m_session)
        m_session->cancelAndWait();
    m_session.reset();
    m_dialog.resetWizard();
    m_transcoder.initEngine();
    {
        // The device's type and name stay: a burn-only start names no device of its own.
        QMutexLocker lock(&m_stateMutex);
        m_transferState = TransferState::Idle;
        m_deviceState.deviceID = 0;
    }
    m_deviceState.profile = 0;
    m_deviceState.registrationState = 0;
    m_deviceState.method = 0;
    m_deviceState.lastDriveName.clear();
    m_deviceState.dataRate = 0;
    m_burnerDrives.clear();
    m_burnerList.clear();
    m_analysis.wait(RestartWorkerWaitMs);
    m_pendingFiles.clear();
    m_pendingActivation = false;

    startWizard(transferFileNames, unsigned(deviceID), activationFiles, true);
}

// ---- File queue -------------------------------------------------------------------------

void TransferWizardController::addTransferFiles(QStringList fileNameList, bool addToTop)
{
    if (fileNameList.isEmpty())
        return;
    QList<QFileInfo> infos;
    QStringList missing;
    for (const QString& name : fileNameList) {
        qDebug().noquote().nospace() << "TransferWizardController  File Name: " << name;
        const QFileInfo info(name);
        if (!name.isEmpty() && info.exists())
            infos.append(info);
        else
            missing << name;
    }
    // A file that is not added is never dropped without a word.
    missing.removeAll(QString());
    if (!missing.isEmpty())
        qDebug().noquote().nospace()
            << "TransferWizardController  Files not found: " << missing.join(QLatin1Char(' '));
    m_dialog.appendFileInfos(infos, addToTop);
    m_dialog.reportMissingFiles(missing);
}

bool TransferWizardController::startAnalysis(const QStringList& files, int profile)
{
    return m_analysis.start(files, profile, WizardSettings::tempDir().absolutePath());
}

bool TransferWizardController::getAnalysisResults(QList<TranscodeEstimate>& estimates,
                                                  QStringList& outputPaths,
                                                  QList<SourceMediaList>& sources,
                                                  QStringList& directFiles, QList<int>& resultCodes)
{
    AnalysisResults results;
    if (!m_analysis.results(results))
        return false;
    estimates = results.estimates;
    outputPaths = results.outputPaths;
    sources = results.sources;
    directFiles = results.directFiles;
    resultCodes = results.resultCodes;
    return true;
}

void TransferWizardController::cancelAnalysis()
{
    m_analysis.cancel();
}

int TransferWizardController::removeFromTranscodeQueue(const QStringList& files)
{
    for (const QString& file : files)
        m_transcoder.removeJob(file);
    return int(files.size());
}

bool TransferWizardController::findQueuedFile(const QString& file, TranscodeJob& entry)
{
    return m_transcoder.findJob(file, entry);
}

// ---- Transfer ---------------------------------------------------------------------------

int TransferWizardController::startTransfer(const QStringList& sources,
                                            const USBDriveData& destination, bool toUSB,
                                            bool writeAsIs)
{
    if (sources.isEmpty() || (m_session && !m_session->isFinished()))
        return -1;
    TransferSession::Plan plan;
    plan.device = m_deviceState;
    plan.profile = m_dialog.currentProfile();
    plan.sources = sources;
    plan.writeAsIs = writeAsIs;
    plan.destination.kind = toUSB ? TransferDestination::UsbDrive : TransferDestination::Burner;
    plan.destination.root = QString::fromStdU16String(destination.root);
    plan.destination.fileSystem = destination.fileSystem;
    if (!toUSB) {
        const auto recorder = m_burnerDrives.find(destination.root);
        if (recorder != m_burnerDrives.end())
            plan.destination.drive = recorder->second;
    }
    m_deviceState.lastDriveName = plan.destination.root.toStdString();
    m_session = std::make_unique<TransferSession>(plan, m_transcoder, m_burner, *m_prompts);
    connectSession();
    const int conversions = writeAsIs ? 0 : m_transcoder.pendingCount();
    m_session->start();
    return conversions;
}

void TransferWizardController::cancelTransfer()
{
    if (m_session)
        m_session->cancel();
}

bool TransferWizardController::waitForWorker(unsigned int timeoutMs)
{
    // The session ends through the event loop: keep it turning while waiting.
    const QDeadlineTimer deadline(timeoutMs);
    while (m_session && m_session->isRunning() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents,
                                        int(qMax<qint64>(1, deadline.remainingTime())));
    if (m_session && m_session->isRunning())
        return false;
    return m_analysis.wait(unsigned(qMax<qint64>(0, deadline.remainingTime())));
}

// ---- Drives -----------------------------------------------------------------------------

bool TransferWizardController::GetBurnerDrives(QList<USBDriveData>& drives)
{
    // The burner is the write step's while a burn runs: the list stays as it was.
    if (m_session && m_session->isRunning() && m_session->state() == TransferState::WritingDisc) {
        drives = m_burnerList;
        return !drives.isEmpty();
    }
    const bool found = BurnerDriveLister::list(m_burner, m_deviceState, drives, m_burnerDrives);
    // A recorder this account may not open is not listed at all: say why, once.
    const QString hint = m_burner.TakeAccessHint();
    if (!hint.isEmpty())
        emit recorderAccessHint(hint);
    m_burnerList = drives;
    return found;
}

bool TransferWizardController::GetUSBDrives(QList<USBDriveData>& drives)
{
    const USBDriveLister lister = USBDriveLister::fromEnvironment();
    drives = lister.list(USBDriveLister::extraDrivesSetting(), m_deviceState.lastDriveName,
                         m_deviceState.dataRate);
    qDebug().noquote().nospace() << "TransferWizardController: GetUSBDrives(): " << drives.size();
    return !drives.isEmpty();
}

// ---- Directories, player, pings ---------------------------------------------------------

bool TransferWizardController::setLastBrowsedDir(const QDir& dir)
{
    return WizardSettings::setLastBrowsedDir(dir);
}

bool TransferWizardController::getLastBrowsedDir(QString& dir)
{
    dir = WizardSettings::lastBrowsedDir().absolutePath();
    return true;
}

bool TransferWizardController::reserved(const QString&, const QString&)
{
    return false;
}

bool TransferWizardController::registerDeviceWithPlayer()
{
    return WizardSettings::registerDeviceWithPlayer();
}

void TransferWizardController::sendLastPagePing()
{
    const QString page = m_dialog.currentPageName();
    const QUrl url = sendUsagePing("LastPage-" + page.toUtf8(), false);
    qDebug().noquote().nospace() << "TransferWizardController " << url.toString();
}

std::function<quint32(const std::u16string&)> TransferWizardController::discStateProbe()
{
    return BurnerDriveLister::discStateProbe(m_burner, m_burnerDrives);
}
