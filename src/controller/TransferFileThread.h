#pragma once

#include <QRunnable>
#include <QStringList>

class TransferWizardController;

// The controller's analysis worker on the global thread pool: examines the files the user adds.
// One runs at a time, gated by the controller's worker-idle event, which it sets as the last
// thing it does; deleted by the pool after run.
class TransferFileThread : public QRunnable
{
public:
    // Files analysed for the transcode profile.
    TransferFileThread(TransferWizardController* controller, const QStringList& files, int profile);

    void run() override;

    const QStringList& analysisFiles() const { return m_analysisFiles; }
    int profile() const { return m_profile; }

private:
    TransferWizardController* m_controller = nullptr;
    QStringList m_analysisFiles;
    int m_profile = 0;
};
