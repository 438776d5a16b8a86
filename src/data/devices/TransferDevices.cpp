#include "TransferDevices.h"

#include "IKavoIPC.h"
#include "RefCountedPtr.h"
#include "TransferDevice.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <atomic>
#include <limits>
#include <mutex>

namespace TransferDevicesLibrary {

namespace {

const char* const kConnectionName = "TransferDevicesLibraryDatabaseConnection";
const char* const kConnectOptions = "QSQLITE_BUSY_TIMEOUT=120000";

// Statements are separated by ";;" so that a statement may itself end in ";".
// Every table is created only when missing, so running the script over an
// older file keeps its rows.
const char* const kSchemaScript = "PRAGMA auto_vacuum = full;;"
                                  "PRAGMA temp_store = MEMORY;;"
                                  "CREATE TABLE IF NOT EXISTS schema_data ("
                                  " version INTEGER NOT NULL DEFAULT 0,"
                                  " initialized INTEGER NOT NULL DEFAULT 0"
                                  ");;"
                                  "CREATE TABLE IF NOT EXISTS device ("
                                  " device_id INTEGER PRIMARY KEY NOT NULL,"
                                  " name TEXT NOT NULL,"
                                  " has_been_configured INTEGER NOT NULL DEFAULT 0,"
                                  " type INTEGER NOT NULL,"
                                  " profile INTEGER NOT NULL,"
                                  " last_used_method INTEGER,"
                                  " ovs_registration_state INTEGER,"
                                  " prompt_for_ovs_registration INTEGER NOT NULL DEFAULT 1,"
                                  " data_rate_of_last_used_drive INTEGER NOT NULL DEFAULT 0,"
                                  " last_used_drive_name TEXT"
                                  ");;";

std::atomic<TransferDevices*> s_instance{nullptr};
std::mutex s_instanceMutex;

void logQueryError(const char* what, const QSqlQuery& query)
{
    qDebug() << "TransferDevices" << what << "failed:" << query.lastError().text();
}

} // namespace

struct TransferDevices::Private
{
    std::string clientName;
    kvtl::RefCountedPtr<kvds::IKavoIPC> ipc;
    QSqlDatabase db;
    QRecursiveMutex mutex;
    bool initialized = false;
};

TransferDevices* TransferDevices::Instance(const std::string& clientName)
{
    std::lock_guard<std::mutex> guard(s_instanceMutex);
    TransferDevices* library = s_instance.load();
    if (!library) {
        library = new TransferDevices(clientName);
        s_instance.store(library);
    }
    return library;
}

TransferDevices* TransferDevices::current()
{
    return s_instance.load();
}

TransferDevices::TransferDevices(const std::string& clientName) : d(new Private)
{
    d->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(kConnectionName));
    kvds::IKavoIPC* ipc = nullptr;
    if (kvds::CreateKavoIPC(&ipc)) {
        std::lock_guard<std::mutex> guard(endpointRefLock());
        d->ipc = ipc; // the handle takes its own reference
        ipc->Release();
    } else {
        qDebug() << "TransferDevices no messaging endpoint; changes are not announced";
    }
    d->clientName = clientName;
    open();
}

TransferDevices::~TransferDevices()
{
    {
        QMutexLocker<QRecursiveMutex> lock(&d->mutex);
        d->db.close();
        d->db = QSqlDatabase();
    }
    QSqlDatabase::removeDatabase(QLatin1String(kConnectionName));
    {
        std::lock_guard<std::mutex> guard(endpointRefLock());
        d->ipc.reset();
    }
    delete d;
    TransferDevices* self = this;
    s_instance.compare_exchange_strong(self, nullptr);
}

QString TransferDevices::DatabaseFileName()
{
    // XDG base directories: a relative $XDG_DATA_HOME is invalid and ignored.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty() || QDir::isRelativePath(home))
            return QString();
        base = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base) + QStringLiteral("/Kavo/TransferWizard/Devices");
}

