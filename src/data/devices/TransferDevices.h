#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include <QRecursiveMutex>
#include <QSqlDatabase>
#include <QString>

namespace kvds {
class IKavoIPC;
}

namespace TransferDevicesLibrary {

class TransferDevice;

// The device library: the playback devices the user has set up, kept in an
// SQLite file in the user's data folder and shared with the other programs of
// the family, which hear about every change through the messaging endpoint.
//
// One instance per process, reached through Instance(). Every database
// statement, the library's own and those of TransferDevice objects, runs under
// one recursive mutex, so any thread may use the library. When the file cannot
// be opened, is not an SQLite database or is damaged, the library stays closed:
// every operation fails and the user's file is left untouched.
class TransferDevices
{
public:
    // Current schema version stored in schema_data.version.
    static constexpr uint32_t SchemaVersion = 0x10000;
    // Ids handed out by CreateDevice start here.
    static constexpr uint32_t FirstDeviceId = 10000;

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
    // Deletes the device's row. On success the object is deleted too (the call
    // consumes it) and "Device/Remove" is announced; on failure the caller
    // keeps it.
    bool RemoveDevice(TransferDevice* device);
    // Mirror of schema_data.initialized: a device has been created at least once.
    bool IsInitialized() const;
    // Whether the database is open and usable.
    bool IsOpen() const;

    // $XDG_DATA_HOME (default ~/.local/share) + "/Kavo/TransferWizard/Devices";
    // empty when no data folder can be determined.
    static QString DatabaseFileName();

private:
    explicit TransferDevices(const std::string& clientName);
    void open();
    bool createSchema();

    // Used by TransferDevice: the current instance, its lock, its database and
    // the one way notifications are sent.
    friend class TransferDevice;
    static TransferDevices* current();
    QRecursiveMutex& mutex();
    QSqlDatabase& database();
    // Endpoint reference counts are plain ints, while devices come and go on
    // any thread: every count change made by this library goes under this lock.
    static std::mutex& endpointRefLock();
    static bool sendNotification(kvds::IKavoIPC* ipc, const std::string& clientName,
                                 const char* topic, uint32_t deviceId, uint32_t flags);

    struct Private;
    Private* d;
};

} // namespace TransferDevicesLibrary
