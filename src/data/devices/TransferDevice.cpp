#include "TransferDevice.h"

#include "DataLogging.h"
#include "LibrarySession.h"
#include "TransferDevices.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace TransferDevicesLibrary {

namespace {

// Device text is UTF-8 in memory and TEXT in the file. An empty string stays
// an empty text, never NULL: the name column refuses NULL.
QVariant toText(const std::string& text)
{
    QString s = QString::fromStdString(text);
    if (s.isNull())
        s = QStringLiteral("");
    return s;
}

QVariant toColumn(const std::string& text)
{
    return toText(text);
}

template <class T> QVariant toColumn(const T& value)
{
    return QVariant(value);
}

std::string fromText(const QVariant& value)
{
    return value.toString().toStdString();
}

const QString kIdPlaceholder = QStringLiteral(":ID");

} // namespace

TransferDevice::TransferDevice(uint32_t deviceId, const std::string& clientName,
                               kvds::IKavoIPC* ipc)
    : m_deviceId(deviceId), m_clientName(clientName)
{
    std::lock_guard<std::mutex> guard(TransferDevices::endpointRefLock());
    m_ipc = ipc;
}

TransferDevice::~TransferDevice()
{
    std::lock_guard<std::mutex> guard(TransferDevices::endpointRefLock());
    m_ipc.reset();
}

bool TransferDevice::Load()
{
    LibrarySession session(TransferDevices::current());
    if (!session.IsReady())
        return false;
    QSqlQuery query(session.Database());
    if (!query.prepare(QStringLiteral(
            "SELECT name AS name, has_been_configured AS has_been_configured,       type AS "
            "type, profile AS profile, last_used_method AS last_used_method,       "
            "ovs_registration_state AS ovs_registration_state,       "
            "prompt_for_ovs_registration AS prompt_for_ovs_registration,       "
            "data_rate_of_last_used_drive AS data_rate_of_last_used_drive,       "
            "last_used_drive_name AS last_used_drive_name  FROM device WHERE device_id = :ID")))
        return false;
    query.bindValue(kIdPlaceholder, m_deviceId);
    if (!query.exec()) {
        session.NoteFailure(query.lastError());
        return false;
    }
    if (!query.next())
        return false;

    const QSqlRecord record = query.record();
    // Nullable columns read as 0 or empty.
    m_name = fromText(record.value(QStringLiteral("name")));
    m_hasBeenConfigured = record.value(QStringLiteral("has_been_configured")).toBool();
    m_type = record.value(QStringLiteral("type")).toUInt();
    m_profile = record.value(QStringLiteral("profile")).toUInt();
    m_lastUsedMethod = record.value(QStringLiteral("last_used_method")).toInt();
    m_registrationState = record.value(QStringLiteral("ovs_registration_state")).toInt();
    m_promptForRegistration = record.value(QStringLiteral("prompt_for_ovs_registration")).toBool();
    m_dataRate = record.value(QStringLiteral("data_rate_of_last_used_drive")).toUInt();
    m_lastDriveName = fromText(record.value(QStringLiteral("last_used_drive_name")));
    return true;
}

bool TransferDevice::Save()
{
    return saveRow(true);
}

bool TransferDevice::saveRow(bool notify)
{
    {
        LibrarySession session(TransferDevices::current());
        if (!session.IsReady())
            return false;
        QSqlDatabase& db = session.Database();

        bool exists = false;
        {
            QSqlQuery check(db);
            if (!check.prepare(QStringLiteral("SELECT name FROM device WHERE device_id = :ID")))
                return false;
            check.bindValue(kIdPlaceholder, m_deviceId);
            if (!check.exec())
                return false;
            exists = check.next();
        }

        QSqlQuery query(db);
        const bool prepared =
            exists ? query.prepare(QStringLiteral(
                         "UPDATE device   SET name = :NAME, has_been_configured = :CONF,       "
                         "type = :TYPE, profile = :PROFILE, last_used_method = :METHOD,       "
                         "ovs_registration_state = :OVSSTATE,       prompt_for_ovs_registration "
                         "= :OVSPROMPT,       data_rate_of_last_used_drive = :DATARATE,       "
                         "last_used_drive_name = :DRIVENAME WHERE device_id = :ID"))
                   : query.prepare(QStringLiteral(
                         "INSERT INTO device (device_id, name, has_been_configured,            "
                         "        type, profile, last_used_method,                    "
                         "ovs_registration_state, prompt_for_ovs_registration,                  "
                         "  data_rate_of_last_used_drive,                    "
                         "last_used_drive_name) VALUES (:ID, :NAME, :CONF, :TYPE, :PROFILE, "
                         ":METHOD,         :OVSSTATE, :OVSPROMPT, :DATARATE, :DRIVENAME)"));
        if (!prepared) {
            qCDebug(lcData) << "TransferDevice cannot prepare the save:"
                            << query.lastError().text();
            return false;
        }
        query.bindValue(kIdPlaceholder, m_deviceId);
        query.bindValue(QStringLiteral(":NAME"), toText(m_name));
        query.bindValue(QStringLiteral(":CONF"), m_hasBeenConfigured);
        query.bindValue(QStringLiteral(":TYPE"), m_type);
        query.bindValue(QStringLiteral(":PROFILE"), m_profile);
        query.bindValue(QStringLiteral(":METHOD"), m_lastUsedMethod);
        query.bindValue(QStringLiteral(":OVSSTATE"), m_registrationState);
        query.bindValue(QStringLiteral(":OVSPROMPT"), m_promptForRegistration);
        query.bindValue(QStringLiteral(":DATARATE"), m_dataRate);
        query.bindValue(QStringLiteral(":DRIVENAME"), toText(m_lastDriveName));
        if (!query.exec() || query.numRowsAffected() != 1) {
            qCDebug(lcData) << "TransferDevice cannot save device" << m_deviceId << ":"
                            << query.lastError().text();
            return false;
        }
    }
    // Announced outside the lock: a subscriber of this process may use the
    // library from its callback.
    if (notify)
        Notify("Device/Create");
    return true;
}

