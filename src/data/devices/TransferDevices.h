#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include <QRecursiveMutex>
#include <QSqlDatabase>
#include <QString>

class QSqlError;

namespace kvds {
class IKavoIPC;
}

namespace TransferDevicesLibrary {

class TransferDevice;
class LibrarySession;

// The device library: the playback devices the user has set up, kept in an
// SQLite file in the user's data folder and shared with the other programs of
// the family, which hear about every change through the messaging endpoint.
//
// One instance per process, reached through Instance(). Every database
// statement, the library's own and those of TransferDevice objects, runs under
// one recursive mutex, so any thread may use the library. When the file cannot
// be opened, is not an SQLite database, is damaged or is another program's
// database, the library stays closed: every operation fails and the file is
// left untouched. A file that another program holds locked is busy, which is
// temporary: the next use tries again (see LibrarySession for how long a use
// waits).
class TransferDevices
{
public:
    // Current schema version stored in schema_data.version.
    static constexpr uint32_t SchemaVersion = 0x10000;
    // Ids handed out by CreateDevice start here.
    static constexpr uint32_t FirstDeviceId = 10000;
    // How long the application's main thread waits for the library's lock
    // and for another program's lock on the file.
    static constexpr int ShortWaitMs = 250;
    // How long other threads wait for another program's lock on the file.
    static constexpr int LongWaitMs = 120000;

    enum class Availability
    {
        Unknown,     // not tried yet
        Available,   // open
        Busy,        // another program held the file; tried again at the next use
        Unavailable, // closed for the run; the file is left as it is
    };

    // The process-wide library, created on the first call with that client
    // name (the application name notifications are sent under); later calls
    // return the same object and ignore the argument. Never null.
    static TransferDevices* Instance(const std::string& clientName);

    // Closes the database and clears the process-wide pointer; the next
    // Instance() call opens the library again.
    virtual ~TransferDevices();

    TransferDevices(const TransferDevices&) = delete;
    TransferDevices& operator=(const TransferDevices&) = delete;

    // Number of stored devices; 0 when closed or on failure.
    uint32_t DeviceCount();
    // The device at index in ascending id order; null on failure. The caller
    // owns the result.
    TransferDevice* DeviceAt(uint32_t index);
    // The stored device with that id; null when there is none or on failure.
    // The caller owns the result.
    TransferDevice* GetDevice(uint32_t deviceId);
    // Stores a new device with the next free id (at least 10000) and returns
    // it, or null on failure. The caller owns the result.
    TransferDevice* CreateDevice(const std::string& name);
    // Stores a device under a given id (at least 10000) that has no row yet, or null on failure
    // (also when the id is taken). The caller owns the result.
    TransferDevice* CreateDeviceWithId(uint32_t deviceId, const std::string& name);
    // Deletes the device's row. On success the object is deleted too (the call
    // consumes it) and "Device/Remove" is announced; on failure the caller
    // keeps it.
    bool RemoveDevice(TransferDevice* device);
    // Mirror of schema_data.initialized: a device has been created at least once.
    bool IsInitialized() const;
    // Whether the database is open and usable.
    bool IsOpen() const;
    // What the last attempt to use the file found.
    Availability GetAvailability() const;
    // Why device memory could not be used, in plain words for the user and
    // naming the file; given once per process (empty before and after).
    QString TakeUserNotice();

    // $XDG_DATA_HOME (default ~/.local/share) + "/Kavo/TransferWizard/Devices";
    // empty when no data folder can be determined.
    static QString DatabaseFileName();

private:
    explicit TransferDevices(const std::string& clientName);
    // Opens the file and brings its schema up to date; the outcome becomes
    // the availability.
    Availability open();
    // The insert behind both creations; wantedId 0 takes the next free id.
    TransferDevice* insertDevice(uint32_t wantedId, const std::string& name);
    Availability checkAndUpgrade(const QString& fileName);
    bool prepareLocation(const QString& fileName);
    void setNotice(const QString& text);
    void noteBusy();

    // Used by TransferDevice and LibrarySession: the current instance, its
    // lock, its database and the one way notifications are sent.
    friend class TransferDevice;
    friend class LibrarySession;
    static TransferDevices* current();
    QRecursiveMutex& mutex();
    QSqlDatabase& database();
    // With the lock held: opens the file if it is not open (again, after a
    // busy attempt) and sets SQLite's wait for the calling thread.
    bool prepare(bool shortWait);
    static bool isBusy(const QSqlError& error);
    // Endpoint reference counts are plain ints, while devices come and go on
    // any thread: every count change made by this library goes under this lock.
    static std::mutex& endpointRefLock();
    static bool sendNotification(kvds::IKavoIPC* ipc, const std::string& clientName,
                                 const char* topic, uint32_t deviceId, uint32_t flags);

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace TransferDevicesLibrary
