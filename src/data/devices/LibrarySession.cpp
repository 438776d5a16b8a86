#include "LibrarySession.h"

#include "TransferDevices.h"

#include <QCoreApplication>
#include <QThread>

namespace TransferDevicesLibrary {

LibrarySession::LibrarySession(TransferDevices* library) : m_library(library)
{
    if (!m_library)
        return;
    if (OnApplicationThread()) {
        m_locked = m_library->mutex().tryLock(TransferDevices::ShortWaitMs);
        if (!m_locked) {
            // Another thread of this program is waiting for the file.
            m_library->noteBusy();
            return;
        }
    } else {
        m_library->mutex().lock();
        m_locked = true;
    }
    m_ready = m_library->prepare(OnApplicationThread());
}

LibrarySession::~LibrarySession()
{
    if (m_locked)
        m_library->mutex().unlock();
}

QSqlDatabase& LibrarySession::Database()
{
    return m_library->database();
}

void LibrarySession::NoteFailure(const QSqlError& error)
{
    if (m_library && TransferDevices::isBusy(error))
        m_library->noteBusy();
}

bool LibrarySession::OnApplicationThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace TransferDevicesLibrary
