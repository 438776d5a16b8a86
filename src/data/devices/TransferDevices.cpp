#include "TransferDevices.h"

#include "DataLogging.h"
#include "DatabaseTransaction.h"
#include "IKavoIPC.h"
#include "LibrarySession.h"
#include "RefCountedPtr.h"
#include "TransferDevice.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace TransferDevicesLibrary {

namespace {

const char* const kConnectionName = "TransferDevicesLibraryDatabaseConnection";

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
    qCDebug(lcData) << "TransferDevices" << what << "failed:" << query.lastError().text();
}

// The class has no Q_OBJECT; lupdate files its tr() texts under the class name.
QString tr(const char* text)
{
    return QCoreApplication::translate("TransferDevicesLibrary::TransferDevices", text);
}

// Creates the missing folders of `dir`, each private to the user.
bool makePrivateDirs(const QByteArray& dir, int* error)
{
    struct stat st;
    if (stat(dir.constData(), &st) == 0) {
        *error = S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        return *error == 0;
    }
    const int slash = dir.lastIndexOf('/');
    if (slash > 0 && !makePrivateDirs(dir.left(slash), error))
        return false;
    if (mkdir(dir.constData(), 0700) != 0 && errno != EEXIST) {
        *error = errno;
        return false;
    }
    return true;
}

} // namespace

struct TransferDevices::Private
{
    std::string clientName;
    kvtl::RefCountedPtr<kvds::IKavoIPC> ipc;
    QSqlDatabase db;
    QRecursiveMutex mutex;
    std::atomic<bool> initialized{false};
    std::atomic<Availability> availability{Availability::Unknown};
    // The busy timeout set on the connection, in ms.
    int busyTimeout = -1;
    std::mutex noticeMutex;
    QString notice;
    bool noticeGiven = false;
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

TransferDevices::TransferDevices(const std::string& clientName) : d(std::make_unique<Private>())
{
    d->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(kConnectionName));
    kvds::IKavoIPC* ipc = nullptr;
    if (kvds::CreateKavoIPC(&ipc)) {
        std::lock_guard<std::mutex> guard(endpointRefLock());
        d->ipc = ipc; // the handle takes its own reference
        ipc->Release();
    } else {
        qCDebug(lcData) << "TransferDevices no messaging endpoint; changes are not announced";
    }
    d->clientName = clientName;
    // Opened now when the file is free; otherwise at the next use.
    LibrarySession session(this);
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

bool TransferDevices::isBusy(const QSqlError& error)
{
    // SQLITE_BUSY and SQLITE_LOCKED, with their extended codes.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 5 || code == 6;
}

void TransferDevices::setNotice(const QString& text)
{
    std::lock_guard<std::mutex> lock(d->noticeMutex);
    if (!d->noticeGiven && d->notice.isEmpty())
        d->notice = text;
}

void TransferDevices::noteBusy()
{
    const QString fileName = DatabaseFileName();
    qCDebug(lcData) << "TransferDevices" << fileName
                    << "is in use by another program; trying later";
    setNotice(tr("Your device's saved choices cannot be used right now: another program is using "
                 "the device memory file %1. Portavo carries on without them and tries again "
                 "later.")
                  .arg(fileName));
}

QString TransferDevices::TakeUserNotice()
{
    std::lock_guard<std::mutex> lock(d->noticeMutex);
    if (d->noticeGiven || d->notice.isEmpty())
        return QString();
    d->noticeGiven = true;
    return d->notice;
}

TransferDevices::Availability TransferDevices::GetAvailability() const
{
    return d->availability.load();
}

bool TransferDevices::prepare(bool shortWait)
{
    const Availability state = d->availability.load();
    if (state == Availability::Unavailable)
        return false;
    if (state != Availability::Available) {
        d->busyTimeout = -1;
        d->availability = open();
        if (d->availability.load() == Availability::Busy)
            noteBusy();
        if (d->availability.load() != Availability::Available)
            return false;
    }
    const int wanted = shortWait ? ShortWaitMs : LongWaitMs;
    if (wanted != d->busyTimeout) {
        QSqlQuery query(d->db);
        if (query.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(wanted)))
            d->busyTimeout = wanted;
    }
    return true;
}

