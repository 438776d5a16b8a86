#pragma once

#include <QList>
#include <QMap>
#include <QStringList>
#include <functional>

#include "ISourceMedia.h"
#include "TranscodeJob.h"

#include "TransferWizardServericeInterface.h"

// Stands in for the controller behind the dialog: answers from fixed drive lists and records
// what the dialog asked for.
class FakeWizardService : public TransferWizardServericeInterface
{
public:
    QList<USBDriveData> burners;
    QList<USBDriveData> usb;
    QString lastBrowsedDir;
    // waitForWorker answers false this many times, then true.
    int busyWaits = 0;
    int waitCalls = 0;
    int cancelTransferCalls = 0;
    int cancelAnalysisCalls = 0;
    // What startTransfer answers (conversions), and what it was given.
    int transcodeCount = 0;
    bool transferStarts = true;
    int transferCalls = 0;
    QStringList transferSources;
    std::u16string savedDrive;
    bool savedToUSB = false;
    bool savedAsIs = false;

    bool GetBurnerDrives(QList<USBDriveData>& drives) override
    {
        drives = burners;
        return !drives.isEmpty();
    }
    bool GetUSBDrives(QList<USBDriveData>& drives) override
    {
        drives = usb;
        return !drives.isEmpty();
    }
    bool setLastBrowsedDir(const QDir& dir) override
    {
        lastBrowsedDir = dir.absolutePath();
        return true;
    }
    bool getLastBrowsedDir(QString& dir) override
    {
        dir = lastBrowsedDir;
        return true;
    }
    int startTransfer(const QStringList& sources, const USBDriveData& destination, bool toUSB,
                      bool writeAsIs) override
    {
        ++transferCalls;
        transferSources = sources;
        savedDrive = destination.root;
        savedToUSB = toUSB;
        savedAsIs = writeAsIs;
        return transferStarts ? transcodeCount : -1;
    }
    // Analysis: one result per file, looked up by path; a file without a result fails with 21.
    struct Result
    {
        int code = 0;
        quint32 seconds = 0;
        quint64 bytes = 1000;
        QString outputPath;
    };
    QMap<QString, Result> results;
    bool analysisStarts = true;
    // getAnalysisResults answers "still running" this many times first.
    int busyPolls = 0;
    // Called on every "still running" poll, so a test can act while the analysis runs.
    std::function<void()> whilePolling;
    QStringList analysedFiles;
    int analysedProfile = -1;
    int analysisCalls = 0;
    bool analysisCanceled = false;
    QStringList queuedFiles;
    QStringList removedFromQueue;

    bool startAnalysis(const QStringList& files, int profile) override
    {
        ++analysisCalls;
        analysedFiles = files;
        analysedProfile = profile;
        analysisCanceled = false;
        return analysisStarts && !files.isEmpty();
    }
    bool getAnalysisResults(QList<TranscodeEstimate>& estimates, QStringList& outputPaths,
                            QList<SourceMediaList>& sources, QStringList& directFiles,
                            QList<int>& resultCodes) override
    {
        if (busyPolls > 0) {
            --busyPolls;
            if (whilePolling)
                whilePolling();
            return false;
        }
        // A cancelled analysis stops after the first file.
        const int count =
            analysisCanceled ? qMin(1, int(analysedFiles.size())) : int(analysedFiles.size());
        for (int i = 0; i < count; ++i) {
            const QString& file = analysedFiles[i];
            const Result r = results.value(file, Result{21, 0, 0, QString()});
            TranscodeEstimate e;
            e.transcodeTime = r.seconds;
            e.outputSize = r.bytes;
            estimates << e;
            outputPaths << r.outputPath;
            sources << SourceMediaList();
            if (r.outputPath.isEmpty())
                directFiles << file;
            resultCodes << r.code;
        }
        return true;
    }
    void cancelAnalysis() override
    {
        ++cancelAnalysisCalls;
        analysisCanceled = true;
    }
    bool reserved(const QString&, const QString&) override { return false; }
    bool registerDeviceWithPlayer() override { return false; }
    void cancelTransfer() override { ++cancelTransferCalls; }
    bool waitForWorker(unsigned int) override
    {
        ++waitCalls;
        if (busyWaits > 0) {
            --busyWaits;
            return false;
        }
        return true;
    }
    int removeFromTranscodeQueue(const QStringList& files) override
    {
        removedFromQueue += files;
        return int(files.size());
    }
    bool findQueuedFile(const QString& file, TranscodeJob&) override
    {
        return queuedFiles.contains(file);
    }

    static USBDriveData drive(const QString& root, const QString& name, quint64 freeBytes,
                              int status = DriveReady, unsigned int fileSystem = FS_FAT32)
    {
        USBDriveData d;
        d.root = root.toStdU16String();
        d.displayName = name.toStdU16String();
        d.freeBytes = freeBytes;
        d.totalBytes = freeBytes * 2;
        d.estimatedRate = 1048576;
        d.status = status;
        d.fileSystem = fileSystem;
        return d;
    }
};
