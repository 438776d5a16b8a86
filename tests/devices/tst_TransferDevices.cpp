// The device library against real SQLite files: schema creation and upgrade,
// ids, setters, removal, files that must not be touched, a write lock held by
// another process, and use from several threads and processes at once.

#include "DeviceTestSupport.h"
#include "TestFiles.h"

#include <QProcess>

#include <algorithm>
#include <sys/stat.h>
#include <thread>

using namespace DeviceTestSupport;

namespace {

// Every stored field but the id and name, in one comparable line.
int mode(const QString& path)
{
    struct stat st;
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// Starts devices_db_locker on the file and waits until it holds the lock.
bool lockFile(QProcess& locker, const QString& file, int seconds)
{
    locker.start(helperPath(QStringLiteral("devices_db_locker")), {file, QString::number(seconds)});
    if (!locker.waitForStarted())
        return false;
    QByteArray output;
    while (!output.contains("LOCKED")) {
        if (!locker.waitForReadyRead(20000))
            return false;
        output += locker.readAllStandardOutput();
    }
    return true;
}

QString fields(const TransferDevice& d)
{
    return QString("type %1 profile %2 method %3 registration %4 prompt %5 rate %6 drive '%7' "
                   "configured %8")
        .arg(d.GetType())
        .arg(d.GetProfile())
        .arg(d.GetLastUsedMethod())
        .arg(d.GetRegistrationState())
        .arg(d.GetPromptForRegistration())
        .arg(d.GetDataRate())
        .arg(QString::fromStdString(d.GetLastDriveName()))
        .arg(d.HasBeenConfigured());
}

} // namespace

class tst_TransferDevices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void newFile_getsBothTablesAndOneSchemaRow();
    void instance_isOneObjectNamedByItsFirstCaller();
    void noDataFolder_leavesLibraryClosed();
    void closing_releasesWhatTheLibraryOpened();
    void oldSchema_isBroughtToCurrentVersionKeepingDevices_data();
    void oldSchema_isBroughtToCurrentVersionKeepingDevices();
    void createDevice_takesNextIdFrom10000_data();
    void createDevice_takesNextIdFrom10000();
    void createDevice_withNoFreeId_failsAndLetsGoOfTheFile();
    void createDevice_marksLibraryInitialized();
    void save_writesEveryFieldOfAnExistingRow();
    void deviceAt_walksDevicesInIdOrder();
    void setter_writesOnlyWhenValueChanges_data();
    void setter_writesOnlyWhenValueChanges();
    void setType_startsTheDeviceOver();
    void removeDevice_consumesOnlyWhenRowWasDeleted();
    void unusableFile_leavesLibraryClosedAndFileUntouched_data();
    void unusableFile_leavesLibraryClosedAndFileUntouched();
    void setter_onWorkerThread_waitsForAnotherProcessesWriteLock();
    void busyFile_leavesMainThreadFree_andWorksOnceReleased();
    void opening_writesNothingToTheFile_data();
    void opening_writesNothingToTheFile();
    void createDevice_fromThreadsAndProcessesAtOnce_givesDistinctIds();

private:
    // The library opened over a new, empty data folder.
    TransferDevices* freshLibrary()
    {
        m_home = std::make_unique<DataHome>();
        return reopenLibrary();
    }

    std::unique_ptr<DataHome> m_home;
    QTemporaryDir m_runtime;
};

void tst_TransferDevices::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void tst_TransferDevices::cleanup()
{
    closeLibrary();
    m_home.reset();
}