bool TransferDevice::SetColumn(const char* column, const QVariant& value)
{
    {
        LibrarySession session(TransferDevices::current());
        if (!session.IsReady())
            return false;
        QSqlDatabase& db = session.Database();
        // column is always one of this class's own constants.
        QSqlQuery query(db);
        if (!query.prepare(QStringLiteral("UPDATE device   SET %1 = :VALUE WHERE device_id = :ID")
                               .arg(QLatin1String(column))))
            return false;
        query.bindValue(kIdPlaceholder, m_deviceId);
        query.bindValue(QStringLiteral(":VALUE"), value);
        if (!query.exec() || query.numRowsAffected() != 1) {
            session.NoteFailure(query.lastError());
            qCDebug(lcData) << "TransferDevice cannot write" << column << "of device" << m_deviceId
                            << ":" << query.lastError().text();
            return false;
        }
    }
    Notify("Device/Change");
    return true;
}

template <class T> bool TransferDevice::Update(T& field, const T& value, const char* column)
{
    if (value == field)
        return false;
    field = value;
    return SetColumn(column, toColumn(value));
}

bool TransferDevice::SetName(const std::string& name)
{
    return Update(m_name, name, "name");
}

bool TransferDevice::SetProfile(uint32_t profile)
{
    return Update(m_profile, profile, "profile");
}

bool TransferDevice::SetLastUsedMethod(int32_t method)
{
    return Update(m_lastUsedMethod, method, "last_used_method");
}

bool TransferDevice::SetRegistrationState(int32_t state)
{
    return Update(m_registrationState, state, "ovs_registration_state");
}

bool TransferDevice::SetPromptForRegistration(bool prompt)
{
    return Update(m_promptForRegistration, prompt, "prompt_for_ovs_registration");
}

bool TransferDevice::SetDataRate(uint32_t dataRate)
{
    return Update(m_dataRate, dataRate, "data_rate_of_last_used_drive");
}

bool TransferDevice::SetLastDriveName(const std::string& driveName)
{
    return Update(m_lastDriveName, driveName, "last_used_drive_name");
}

bool TransferDevice::MarkConfigured()
{
    return Update(m_hasBeenConfigured, true, "has_been_configured");
}

bool TransferDevice::SetType(uint32_t type)
{
    if (type == m_type)
        return false;
    {
        LibrarySession session(TransferDevices::current());
        if (!session.IsReady())
            return false;
        QSqlDatabase& db = session.Database();

        m_type = type;
        m_profile = 0;
        m_lastUsedMethod = 0;
        m_registrationState = 0;
        m_promptForRegistration = true;
        m_lastDriveName.clear();

        {
            QSqlQuery check(db);
            if (!check.prepare(QStringLiteral("SELECT name FROM device WHERE device_id = :ID")))
                return false;
            check.bindValue(kIdPlaceholder, m_deviceId);
            if (!check.exec() || !check.next())
                return false;
        }
        QSqlQuery query(db);
        if (!query.prepare(QStringLiteral(
                "UPDATE device   SET type = :TYPE, profile = :PROFILE,       last_used_method = "
                ":METHOD,       last_used_drive_name = :DRIVENAME,       ovs_registration_state "
                "= :OVSSTATE,       prompt_for_ovs_registration = :OVSPROMPT WHERE device_id = "
                ":ID")))
            return false;
        query.bindValue(kIdPlaceholder, m_deviceId);
        query.bindValue(QStringLiteral(":TYPE"), m_type);
        query.bindValue(QStringLiteral(":PROFILE"), m_profile);
        query.bindValue(QStringLiteral(":METHOD"), m_lastUsedMethod);
        query.bindValue(QStringLiteral(":DRIVENAME"), toText(m_lastDriveName));
        query.bindValue(QStringLiteral(":OVSSTATE"), m_registrationState);
        query.bindValue(QStringLiteral(":OVSPROMPT"), m_promptForRegistration);
        if (!query.exec() || query.numRowsAffected() != 1) {
            qCDebug(lcData) << "TransferDevice cannot change the type of device" << m_deviceId
                            << ":" << query.lastError().text();
            return false;
        }
    }
    Notify("Device/Change");
    return true;
}

bool TransferDevice::Notify(const char* topic)
{
    // Flags: 1 = the device exists, 2 = it is registered with the player.
    const uint32_t flags = m_registrationState == 1 ? 3 : 1;
    return TransferDevices::sendNotification(m_ipc.get(), m_clientName, topic, m_deviceId, flags);
}

} // namespace TransferDevicesLibrary