bool TransferDevices::prepareLocation(const QString& fileName)
{
    // Device names and drives are the user's own business: the folders and
    // the file are private to the user.
    const QByteArray file = QFile::encodeName(fileName);
    int error = 0;
    if (!makePrivateDirs(file.left(file.lastIndexOf('/')), &error)) {
        qCDebug(lcData) << "TransferDevices cannot make the folder of" << fileName
                        << strerror(error);
        setNotice(tr("Portavo cannot remember your devices: the folder for %1 cannot be created "
                     "(%2).")
                      .arg(fileName, QString::fromLocal8Bit(strerror(error))));
        return false;
    }
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    else if (errno != EEXIST) {
        const int why = errno;
        qCDebug(lcData) << "TransferDevices cannot create" << fileName << strerror(why);
        setNotice(tr("Portavo cannot remember your devices: %1 cannot be created (%2).")
                      .arg(fileName, QString::fromLocal8Bit(strerror(why))));
        return false;
    }
    return true;
}

TransferDevices::Availability TransferDevices::open()
{
    // Without a data folder the library works without memory; it never falls
    // back to a file in the root directory.
    const QString fileName = DatabaseFileName();
    if (fileName.isEmpty() || !d->db.isValid()) {
        qCDebug(lcData) << "TransferDevices no database location";
        setNotice(tr("Portavo cannot remember your devices: there is no folder for its device "
                     "memory (HOME is not set)."));
        return Availability::Unavailable;
    }
    if (!d->db.isOpen()) {
        if (!prepareLocation(fileName))
            return Availability::Unavailable;
        d->db.setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1")
                .arg(LibrarySession::OnApplicationThread() ? ShortWaitMs : LongWaitMs));
        d->db.setDatabaseName(fileName);
        if (!d->db.open()) {
            qCDebug(lcData) << "TransferDevices cannot open" << fileName
                            << d->db.lastError().text();
            setNotice(tr("Portavo cannot remember your devices: %1 cannot be opened (%2).")
                          .arg(fileName, d->db.lastError().text()));
            return Availability::Unavailable;
        }
    }
    const Availability result = checkAndUpgrade(fileName);
    if (result != Availability::Available)
        d->db.close();
    return result;
}