void tst_TransferDevices::newFile_getsBothTablesAndOneSchemaRow()
{
    TransferDevices* library = freshLibrary();
    QVERIFY(library->IsOpen());
    QCOMPARE(TransferDevices::DatabaseFileName(), m_home->databaseFile());
    QVERIFY(QFile::exists(m_home->databaseFile()));
    QCOMPARE(library->DeviceCount(), 0u);
    QVERIFY(!library->IsInitialized());

    FileProbe db(m_home->databaseFile());
    const auto tables = db.rows(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    QCOMPARE(tables,
             (QList<QVariantList>{{QStringLiteral("device")}, {QStringLiteral("schema_data")}}));
    QCOMPARE(db.rows(QStringLiteral("SELECT version, initialized FROM schema_data")),
             (QList<QVariantList>{{65536, 0}}));
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA auto_vacuum")).toInt(), 1); // full
    // The user's devices are nobody else's business.
    QCOMPARE(mode(m_home->databaseFile()), 0600);
    QCOMPARE(mode(m_home->path() + QStringLiteral("/Kavo/TransferWizard")), 0700);
    QCOMPARE(mode(m_home->path() + QStringLiteral("/Kavo")), 0700);
    QCOMPARE(library->TakeUserNotice(), QString());

    // Opening again finds the schema current and adds no second row.
    library = reopenLibrary();
    QVERIFY(library->IsOpen());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM schema_data")).toInt(), 1);
}

void tst_TransferDevices::instance_isOneObjectNamedByItsFirstCaller()
{
    m_home = std::make_unique<DataHome>();
    closeLibrary();
    TransferDevices* library = TransferDevices::Instance("Other");
    openedLibrary() = library;
    QCOMPARE(TransferDevices::Instance("TransferWizard"), library);
    std::unique_ptr<TransferDevice> device(library->CreateDevice("Den"));
    QVERIFY(device);
    QCOMPARE(device->GetClientName(), std::string("Other"));
}

void tst_TransferDevices::noDataFolder_leavesLibraryClosed()
{
    const QByteArray home = qgetenv("HOME");
    qunsetenv("XDG_DATA_HOME");
    qputenv("HOME", "");
    TransferDevices* library = reopenLibrary();
    const QString fileName = TransferDevices::DatabaseFileName();
    const bool open = library->IsOpen();
    closeLibrary();
    qputenv("HOME", home);
    QCOMPARE(fileName, QString());
    QVERIFY(!open);
}

// The library's messaging endpoint and database handles go with it: opening and closing it
// again and again leaves no descriptor behind.
void tst_TransferDevices::closing_releasesWhatTheLibraryOpened()
{
    const auto openDescriptors = [] {
        return QDir("/proc/self/fd")
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
            .size();
    };
    m_home = std::make_unique<DataHome>();
    reopenLibrary();
    closeLibrary();
    const auto before = openDescriptors();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(reopenLibrary()->IsOpen());
        closeLibrary();
    }
    QCOMPARE(openDescriptors(), before);
}

void tst_TransferDevices::oldSchema_isBroughtToCurrentVersionKeepingDevices_data()
{
    QTest::addColumn<bool>("withDeviceTable");
    QTest::newRow("both tables") << true;
    QTest::newRow("schema table only") << false;
}

