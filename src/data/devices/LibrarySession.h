#pragma once

class QSqlDatabase;
class QSqlError;

namespace TransferDevicesLibrary {

class TransferDevices;

// One piece of database work on the device library: holds the library's
// lock, opens the file when it is not open yet (a file that was busy at the
// last attempt is tried again) and sets how long SQLite waits for another
// program's lock.
//
// The application's main thread runs the window, so there the wait for the
// lock and for the file is short and a busy file makes the work fail at once
// (device memory is unavailable for now, not for the run). Other threads wait
// as long as the library allows.
class LibrarySession
{
public:
    // The library may be null: the session is then never ready.
    explicit LibrarySession(TransferDevices* library);
    ~LibrarySession();
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;

    // The lock is held and the database is open.
    bool IsReady() const { return m_ready; }
    QSqlDatabase& Database();
    // Records why a statement failed: a busy file is temporary and is
    // reported to the user as such.
    void NoteFailure(const QSqlError& error);

    // Whether this thread must not wait long.
    static bool OnApplicationThread();

private:
    TransferDevices* m_library;
    bool m_locked = false;
    bool m_ready = false;
};

} // namespace TransferDevicesLibrary
