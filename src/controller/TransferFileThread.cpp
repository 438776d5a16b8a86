#include "TransferFileThread.h"

#include <QDebug>

#include "TransferWizardController.h"

TransferFileThread::TransferFileThread(TransferWizardController* controller,
                                       const QStringList& files, int profile)
    : m_controller(controller), m_analysisFiles(files), m_profile(profile), m_role(Analysis)
{
    setAutoDelete(true);
}

TransferFileThread::TransferFileThread(TransferWizardController* controller,
                                       const QList<QFileInfo>& files, const std::u16string& drive,
                                       bool toUSB)
    : m_controller(controller), m_role(Save), m_saveFiles(files), m_drive(drive), m_toUSB(toUSB)
{
    setAutoDelete(true);
}

void TransferFileThread::run()
{
    if (!m_controller)
        return;
    if (m_role == Save) {
        m_controller->runSaveStep(m_saveFiles, m_drive, m_toUSB);
        return;
    }
    qDebug().noquote() << "start file analysis...";
    m_controller->analyzeFiles(m_analysisFiles, m_profile);
    m_controller->completeWorkerStep(false, 0);
    qDebug().noquote() << "file analysis done";
}