void tst_TransferDevices::oldSchema_isBroughtToCurrentVersionKeepingDevices()
{
    QFETCH(bool, withDeviceTable);
    m_home = std::make_unique<DataHome>();
    QVERIFY(m_home->makeDatabaseFolder());
    {
        FileProbe db(m_home->databaseFile());
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE schema_data (version INTEGER NOT NULL "
                                       "DEFAULT 0, initialized INTEGER NOT NULL DEFAULT 0)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO schema_data VALUES (3, 1)")));
        if (withDeviceTable) {
            QVERIFY(db.exec(QStringLiteral(
                "CREATE TABLE device (device_id INTEGER PRIMARY KEY NOT NULL, name TEXT NOT "
                "NULL, has_been_configured INTEGER NOT NULL DEFAULT 0, type INTEGER NOT NULL, "
                "profile INTEGER NOT NULL, last_used_method INTEGER, ovs_registration_state "
                "INTEGER, prompt_for_ovs_registration INTEGER NOT NULL DEFAULT 1, "
                "data_rate_of_last_used_drive INTEGER NOT NULL DEFAULT 0, last_used_drive_name "
                "TEXT)")));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO device (device_id, name, type, profile) "
                                           "VALUES (10005, 'Den', 2, 3)")));
            QVERIFY(db.exec(QStringLiteral(
                "INSERT INTO device VALUES (10007, 'Phone', 1, 4, 1, 2, 1, 0, 2400, '/media/x')")));
        }
    }

    TransferDevices* library = reopenLibrary();
    QVERIFY(library->IsOpen());
    QVERIFY(library->IsInitialized());
    FileProbe db(m_home->databaseFile());
    QCOMPARE(db.rows(QStringLiteral("SELECT version, initialized FROM schema_data")),
             (QList<QVariantList>{{65536, 1}}));
    QCOMPARE(library->DeviceCount(), withDeviceTable ? 2u : 0u);
    if (!withDeviceTable)
        return;

    // A row written with only the required columns reads back with the
    // defaults and with its nullable columns as 0 and empty.
    std::unique_ptr<TransferDevice> den(library->GetDevice(10005));
    QVERIFY(den);
    QCOMPARE(den->GetName(), std::string("Den"));
    QCOMPARE(fields(*den),
             QString("type 2 profile 3 method 0 registration 0 prompt 1 rate 0 drive '' "
                     "configured 0"));

    std::unique_ptr<TransferDevice> phone(library->GetDevice(10007));
    QVERIFY(phone);
    QCOMPARE(phone->GetName(), std::string("Phone"));
    QCOMPARE(fields(*phone), QString("type 4 profile 1 method 2 registration 1 prompt 0 rate "
                                     "2400 drive '/media/x' configured 1"));
}

void tst_TransferDevices::createDevice_takesNextIdFrom10000_data()
{
    QTest::addColumn<QList<int>>("storedIds");
    QTest::addColumn<QList<int>>("expectedIds");
    QTest::newRow("empty table") << QList<int>{} << QList<int>{10000, 10001};
    QTest::newRow("highest 20000") << QList<int>{10000, 20000} << QList<int>{20001, 20002};
    QTest::newRow("only low ids") << QList<int>{5, 17} << QList<int>{10000, 10001};
    QTest::newRow("gap is not reused") << QList<int>{10000, 10002} << QList<int>{10003, 10004};
}

void tst_TransferDevices::createDevice_takesNextIdFrom10000()
{
    QFETCH(QList<int>, storedIds);
    QFETCH(QList<int>, expectedIds);
    TransferDevices* library = freshLibrary();
    QVERIFY(library->IsOpen());
    {
        FileProbe db(m_home->databaseFile());
        for (int id : storedIds)
            QVERIFY(db.exec(QStringLiteral("INSERT INTO device (device_id, name, type, profile) "
                                           "VALUES (%1, 'stored', 0, 0)")
                                .arg(id)));
    }
    for (int expected : expectedIds) {
        std::unique_ptr<TransferDevice> device(library->CreateDevice("new"));
        QVERIFY(device);
        QCOMPARE(device->GetDeviceId(), uint32_t(expected));
    }
    QCOMPARE(library->DeviceCount(), uint32_t(storedIds.size() + expectedIds.size()));
}

void tst_TransferDevices::createDevice_withNoFreeId_failsAndLetsGoOfTheFile()
{
    TransferDevices* library = freshLibrary();
    FileProbe db(m_home->databaseFile());
    QVERIFY(db.exec(QStringLiteral("INSERT INTO device (device_id, name, type, profile) "
                                   "VALUES (4294967295, 'last', 0, 0)")));
    QVERIFY(!library->CreateDevice("one too many"));
    // The refused creation ended its write transaction: others write, and so does the library.
    QVERIFY(db.exec(QStringLiteral("DELETE FROM device")));
    std::unique_ptr<TransferDevice> device(library->CreateDevice("again"));
    QVERIFY(device);
    QCOMPARE(device->GetDeviceId(), 10000u);
}

