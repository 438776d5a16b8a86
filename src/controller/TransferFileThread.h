#pragma once

#include <QRunnable>
#include <QStringList>

class TransferWizardController;

// The controller's worker on the global thread pool. One runs at a time, gated by the
// controller's worker-idle event; deleted by the pool after run. The analysis role examines the
// files the user adds; the save role (writing the finished files) is added with the write step.
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

    void run() override;

    int role() const { return m_role; }
    const QStringList& analysisFiles() const { return m_analysisFiles; }
    int profile() const { return m_profile; }

private:
    TransferWizardController* m_controller = nullptr;
    QStringList m_analysisFiles;
    int m_profile = 0;
    int m_role = Analysis;
};