void TransferDevices::open()
{
    // Without a data folder the library works without memory; it never falls
    // back to a file in the root directory.
    const QString fileName = DatabaseFileName();
    if (fileName.isEmpty() || !d->db.isValid()) {
        qDebug() << "TransferDevices no database location";
        return;
    }
    QDir().mkpath(QFileInfo(fileName).absolutePath());

    d->db.setConnectOptions(QLatin1String(kConnectOptions));
    d->db.setDatabaseName(fileName);
    if (!d->db.open()) {
        qDebug() << "TransferDevices cannot open" << fileName << d->db.lastError().text();
        return;
    }

    QMutexLocker<QRecursiveMutex> lock(&d->mutex);

    // A file that is not a database, or a damaged one, must not be touched:
    // the schema script below would otherwise write into it. Only the main
    // database is checked: opening the temporary one now would make the
    // script's temp_store pragma fail inside its transaction.
    {
        QSqlQuery check(d->db);
        const bool ran = check.exec(QStringLiteral("PRAGMA main.quick_check"));
        const QString verdict =
            ran && check.next() ? check.value(0).toString() : check.lastError().text();
        if (!ran || verdict != QLatin1String("ok") || check.next()) {
            qDebug() << "TransferDevices" << fileName
                     << "is not a usable database; device memory is off:" << verdict;
            check = QSqlQuery();
            d->db.close();
            return;
        }
    }

    bool schemaNeeded = true;
    bool insertVersionRow = true;
    {
        QSqlQuery query(d->db);
        if (query.prepare(QStringLiteral("SELECT version FROM schema_data")) && query.exec() &&
            query.next()) {
            insertVersionRow = false;
            schemaNeeded = query.value(0).toLongLong() < SchemaVersion;
        }
    }

    if (schemaNeeded && !createSchema())
        return;

    if (insertVersionRow) {
        QSqlQuery query(d->db);
        if (!query.exec(QStringLiteral("INSERT INTO schema_data (version) VALUES(0)")) ||
            query.numRowsAffected() != 1) {
            logQueryError("inserting the version row", query);
            return;
        }
    }

    {
        QSqlQuery query(d->db);
        if (!query.prepare(QStringLiteral("UPDATE schema_data SET version = :VERSION"))) {
            logQueryError("preparing the version update", query);
            return;
        }
        query.bindValue(QStringLiteral(":VERSION"), SchemaVersion);
        if (!query.exec()) {
            logQueryError("updating the version", query);
            return;
        }
    }

    QSqlQuery query(d->db);
    if (query.exec(QStringLiteral("SELECT initialized FROM schema_data")) && query.next())
        d->initialized = query.value(0).toBool();
}

bool TransferDevices::createSchema()
{
    const QStringList parts =
        QString::fromLatin1(kSchemaScript).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (!d->db.transaction()) {
        qDebug() << "TransferDevices cannot begin the schema:" << d->db.lastError().text();
        d->db.close();
        return false;
    }
    for (const QString& part : parts) {
        const QString statement = part.trimmed();
        if (statement.isEmpty())
            continue;
        QSqlQuery query(d->db);
        if (!query.prepare(statement) || !query.exec()) {
            logQueryError("schema statement", query);
            query = QSqlQuery();
            d->db.rollback();
            d->db.close();
            return false;
        }
    }
    if (!d->db.commit()) {
        qDebug() << "TransferDevices cannot commit the schema:" << d->db.lastError().text();
        d->db.rollback();
        d->db.close();
        return false;
    }
    return true;
}

std::mutex& TransferDevices::endpointRefLock()
{
    static std::mutex lock;
    return lock;
}

QRecursiveMutex& TransferDevices::mutex()
{
    return d->mutex;
}

QSqlDatabase& TransferDevices::database()
{
    return d->db;
}

bool TransferDevices::IsOpen() const
{
    QMutexLocker<QRecursiveMutex> lock(&d->mutex);
    return d->db.isOpen();
}

bool TransferDevices::IsInitialized() const
{
    QMutexLocker<QRecursiveMutex> lock(&d->mutex);
    return d->initialized;
}

uint32_t TransferDevices::DeviceCount()
{
    QMutexLocker<QRecursiveMutex> lock(&d->mutex);
    if (!d->db.isOpen())
        return 0;
    QSqlQuery query(d->db);
    if (!query.exec(QStringLiteral("SELECT count(device_id) FROM device")) || !query.next())
        return 0;
    return query.value(0).toUInt();
}