TransferDevices::Availability TransferDevices::checkAndUpgrade(const QString& fileName)
{
    auto failed = [&](const char* what, const QSqlError& error) {
        qCDebug(lcData) << "TransferDevices" << what << "failed for" << fileName << error.text();
        if (isBusy(error))
            return Availability::Busy;
        setNotice(tr("Portavo cannot remember your devices: the device memory file %1 is damaged "
                     "or unreadable (%2). It is left as it is.")
                      .arg(fileName, error.text()));
        return Availability::Unavailable;
    };

    // A file that is not a database, or a damaged one, must not be touched:
    // the schema script below would otherwise write into it. Only the main
    // database is checked: opening the temporary one now would make the
    // script's temp_store pragma fail inside its transaction.
    {
        QSqlQuery check(d->db);
        if (!check.exec(QStringLiteral("PRAGMA main.quick_check")) || !check.next())
            return failed("checking the file", check.lastError());
        const QString verdict = check.value(0).toString();
        if (verdict != QLatin1String("ok") || check.next()) {
            qCDebug(lcData) << "TransferDevices" << fileName << "is damaged:" << verdict;
            setNotice(tr("Portavo cannot remember your devices: the device memory file %1 is "
                         "damaged. It is left as it is.")
                          .arg(fileName));
            return Availability::Unavailable;
        }
    }

    // Ours is an empty file (new) or one with our schema table; any other
    // database belongs to someone else and is left alone.
    {
        QSqlQuery objects(d->db);
        if (!objects.exec(QStringLiteral("SELECT count(*), "
                                         "sum(type = 'table' AND name = 'schema_data') "
                                         "FROM sqlite_master")) ||
            !objects.next())
            return failed("reading the file's tables", objects.lastError());
        const bool empty = objects.value(0).toLongLong() == 0;
        const bool ours =
            objects.value(1).toLongLong() == 1 &&
            QSqlQuery(d->db).exec(QStringLiteral("SELECT version, initialized FROM schema_data"));
        if (!empty && !ours) {
            qCDebug(lcData) << "TransferDevices" << fileName
                            << "is not a device library; left alone";
            setNotice(tr("Portavo cannot remember your devices: %1 is not its device memory but "
                         "some other database. It is left as it is.")
                          .arg(fileName));
            return Availability::Unavailable;
        }
    }

    // The version is written only when it changes, so starting the program
    // writes nothing to a current library (and waits for no write lock).
    auto storedVersion = [this](bool* found) {
        QSqlQuery query(d->db);
        *found = query.exec(QStringLiteral("SELECT version FROM schema_data")) && query.next();
        return *found ? query.value(0).toLongLong() : 0;
    };
    bool found = false;
    if (storedVersion(&found) < SchemaVersion || !found) {
        // The pragmas go first: a write transaction fixes the file's layout,
        // after which auto_vacuum can no longer be chosen.
        QStringList pragmas;
        QStringList statements;
        for (const QString& part :
             QString::fromLatin1(kSchemaScript).split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
            const QString statement = part.trimmed();
            if (!statement.isEmpty())
                (statement.startsWith(QLatin1String("PRAGMA")) ? pragmas : statements) << statement;
        }
        for (const QString& statement : pragmas) {
            QSqlQuery query(d->db);
            if (!query.prepare(statement) || !query.exec())
                return failed("schema statement", query.lastError());
        }
        DatabaseTransaction transaction(d->db);
        if (!transaction.Begin())
            return failed("beginning the schema", transaction.LastError());
        // Another program may have done it meanwhile; under the write lock
        // the answer holds.
        const qint64 version = storedVersion(&found);
        if (version < SchemaVersion || !found) {
            for (const QString& statement : statements) {
                QSqlQuery query(d->db);
                if (!query.prepare(statement) || !query.exec())
                    return failed("schema statement", query.lastError());
            }
            storedVersion(&found);
            if (!found) {
                QSqlQuery query(d->db);
                if (!query.exec(QStringLiteral("INSERT INTO schema_data (version) VALUES(0)")) ||
                    query.numRowsAffected() != 1)
                    return failed("inserting the version row", query.lastError());
            }
            QSqlQuery query(d->db);
            if (!query.prepare(QStringLiteral("UPDATE schema_data SET version = :VERSION")))
                return failed("preparing the version update", query.lastError());
            query.bindValue(QStringLiteral(":VERSION"), SchemaVersion);
            if (!query.exec())
                return failed("updating the version", query.lastError());
        }
        if (!transaction.Commit())
            return failed("committing the schema", transaction.LastError());
    }

    QSqlQuery query(d->db);
    if (!query.exec(QStringLiteral("SELECT initialized FROM schema_data")))
        return failed("reading the initialised mark", query.lastError());
    if (query.next())
        d->initialized = query.value(0).toBool();
    return Availability::Available;
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
    return d->availability.load() == Availability::Available;
}

bool TransferDevices::IsInitialized() const
{
    return d->initialized.load();
}

uint32_t TransferDevices::DeviceCount()
{
    LibrarySession session(this);
    if (!session.IsReady())
        return 0;
    QSqlQuery query(d->db);
    if (!query.exec(QStringLiteral("SELECT count(device_id) FROM device")) || !query.next()) {
        session.NoteFailure(query.lastError());
        return 0;
    }
    return query.value(0).toUInt();
}

TransferDevice* TransferDevices::DeviceAt(uint32_t index)
{
    LibrarySession session(this);
    if (!session.IsReady())
        return nullptr;
    QSqlQuery query(d->db);
    if (!query.prepare(QStringLiteral("SELECT device_id AS device_id FROM device ORDER BY "
                                      "device_id ASC LIMIT 1 OFFSET :INDEX")))
        return nullptr;
    query.bindValue(QStringLiteral(":INDEX"), index);
    if (!query.exec() || !query.next()) {
        session.NoteFailure(query.lastError());
        return nullptr;
    }
    bool ok = false;
    const uint32_t id = query.record().value(QStringLiteral("device_id")).toUInt(&ok);
    if (!ok)
        return nullptr;
    query = QSqlQuery();
    return GetDevice(id);
}