void tst_TransferDevices::createDevice_marksLibraryInitialized()
{
    TransferDevices* library = freshLibrary();
    QVERIFY(!library->IsInitialized());
    std::unique_ptr<TransferDevice> device(library->CreateDevice(""));
    QVERIFY(device); // an empty name is still a name, not NULL
    QCOMPARE(device->GetName(), std::string());
    QVERIFY(library->IsInitialized());
    FileProbe db(m_home->databaseFile());
    QCOMPARE(db.scalar(QStringLiteral("SELECT initialized FROM schema_data")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT name FROM device")).toString(), QString());
    QVERIFY(!db.scalar(QStringLiteral("SELECT name FROM device")).isNull());

    // The mirror is read back at start-up.
    QVERIFY(reopenLibrary()->IsInitialized());
}

void tst_TransferDevices::save_writesEveryFieldOfAnExistingRow()
{
    TransferDevices* library = freshLibrary();
    std::unique_ptr<TransferDevice> device(library->CreateDevice("Wohnzimmer – Blu-ray ✓"));
    QVERIFY(device);
    const uint32_t id = device->GetDeviceId();
    QVERIFY(device->SetDataRate(4294967295u));
    device.reset();

    library = reopenLibrary();
    TransferDevice copy(id, "TransferWizard", nullptr);
    QVERIFY(copy.Load());
    QCOMPARE(copy.GetName(), std::string("Wohnzimmer – Blu-ray ✓"));
    QVERIFY(copy.SetName("Renamed"));
    QVERIFY(copy.Save());
    std::unique_ptr<TransferDevice> again(library->GetDevice(id));
    QVERIFY(again);
    QCOMPARE(again->GetName(), std::string("Renamed"));
    QCOMPARE(again->GetDataRate(), 4294967295u);
    QCOMPARE(library->DeviceCount(), 1u);
}

void tst_TransferDevices::deviceAt_walksDevicesInIdOrder()
{
    TransferDevices* library = freshLibrary();
    {
        FileProbe db(m_home->databaseFile());
        for (int id : {10020, 10003, 10011})
            QVERIFY(db.exec(QStringLiteral("INSERT INTO device (device_id, name, type, profile) "
                                           "VALUES (%1, 'd%1', 0, 0)")
                                .arg(id)));
    }
    QCOMPARE(library->DeviceCount(), 3u);
    QList<uint32_t> ids;
    for (uint32_t i = 0; i < library->DeviceCount(); ++i) {
        std::unique_ptr<TransferDevice> device(library->DeviceAt(i));
        QVERIFY(device);
        QCOMPARE(device->GetName(), "d" + std::to_string(device->GetDeviceId()));
        ids << device->GetDeviceId();
    }
    QCOMPARE(ids, (QList<uint32_t>{10003, 10011, 10020}));
    QVERIFY(!library->DeviceAt(3));
    QVERIFY(!library->GetDevice(10021));
    QVERIFY(!library->GetDevice(0));

    // A device object without a row has nothing to write to.
    TransferDevice orphan(4242, "TransferWizard", nullptr);
    QVERIFY(!orphan.Load());
    QVERIFY(!orphan.SetProfile(1));
    QCOMPARE(library->DeviceCount(), 3u);
}

void tst_TransferDevices::setter_writesOnlyWhenValueChanges_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("current");
    QTest::addColumn<QVariant>("next");

    QTest::newRow("name") << "name" << QVariant(QStringLiteral("Den"))
                          << QVariant(QStringLiteral("Küche"));
    QTest::newRow("profile") << "profile" << QVariant(3) << QVariant(4);
    QTest::newRow("method") << "last_used_method" << QVariant(1) << QVariant(2);
    QTest::newRow("registration") << "ovs_registration_state" << QVariant(2) << QVariant(1);
    QTest::newRow("prompt") << "prompt_for_ovs_registration" << QVariant(true) << QVariant(false);
    QTest::newRow("data rate") << "data_rate_of_last_used_drive" << QVariant(1500)
                               << QVariant(2800);
    QTest::newRow("drive") << "last_used_drive_name" << QVariant(QStringLiteral("/media/a"))
                           << QVariant(QStringLiteral("/media/b"));
    QTest::newRow("configured") << "has_been_configured" << QVariant(true) << QVariant();
}

namespace {

bool callSetter(TransferDevice& device, const QString& column, const QVariant& value)
{
    if (column == QLatin1String("name"))
        return device.SetName(value.toString().toStdString());
    if (column == QLatin1String("profile"))
        return device.SetProfile(value.toUInt());
    if (column == QLatin1String("last_used_method"))
        return device.SetLastUsedMethod(value.toInt());
    if (column == QLatin1String("ovs_registration_state"))
        return device.SetRegistrationState(value.toInt());
    if (column == QLatin1String("prompt_for_ovs_registration"))
        return device.SetPromptForRegistration(value.toBool());
    if (column == QLatin1String("data_rate_of_last_used_drive"))
        return device.SetDataRate(value.toUInt());
    if (column == QLatin1String("last_used_drive_name"))
        return device.SetLastDriveName(value.toString().toStdString());
    if (column == QLatin1String("has_been_configured"))
        return device.MarkConfigured();
    return false;
}

} // namespace

void tst_TransferDevices::setter_writesOnlyWhenValueChanges()
{
    QFETCH(QString, column);
    QFETCH(QVariant, current);
    QFETCH(QVariant, next);
    TransferDevices* library = freshLibrary();
    std::unique_ptr<TransferDevice> device(library->CreateDevice("Den"));
    QVERIFY(device);
    const uint32_t id = device->GetDeviceId();
    callSetter(*device, column, current); // may already hold it

    FileProbe db(m_home->databaseFile());
    const QString select =
        QStringLiteral("SELECT %1 FROM device WHERE device_id = %2").arg(column).arg(id);
    QCOMPARE(db.scalar(select).toString(), current.toString().replace("true", "1"));

    // Another program changes the row; the same value again must not write.
    QVERIFY(db.exec(
        QStringLiteral("UPDATE device SET %1 = 77 WHERE device_id = %2").arg(column).arg(id)));
    QVERIFY(!callSetter(*device, column, current));
    QCOMPARE(db.scalar(select).toInt(), 77);

    if (!next.isValid())
        return;
    QVERIFY(callSetter(*device, column, next));
    QCOMPARE(db.scalar(select).toString(),
             next.toString().replace("false", "0").replace("true", "1"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM device")).toInt(), 1);
}

void tst_TransferDevices::setType_startsTheDeviceOver()
{
    TransferDevices* library = freshLibrary();
    std::unique_ptr<TransferDevice> device(library->CreateDevice("Den"));
    QVERIFY(device);
    QVERIFY(
        FileProbe(m_home->databaseFile())
            .exec(QStringLiteral("UPDATE device SET type = 1, profile = 3, last_used_method = "
                                 "2, ovs_registration_state = 1, prompt_for_ovs_registration "
                                 "= 0, last_used_drive_name = '/media/x', "
                                 "data_rate_of_last_used_drive = 900, has_been_configured = 1")));
    QVERIFY(device->Load());

    QVERIFY(!device->SetType(1));
    QVERIFY(device->SetType(4));

    std::unique_ptr<TransferDevice> loaded(library->GetDevice(device->GetDeviceId()));
    QVERIFY(loaded);
    // What the kind of device does not decide (name, rate, configured) survives.
    for (TransferDevice* d : {device.get(), loaded.get()}) {
        QCOMPARE(d->GetName(), std::string("Den"));
        QCOMPARE(fields(*d), QString("type 4 profile 0 method 0 registration 0 prompt 1 rate 900 "
                                     "drive '' configured 1"));
    }
}

void tst_TransferDevices::removeDevice_consumesOnlyWhenRowWasDeleted()
{
    TransferDevices* library = freshLibrary();
    TransferDevice* first = library->CreateDevice("first");
    std::unique_ptr<TransferDevice> second(library->CreateDevice("second"));
    QVERIFY(first && second);
    std::unique_ptr<TransferDevice> stale(library->GetDevice(first->GetDeviceId()));
    QVERIFY(stale);

    QVERIFY(library->RemoveDevice(first)); // consumed
    QCOMPARE(library->DeviceCount(), 1u);
    QVERIFY(!library->GetDevice(stale->GetDeviceId()));

    // The row is gone already: the call fails and the caller keeps its object.
    QVERIFY(!library->RemoveDevice(stale.get()));
    QCOMPARE(stale->GetName(), std::string("first"));
    QVERIFY(!library->RemoveDevice(nullptr));
    QCOMPARE(library->DeviceCount(), 1u);
}

void tst_TransferDevices::unusableFile_leavesLibraryClosedAndFileUntouched_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("not a database") << "text";
    QTest::newRow("damaged device table") << "damaged-table";
    QTest::newRow("damaged schema page") << "damaged-master";
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("folder cannot be made") << "blocked-folder";
}

void tst_TransferDevices::unusableFile_leavesLibraryClosedAndFileUntouched()
{
    QFETCH(QString, kind);
    m_home = std::make_unique<DataHome>();
    QString victim = m_home->databaseFile();

    if (kind == QLatin1String("text")) {
        QVERIFY(m_home->makeDatabaseFolder());
        QByteArray text;
        for (int i = 0; i < 300; ++i)
            text += "My holiday notes, line " + QByteArray::number(i) + "\n";
        QVERIFY(TestFiles::write(victim, text));
    } else if (kind == QLatin1String("blocked-folder")) {
        // A file where the library's folder would go.
        victim = m_home->path() + QStringLiteral("/Kavo");
        QVERIFY(TestFiles::write(victim, "not a folder"));
    } else {
        // A real library file with devices, then damaged.
        TransferDevices* library = reopenLibrary();
        for (int i = 0; i < 40; ++i)
            delete library->CreateDevice("device " + std::to_string(i));
        closeLibrary();
        int pageSize = 0;
        int devicePage = 0;
        {
            FileProbe db(victim);
            pageSize = db.scalar(QStringLiteral("PRAGMA page_size")).toInt();
            devicePage = db.scalar(QStringLiteral(
                                       "SELECT rootpage FROM sqlite_master WHERE name = 'device'"))
                             .toInt();
        }
        QVERIFY(pageSize > 0 && devicePage > 1);
        QByteArray bytes = TestFiles::read(victim);
        if (kind == QLatin1String("damaged-table")) {
            // A leaf page that claims far more cells than it holds.
            const int at = (devicePage - 1) * pageSize;
            bytes[at] = 0x0d;
            bytes[at + 3] = char(0x7f);
            bytes[at + 4] = char(0xff);
        } else if (kind == QLatin1String("damaged-master")) {
            // The schema page of the file: header intact, b-tree page type invalid.
            bytes[100] = 0x42;
        } else {
            bytes.truncate(bytes.size() - pageSize - pageSize / 2);
        }
        QVERIFY(TestFiles::write(victim, bytes));
    }
    const QByteArray before = TestFiles::read(victim);
    QVERIFY(!before.isEmpty());

    TransferDevices* library = reopenLibrary();
    QVERIFY(!library->IsOpen());
    QCOMPARE(library->GetAvailability(), TransferDevices::Availability::Unavailable);
    // The user is told once, in words that name the file.
    const QString notice = library->TakeUserNotice();
    QVERIFY2(notice.contains(m_home->databaseFile()), qPrintable(notice));
    QCOMPARE(library->TakeUserNotice(), QString());
    QCOMPARE(library->DeviceCount(), 0u);
    QVERIFY(!library->CreateDevice("new"));
    QVERIFY(!library->GetDevice(10000));
    QVERIFY(!library->DeviceAt(0));
    TransferDevice device(10000, "TransferWizard", nullptr);
    QVERIFY(!device.SetProfile(3));
    QVERIFY(!device.Save());
    closeLibrary();

    QCOMPARE(TestFiles::read(victim), before);
}

void tst_TransferDevices::setter_onWorkerThread_waitsForAnotherProcessesWriteLock()
{
    TransferDevices* library = freshLibrary();
    std::unique_ptr<TransferDevice> device(library->CreateDevice("Den"));
    QVERIFY(device);

    QProcess locker;
    QVERIFY2(lockFile(locker, m_home->databaseFile(), 3), locker.readAllStandardError());
    // The file is locked for writing now; a setter off the main thread waits
    // for the lock.
    bool set = false;
    std::thread worker([&] { set = device->SetProfile(3); });
    worker.join();
    QVERIFY(set);
    QVERIFY(locker.waitForFinished(20000));
    QCOMPARE(locker.exitCode(), 0);

    // The other program's change went in first, ours after it.
    FileProbe db(m_home->databaseFile());
    QCOMPARE(db.rows(QStringLiteral("SELECT profile, data_rate_of_last_used_drive FROM device")),
             (QList<QVariantList>{{3, 777}}));
}

// The main thread runs the window: while another program holds the file, the
// library answers at once (no device) instead of waiting for the lock, tells
// the user once, and works again as soon as the lock is gone.
void tst_TransferDevices::busyFile_leavesMainThreadFree_andWorksOnceReleased()
{
    TransferDevices* library = freshLibrary();
    uint32_t id = 0;
    {
        std::unique_ptr<TransferDevice> device(library->CreateDevice("Den"));
        QVERIFY(device);
        QVERIFY(device->SetProfile(3));
        id = device->GetDeviceId();
    }
    closeLibrary();

    // Held until told to let go: were the library to wait for the lock, this
    // test would run into its time limit.
    QProcess locker;
    QVERIFY2(lockFile(locker, m_home->databaseFile(), 600), locker.readAllStandardError());
    library = reopenLibrary();
    QCOMPARE(library->GetAvailability(), TransferDevices::Availability::Busy);
    QVERIFY(!library->GetDevice(id));
    QCOMPARE(library->DeviceCount(), 0u);
    QCOMPARE(locker.state(), QProcess::Running); // still locked: nobody waited for it
    const QString notice = library->TakeUserNotice();
    QVERIFY2(notice.contains(m_home->databaseFile()), qPrintable(notice));
    QVERIFY(!library->GetDevice(id));
    QCOMPARE(library->TakeUserNotice(), QString()); // told once

    locker.write("release\n");
    QVERIFY(locker.waitForFinished(20000));
    QCOMPARE(locker.exitCode(), 0);
    std::unique_ptr<TransferDevice> device(library->GetDevice(id));
    QVERIFY(device);
    QVERIFY(library->IsOpen());
    QCOMPARE(device->GetProfile(), 3u);
    QCOMPARE(device->GetDataRate(), 777u);
    QVERIFY(device->SetProfile(4));
}

// Opening a library that needs no change writes nothing (the file stays the
// same byte for byte), and a database of another program is left alone.
void tst_TransferDevices::opening_writesNothingToTheFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("usable");
    QTest::newRow("current library") << "current" << true;
    QTest::newRow("newer library") << "newer" << true;
    QTest::newRow("another program's database") << "foreign" << false;
    QTest::newRow("our table name, other columns") << "lookalike" << false;
}

void tst_TransferDevices::opening_writesNothingToTheFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, usable);
    m_home = std::make_unique<DataHome>();
    const QString file = m_home->databaseFile();
    if (kind == QLatin1String("current") || kind == QLatin1String("newer")) {
        std::unique_ptr<TransferDevice> device(reopenLibrary()->CreateDevice("Den"));
        QVERIFY(device);
        device.reset();
        closeLibrary();
        if (kind == QLatin1String("newer"))
            QVERIFY(
                FileProbe(file).exec(QStringLiteral("UPDATE schema_data SET version = 131072")));
    } else {
        QVERIFY(m_home->makeDatabaseFolder());
        FileProbe db(file);
        QVERIFY(db.exec(kind == QLatin1String("foreign")
                            ? QStringLiteral("CREATE TABLE photos (id INTEGER, path TEXT)")
                            : QStringLiteral("CREATE TABLE schema_data (revision INTEGER)")));
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE notes (text TEXT)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO notes VALUES ('keep me')")));
    }
    const QByteArray before = TestFiles::read(file);
    QVERIFY(!before.isEmpty());

    TransferDevices* library = reopenLibrary();
    QCOMPARE(library->IsOpen(), usable);
    QCOMPARE(library->DeviceCount(), usable ? 1u : 0u);
    QCOMPARE(library->TakeUserNotice().isEmpty(), usable);
    if (!usable)
        QVERIFY(!library->CreateDevice("new"));
    closeLibrary();
    QCOMPARE(TestFiles::read(file), before);
    if (usable)
        QCOMPARE(FileProbe(file).scalar(QStringLiteral("SELECT version FROM schema_data")).toInt(),
                 kind == QLatin1String("newer") ? 131072 : 65536);
}

