#pragma once

#include <QFileInfo>
#include <QList>
#include <QRunnable>
#include <QStringList>
#include <string>

class TransferWizardController;

// The controller's worker on the global thread pool. One runs at a time, gated by the
// controller's worker-idle event; deleted by the pool after run. The analysis role examines the
// files the user adds; the save role writes the finished files to a USB drive or a disc.
class TransferFileThread : public QRunnable
{
public:
    enum Role
    {
        Save = 0,
        Analysis = 1
    };

    // Analysis role: files analysed for the transcode profile.
    TransferFileThread(TransferWizardController* controller, const QStringList& files, int profile);
    // Save role: files written to drive (a USB folder when toUSB, else a burner).
    TransferFileThread(TransferWizardController* controller, const QList<QFileInfo>& files,
                       const std::u16string& drive, bool toUSB);

    void run() override;

    int role() const { return m_role; }
    const QStringList& analysisFiles() const { return m_analysisFiles; }
    int profile() const { return m_profile; }

private:
    TransferWizardController* m_controller = nullptr;
    QStringList m_analysisFiles;
    int m_profile = 0;
    int m_role = Analysis;
    QList<QFileInfo> m_saveFiles;
    std::u16string m_drive;
    bool m_toUSB = false;
};
