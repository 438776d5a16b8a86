#pragma once

#include "IKavoIPC.h"
#include "RefCountedPtr.h"

#include <cstdint>
#include <string>

class QVariant;

namespace TransferDevicesLibrary {

class TransferDevices;

// One device of the device library, loaded into memory. The owner keeps it as
// long as it likes; its database work goes through the current library
// instance and fails when there is none. Each setter writes its one column and
// announces "Device/Change"; a setter given the value already held writes
// nothing and returns false.
class TransferDevice
{
public:
    // An unsaved device: empty strings, zero numbers, not configured, prompt on.
    // ipc may be null (no notifications); otherwise the device holds a reference.
    TransferDevice(uint32_t deviceId, const std::string& clientName, kvds::IKavoIPC* ipc);
    virtual ~TransferDevice();

    TransferDevice(const TransferDevice&) = delete;
    TransferDevice& operator=(const TransferDevice&) = delete;

    std::string GetName() const { return m_name; }
    uint32_t GetType() const { return m_type; }
    uint32_t GetProfile() const { return m_profile; }
    uint32_t GetDeviceId() const { return m_deviceId; }
    int32_t GetLastUsedMethod() const { return m_lastUsedMethod; }
    int32_t GetRegistrationState() const { return m_registrationState; }
    bool HasBeenConfigured() const { return m_hasBeenConfigured; }
    bool GetPromptForRegistration() const { return m_promptForRegistration; }
    uint32_t GetDataRate() const { return m_dataRate; }
    std::string GetLastDriveName() const { return m_lastDriveName; }
    std::string GetClientName() const { return m_clientName; }

    // Reads the device's row; false when there is none or on failure.
    bool Load();
    // Writes every field, inserting the row when it is missing, and announces
    // "Device/Create".
    bool Save();

    bool SetName(const std::string& name);
    bool SetProfile(uint32_t profile);
    bool SetLastUsedMethod(int32_t method);
    bool SetRegistrationState(int32_t state);
    bool SetPromptForRegistration(bool prompt);
    bool SetDataRate(uint32_t dataRate);
    bool SetLastDriveName(const std::string& driveName);
    // Sets has-been-configured.
    bool MarkConfigured();
    // A new kind of device starts over: profile, method and registration state
    // 0, prompt on, no last drive.
    bool SetType(uint32_t type);

    // Announces this device under topic to every participating program.
    bool Notify(const char* topic);

private:
    friend class TransferDevices;

    bool saveRow(bool notify);
    bool SetColumn(const char* column, const QVariant& value);
    // Keeps `value` in `field` and writes it to `column`; false when unchanged or not written.
    template <class T> bool Update(T& field, const T& value, const char* column);

    std::string m_name;
    uint32_t m_type = 0;
    uint32_t m_profile = 0;
    uint32_t m_deviceId = 0;
    int32_t m_lastUsedMethod = 0;
    int32_t m_registrationState = 0;
    bool m_hasBeenConfigured = false;
    bool m_promptForRegistration = true;
    uint32_t m_dataRate = 0;
    std::string m_lastDriveName;
    std::string m_clientName;
    kvtl::RefCountedPtr<kvds::IKavoIPC> m_ipc;
};

} // namespace TransferDevicesLibrary
