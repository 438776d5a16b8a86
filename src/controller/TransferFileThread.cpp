#include "TransferFileThread.h"

#include <QDebug>

#include "TransferWizardController.h"

TransferFileThread::TransferFileThread(TransferWizardController* controller,
                                       const QStringList& files, int profile)
    : m_controller(controller), m_analysisFiles(files), m_profile(profile)
{
    setAutoDelete(true);
}

void TransferFileThread::run()
{
    if (!m_controller)
        return;
    qDebug().noquote() << "start file analysis...";
    m_controller->analyzeFiles(m_analysisFiles, m_profile);
    qDebug().noquote() << "file analysis done";
    // Last: the controller may go once the event is set.
    m_controller->analysisDone();
}
