#pragma once

#include <QDir>
#include <QObject>
#include <QRecursiveMutex>
#include <QStringList>
#include <atomic>
#include <map>
#include <string>

#include "AnalysisResults.h"
#include "DeviceState.h"
#include "Drive.h"
#include "IKavoMediaBurnerCallback.h"
#include "KavoMediaBurner.h"
#include "KvpmEvent.h"
#include "TransferSaveStep.h"
#include "TransferState.h"
#include "TransferWizardDlg.h"
#include "TransferWizardServericeInterface.h"
#include "VideoFileTranscoder.h"

// The one object that owns a wizard run: the dialog, the converter, the burner, the device
// being served and the state of the transfer. The dialog calls it through
// TransferWizardServericeInterface; it answers with signals. Lives on the GUI thread; other
// threads only touch the transfer state and the cancel flag (under the state mutex) and emit
// its signals.
class TransferWizardController : public QObject,
                                 public TransferWizardServericeInterface,
                                 public kvtl::RefCountedImpl<IKavoMediaBurnerCallback>
{
    Q_OBJECT

    // The save step and the burner listing work on the burner, its drive map and the worker
    // state on the controller's behalf.
    friend class TransferSaveStep;
    friend class BurnerDriveLister;

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
    void completeWorkerStep(bool notify, unsigned int dataRate);
    // The analysis worker's job: examines each file in order and fills the analysis results.
    bool analyzeFiles(const QStringList& files, int profile);
    // Where the converted copy of source goes: the temporary directory, the source's complete
    // base name and the profile's extension (".mkv" for the Plus HD profile, else ".kavo").
    static QString convertedFilePath(const QString& source, int profile);
    bool isCancelled();
    // The save step's work, on the worker; each returns the achieved rate (bytes per second).
    unsigned int writeVideoFileToBurner(const QList<QFileInfo>& files, const std::u16string& drive);
    unsigned int copyFilesToUSB(const QList<QFileInfo>& files, const std::u16string& drive);
    // The save worker's whole step: write, then record, fail or cancel the transfer.
    void runSaveStep(const QList<QFileInfo>& files, const std::u16string& drive, bool toUSB)
    {
        m_saveStep.run(files, drive, toUSB);
    }
    // What became of each file of the last write step.
    QList<TransferSaveStep::FileOutcome> saveOutcomes() const { return m_saveStep.outcomes(); }

    int transferState();
    void setTransferState(int state);
    const DeviceState& deviceState() const { return m_deviceState; }
    TransferWizardDlg* dialog() { return &m_dialog; }
    VideoFileTranscoder* transcoder() { return &m_transcoder; }
    bool isTracing() const { return m_tracing; }

    // The directory converted files go to, and the one the user browsed last.
    static QDir tempDir();
    static QDir lastBrowsedDir();
    // The user's private cache folder for this program (mode 0700); the default temporary
    // directory and the trace file live here.
    static QString privateTempPath();

    // TransferWizardServericeInterface
    bool GetBurnerDrives(QList<USBDriveData>& drives) override;
    bool GetUSBDrives(QList<USBDriveData>& drives) override;
    bool setLastBrowsedDir(const QDir& dir) override;
    bool getLastBrowsedDir(QString& dir) override;
    void handleTranscodeError(bool continueWithRemaining) override;
    int startTranscode(const QStringList& files, int profile) override;
    bool startAnalysis(const QStringList& files, int profile) override;
    bool getAnalysisResults(QList<TranscodeEstimate>& estimates, QStringList& outputPaths,
                            QList<SourceMediaList>& sources, QStringList& directFiles,
                            QList<int>& resultCodes) override;
    void cancelAnalysis() override;
    bool startSave(const QList<QFileInfo>& files, const std::u16string& drive, bool toUSB) override;
    bool reserved(const QString& first, const QString& second) override;
    bool registerDeviceWithPlayer() override;
    void cancelTransfer() override;
    bool waitForWorker(unsigned int timeoutMs) override;
    int removeFromTranscodeQueue(const QStringList& files) override;
    bool findQueuedFile(const QString& file, TranscodeJob& entry) override;

    // IKavoMediaBurnerCallback
    void OnProgress(quint64 current, quint64 total) override;

signals:
    void analyzeItem(int index, int total);
    void writeFileProgress(quint64 pos, quint64 total, quint32 transcodeTime, QString fileName);
    void fileSaveStarted(int index);
    void fileSaveCanceled(int index);
    void fileSaveFinished(int index);
    void cancelTranscode();
    void fileSaveDone();
    void appendTransferFiles(QStringList fileNameList, bool addToTop);
    void appendTransferFileError(QString errorMessage);
    void restart(QStringList transferFileNames, int deviceID, bool activationFiles);
    // A file could not be written (the reason in words), and the write step that ended because
    // of it, with the end text naming the file.
    void fileSaveFailed(int index, QString reason);
    // A file arrived: handed is the file written, destination where it is now.
    void fileSaveArrived(int index, QString handed, QString destination);
    void saveFailed(QString message);

private slots:
    void transcoderCancelSlot(QString fileName);
    void sendLastPagePing();
    void addTransferFiles(QStringList fileNameList, bool addToTop);
    void addTransferFileError(QString errorMessage);
    void restartWizard(QStringList transferFileNames, int deviceID, bool activationFiles);
    void loadInitialFiles();
    void transcodeFileFinished();

private:
    void readDirectorySettings();
    void makeConnections();
    void recordFinishedTransfer();
    void showDialog();

    DeviceState m_deviceState;
    AnalysisResults m_analysisResults;
    TransferWizardDlg m_dialog;
    VideoFileTranscoder m_transcoder;
    int m_transferState = TransferState::Idle;
    KavoMediaBurner m_burner;
    std::map<std::u16string, Drive> m_burnerDrives;
    std::u16string m_burnDestination;
    QRecursiveMutex m_stateMutex;
    bool m_cancel = false;
    std::atomic<bool> m_workerFinished{false};
    kvpm::Event m_workerIdle{"TransferWorkerIdle", true, true};
    QStringList m_pendingFiles;
    bool m_pendingActivation = false;
    std::atomic<bool> m_analysisCancel{false};
    bool m_errorBoxOpen = false;
    bool m_tracing = false;
    TransferSaveStep m_saveStep{*this};
};
