#pragma once

#include <QDir>
#include <QObject>
#include <QRecursiveMutex>
#include <QStringList>
#include <atomic>
#include <map>
#include <memory>
#include <string>

#include "AnalysisResults.h"
#include "DeviceState.h"
#include "Drive.h"
#include "KavoMediaBurner.h"
#include "TransferAnalysis.h"
#include "TransferOutcome.h"
#include "TransferSession.h"
#include "TransferState.h"
#include "TransferWizardDlg.h"
#include "TransferWizardServericeInterface.h"
#include "VideoFileTranscoder.h"
#include "WizardSettings.h"

// The one object that owns a wizard run: the dialog, the converter, the burner, the device
// being served, and the session of the transfer once Start is pressed. The dialog calls it
// through TransferWizardServericeInterface; it answers with the session's reports. Lives on
// the GUI thread; a later launch reads the transfer state from its own thread (under the
// state mutex).
class TransferWizardController : public QObject, public TransferWizardServericeInterface
{
    Q_OBJECT

public:
    TransferWizardController();
    ~TransferWizardController() override;

    // First launch: prepares the dialog for the device, shows it and adds the files shortly
    // after the event loop starts.
    void launchWizard(const QStringList& files, unsigned int deviceID, bool activationFiles);
    // A later launch, from any thread: restarts a finished or stopped wizard, adds files to an
    // idle one, or refuses while a transfer runs.
    void appendTransferFiles(const QStringList& files, unsigned int deviceID, bool activationFiles);
    void startWizard(const QStringList& files, unsigned int deviceID, bool activationFiles,
                     bool appendNow);
    // The transfer started last, or null; its result is final once transferFinished came.
    const TransferSession* session() const { return m_session.get(); }
    // Who answers the transfer's questions: the dialog's boxes unless a face sets its own.
    void setPrompts(TransferPrompts* prompts) { m_prompts = prompts ? prompts : &m_dialog; }

    int transferState();
    void setTransferState(int state);
    const DeviceState& deviceState() const { return m_deviceState; }
    TransferWizardDlg* dialog() { return &m_dialog; }
    VideoFileTranscoder* transcoder() { return &m_transcoder; }
    bool isTracing() const { return m_tracing; }

    // The directory converted files go to.
    static QDir tempDir() { return WizardSettings::tempDir(); }

    // TransferWizardServericeInterface
    bool GetBurnerDrives(QList<USBDriveData>& drives) override;
    bool GetUSBDrives(QList<USBDriveData>& drives) override;
    bool setLastBrowsedDir(const QDir& dir) override;
    bool getLastBrowsedDir(QString& dir) override;
    int startTransfer(const QStringList& sources, const USBDriveData& destination, bool toUSB,
                      bool writeAsIs) override;
    bool startAnalysis(const QStringList& files, int profile) override;
    bool getAnalysisResults(QList<TranscodeEstimate>& estimates, QStringList& outputPaths,
                            QList<SourceMediaList>& sources, QStringList& directFiles,
                            QList<int>& resultCodes) override;
    void cancelAnalysis() override;
    bool reserved(const QString& first, const QString& second) override;
    bool registerDeviceWithPlayer() override;
    void cancelTransfer() override;
    bool waitForWorker(unsigned int timeoutMs) override;
    int removeFromTranscodeQueue(const QStringList& files) override;
    bool findQueuedFile(const QString& file, TranscodeJob& entry) override;

    std::function<quint32(const std::u16string&)> discStateProbe() override;

signals:
    // From the analysis thread: file index of total is being analysed.
    void analyzeItem(int index, int total);
    // The transfer started last has ended; every thread and process it started has ended.
    void transferFinished(TransferResult result);
    // Why a recorder cannot be used by this account (device node and group); once.
    void recorderAccessHint(QString hint);
    void appendTransferFiles(QStringList fileNameList, bool addToTop);
    void appendTransferFileError(QString errorMessage);
    void restart(QStringList transferFileNames, int deviceID, bool activationFiles);

private slots:
    void sendLastPagePing();
    void addTransferFiles(QStringList fileNameList, bool addToTop);
    void addTransferFileError(QString errorMessage);
    void restartWizard(QStringList transferFileNames, int deviceID, bool activationFiles);
    void loadInitialFiles();

private:
    void makeConnections();
    void connectSession();
    void onSessionFinished(const TransferResult& result);
    void showDialog();

    DeviceState m_deviceState;
    TransferWizardDlg m_dialog;
    VideoFileTranscoder m_transcoder;
    TransferAnalysis m_analysis{m_transcoder};
    int m_transferState = TransferState::Idle;
    KavoMediaBurner m_burner;
    // The recorders of the last listing, and the listing itself, kept while a burn runs.
    std::map<std::u16string, Drive> m_burnerDrives;
    QList<USBDriveData> m_burnerList;
    QRecursiveMutex m_stateMutex;
    QStringList m_pendingFiles;
    bool m_pendingActivation = false;
    bool m_errorBoxOpen = false;
    bool m_tracing = false;
    TransferPrompts* m_prompts = &m_dialog;
    // Last: it goes first, after its threads and processes have ended, while the converter
    // and the burner it uses are still there.
    std::unique_ptr<TransferSession> m_session;
};