TransferDevice* TransferDevices::GetDevice(uint32_t deviceId)
{
    auto device = std::make_unique<TransferDevice>(deviceId, d->clientName, d->ipc.get());
    return device->Load() ? device.release() : nullptr;
}

TransferDevice* TransferDevices::CreateDevice(const std::string& name)
{
    return insertDevice(0, name);
}

TransferDevice* TransferDevices::CreateDeviceWithId(uint32_t deviceId, const std::string& name)
{
    return deviceId >= FirstDeviceId ? insertDevice(deviceId, name) : nullptr;
}

TransferDevice* TransferDevices::insertDevice(uint32_t wantedId, const std::string& name)
{
    std::unique_ptr<TransferDevice> device;
    {
        LibrarySession session(this);
        if (!session.IsReady())
            return nullptr;

        // Reading the highest id and inserting the next one form one write
        // transaction, so two programs creating devices at once cannot both
        // pick the same id (the second would otherwise overwrite the first's
        // row).
        DatabaseTransaction transaction(d->db);
        if (!transaction.Begin()) {
            qCDebug(lcData) << "TransferDevices beginning the device creation failed:"
                            << transaction.LastError().text();
            session.NoteFailure(transaction.LastError());
            return nullptr;
        }
        qint64 maxId = 0;
        {
            QSqlQuery query(d->db);
            if (!query.exec(QStringLiteral("SELECT max(device_id) FROM device")) || !query.next()) {
                logQueryError("reading the highest device id", query);
                return nullptr;
            }
            maxId = query.value(0).toLongLong();
        }
        qint64 newId = maxId + 1;
        if (newId < FirstDeviceId)
            newId = FirstDeviceId;
        if (wantedId != 0) {
            QSqlQuery taken(d->db);
            taken.prepare(QStringLiteral("SELECT count(*) FROM device WHERE device_id = ?"));
            taken.addBindValue(qint64(wantedId));
            if (!taken.exec() || !taken.next() || taken.value(0).toLongLong() != 0)
                return nullptr;
            newId = wantedId;
        }
        // Ids are 32-bit everywhere else; wrapping around would reuse a stored id.
        if (newId > std::numeric_limits<uint32_t>::max()) {
            qCDebug(lcData) << "TransferDevices no free device id above" << maxId;
            return nullptr;
        }
        device = std::make_unique<TransferDevice>(uint32_t(newId), d->clientName, d->ipc.get());
        device->m_name = name;
        if (!device->saveRow(false))
            return nullptr;
        if (!transaction.Commit()) {
            qCDebug(lcData) << "TransferDevices committing the new device failed:"
                            << transaction.LastError().text();
            return nullptr;
        }
    }
    // Announced outside the lock: a subscriber of this process may use the
    // library from its callback.
    device->Notify("Device/Create");

    LibrarySession session(this);
    if (!session.IsReady())
        return nullptr;
    if (!d->initialized) {
        QSqlQuery query(d->db);
        if (!query.exec(QStringLiteral("UPDATE schema_data SET initialized = 1")) ||
            query.numRowsAffected() != 1) {
            logQueryError("marking the library initialised", query);
            return nullptr;
        }
        d->initialized = true;
    }
    return device.release();
}

bool TransferDevices::RemoveDevice(TransferDevice* device)
{
    if (!device)
        return false;
    const uint32_t id = device->GetDeviceId();
    {
        LibrarySession session(this);
        if (!session.IsReady())
            return false;
        QSqlQuery query(d->db);
        if (!query.prepare(QStringLiteral("DELETE FROM device WHERE device_id = :ID")))
            return false;
        query.bindValue(QStringLiteral(":ID"), id);
        if (!query.exec() || query.numRowsAffected() != 1)
            return false;
    }
    // The call consumes the device once its row is gone.
    const std::unique_ptr<TransferDevice> consumed(device);
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