void tst_TransferDevices::createDevice_fromThreadsAndProcessesAtOnce_givesDistinctIds()
{
    TransferDevices* library = freshLibrary();
    QVERIFY(library->IsOpen());
    const int perWorker = 25;

    // Two other programs and two threads of this one, started together.
    QProcess others[2];
    for (QProcess& other : others) {
        other.start(helperPath(QStringLiteral("devices_creator")), {QString::number(perWorker)});
        QVERIFY2(other.waitForStarted(), qPrintable(other.errorString()));
    }
    QByteArray output[2];
    for (int i = 0; i < 2; ++i)
        QTRY_VERIFY_WITH_TIMEOUT((output[i] += others[i].readAllStandardOutput()).contains("READY"),
                                 20000);
    for (QProcess& other : others)
        other.write("go\n");

    QList<uint32_t> threadIds[2];
    auto work = [library, perWorker](QList<uint32_t>* ids) {
        for (int i = 0; i < perWorker; ++i) {
            std::unique_ptr<TransferDevice> device(library->CreateDevice("thread"));
            if (!device)
                continue;
            device->SetDataRate(100 + i);
            *ids << device->GetDeviceId();
        }
    };
    std::thread a(work, &threadIds[0]);
    std::thread b(work, &threadIds[1]);
    a.join();
    b.join();

    QList<uint32_t> all;
    for (const auto& ids : threadIds) {
        QCOMPARE(ids.size(), perWorker);
        all += ids;
    }
    for (int i = 0; i < 2; ++i) {
        QVERIFY(others[i].waitForFinished(60000));
        QCOMPARE(others[i].exitCode(), 0);
        output[i] += others[i].readAllStandardOutput();
        const auto lines = output[i].split('\n');
        int created = 0;
        for (const QByteArray& line : lines) {
            if (line.isEmpty() || line == "READY")
                continue;
            all << line.toUInt();
            ++created;
        }
        QCOMPARE(created, perWorker);
    }
    // Every program got ids of its own, and every device has its row.
    std::sort(all.begin(), all.end());
    QList<uint32_t> expected;
    for (int i = 0; i < 4 * perWorker; ++i)
        expected << uint32_t(10000 + i);
    QCOMPARE(all, expected);
    QCOMPARE(library->DeviceCount(), uint32_t(4 * perWorker));
}

QTEST_GUILESS_MAIN(tst_TransferDevices)
#include "tst_TransferDevices.moc"