TransferDevice* TransferDevices::DeviceAt(uint32_t index)
{
    QMutexLocker<QRecursiveMutex> lock(&d->mutex);
    if (!d->db.isOpen())
        return nullptr;
    QSqlQuery query(d->db);
    if (!query.prepare(QStringLiteral("SELECT device_id AS device_id FROM device ORDER BY "
                                      "device_id ASC LIMIT 1 OFFSET :INDEX")))
        return nullptr;
    query.bindValue(QStringLiteral(":INDEX"), index);
    if (!query.exec() || !query.next())
        return nullptr;
    bool ok = false;
    const uint32_t id = query.record().value(QStringLiteral("device_id")).toUInt(&ok);
    if (!ok)
        return nullptr;
    query = QSqlQuery();
    return GetDevice(id);
}

TransferDevice* TransferDevices::GetDevice(uint32_t deviceId)
{
    auto* device = new TransferDevice(deviceId, d->clientName, d->ipc.get());
    if (!device->Load()) {
        delete device;
        return nullptr;
    }
    return device;
}

TransferDevice* TransferDevices::CreateDevice(const std::string& name)
{
    QMutexLocker<QRecursiveMutex> lock(&d->mutex);
    if (!d->db.isOpen())
        return nullptr;

    // Reading the highest id and inserting the next one form one write
    // transaction, so two programs creating devices at once cannot both pick
    // the same id (the second would otherwise overwrite the first's row).
    QSqlQuery begin(d->db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        logQueryError("beginning the device creation", begin);
        return nullptr;
    }
    auto rollback = [this] { QSqlQuery(d->db).exec(QStringLiteral("ROLLBACK")); };

    qint64 maxId = 0;
    {
        QSqlQuery query(d->db);
        if (!query.exec(QStringLiteral("SELECT max(device_id) FROM device")) || !query.next()) {
            logQueryError("reading the highest device id", query);
            query = QSqlQuery();
            rollback();
            return nullptr;
        }
        maxId = query.value(0).toLongLong();
    }
    qint64 newId = maxId + 1;
    if (newId < FirstDeviceId)
        newId = FirstDeviceId;
    // Ids are 32-bit everywhere else; wrapping around would reuse a stored id.
    if (newId > std::numeric_limits<uint32_t>::max()) {
        qDebug() << "TransferDevices no free device id above" << maxId;
        rollback();
        return nullptr;
    }

    auto* device = new TransferDevice(uint32_t(newId), d->clientName, d->ipc.get());
    device->m_name = name;
    if (!device->saveRow(false)) {
        delete device;
        rollback();
        return nullptr;
    }
    QSqlQuery commit(d->db);
    if (!commit.exec(QStringLiteral("COMMIT"))) {
        logQueryError("committing the new device", commit);
        commit = QSqlQuery();
        delete device;
        rollback();
        return nullptr;
    }
    lock.unlock();
    device->Notify("Device/Create");
    lock.relock();

    if (!d->initialized) {
        QSqlQuery query(d->db);
        if (!query.exec(QStringLiteral("UPDATE schema_data SET initialized = 1")) ||
            query.numRowsAffected() != 1) {
            logQueryError("marking the library initialised", query);
            delete device;
            return nullptr;
        }
        d->initialized = true;
    }
    return device;
}

bool TransferDevices::RemoveDevice(TransferDevice* device)
{
    if (!device)
        return false;
    const uint32_t id = device->GetDeviceId();
    {
        QMutexLocker<QRecursiveMutex> lock(&d->mutex);
        if (!d->db.isOpen())
            return false;
        QSqlQuery query(d->db);
        if (!query.prepare(QStringLiteral("DELETE FROM device WHERE device_id = :ID")))
            return false;
        query.bindValue(QStringLiteral(":ID"), id);
        if (!query.exec() || query.numRowsAffected() != 1)
            return false;
    }
    delete device;
    sendNotification(d->ipc.get(), d->clientName, "Device/Remove", id, 0);
    return true;
}

bool TransferDevices::sendNotification(kvds::IKavoIPC* ipc, const std::string& clientName,
                                       const char* topic, uint32_t deviceId, uint32_t flags)
{
    if (!ipc)
        return false;
    // Three little-endian 32-bit words: message format 1, the device, the flags.
    const uint32_t words[3] = {1, deviceId, flags};
    unsigned char payload[12];
    for (int w = 0; w < 3; ++w)
        for (int b = 0; b < 4; ++b)
            payload[w * 4 + b] = static_cast<unsigned char>(words[w] >> (8 * b));
    uint32_t count = 0;
    return ipc->Send(clientName.c_str(), topic, sizeof payload, payload, &count);
}

} // namespace TransferDevicesLibrary
