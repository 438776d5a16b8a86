#pragma once

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "AnalysisResults.h"
#include "TranscodeJob.h"
#include "USBDriveData.h"

// What the wizard dialog may ask of the controller. The dialog is the only caller and runs
// on the GUI thread; answers that take time arrive later through the controller's signals.
class TransferWizardServericeInterface
{
public:
    // Disc burners with the state of their disc; true when the list is not empty.
    virtual bool GetBurnerDrives(QList<USBDriveData>& drives) = 0;
    // Mounted USB drives (and the configured extra folders); true when the list is not empty.
    virtual bool GetUSBDrives(QList<USBDriveData>& drives) = 0;
    // Remembers the directory the user browsed last; returns whether it was stored.
    virtual bool setLastBrowsedDir(const QDir& dir) = 0;
    // Always true.
    virtual bool getLastBrowsedDir(QString& dir) = 0;
    // Starts the transfer of the files (the sources, in the list's order) to the destination:
    // the conversions the analysis prepared (none when writeAsIs), then the copy to a USB
    // drive or the burn, then the record. Its progress and its end come through the
    // controller's signals. Returns the number of conversions, -1 when it cannot start.
    virtual int startTransfer(const QStringList& sources, const USBDriveData& destination,
                              bool toUSB, bool writeAsIs) = 0;
    // Analyses the files on the worker; false when nothing to do or a worker is running.
    virtual bool startAnalysis(const QStringList& files, int profile) = 0;
    // The results of the last analysis once the worker is idle.
    virtual bool getAnalysisResults(QList<TranscodeEstimate>& estimates, QStringList& outputPaths,
                                    QList<SourceMediaList>& sources, QStringList& directFiles,
                                    QList<int>& resultCodes) = 0;
    virtual void cancelAnalysis() = 0;
    // Kept for compatibility with older dialogs; always false.
    virtual bool reserved(const QString& first, const QString& second) = 0;
    // Starts the companion player so it registers the device; false when it is not installed.
    virtual bool registerDeviceWithPlayer() = 0;
    // Cancels the transfer; its end follows through the controller's signals.
    virtual void cancelTransfer() = 0;
    // Waits until no analysis runs and the transfer has ended; true when that happens within
    // the time.
    virtual bool waitForWorker(unsigned int timeoutMs) = 0;
    // Takes the files out of the conversion queue; returns the number of names given.
    virtual int removeFromTranscodeQueue(const QStringList& files) = 0;
    // Whether the file is queued for conversion; copies its queue entry.
    virtual bool findQueuedFile(const QString& file, TranscodeJob& entry) = 0;
    // The one call for another thread: a probe of the disc state of the burners the last
    // GetBurnerDrives listed (by root; any change means a disc went in or out). The probe
    // touches only the storage library, never the controller. Empty: no burner is watched.
    virtual std::function<quint32(const std::u16string&)> discStateProbe() { return {}; }

protected:
    ~TransferWizardServericeInterface() = default;
};
