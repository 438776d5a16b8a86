// Writing a hive file when the system fails under it, after writers were
// killed, and reading it again after someone else changed it.
#include "HiveFile.h"
#include "HiveTestSupport.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <chrono>
#include <sys/wait.h>
#include <thread>

using HiveTestSupport::ReadFile;
using kvds::HiveFile;
using kvds::HiveFileOperations;
using kvds::RegistryHive;
using kvds::RegistryValue;

namespace {

const std::u16string kKey = u"SOFTWARE\\Kavo\\Settings\\TransferWizard";

RegistryValue Dword(unsigned char v)
{
    RegistryValue value;
    value.type = kvds::RegDword;
    value.data = {v, 0, 0, 0};
    return value;
}

// Stores "v" = value in the TransferWizard key.
bool Store(const HiveFile& file, unsigned char value)
{
    return file.Update([value](RegistryHive& hive) {
        hive.CreateKey(kKey);
        hive.SetValue(kKey, u"v", Dword(value));
        return HiveFile::Change::Changed;
    });
}

// The stored value of "v", or -1.
int Stored(const HiveFile& file)
{
    // The snapshot owns the value: keep it while the value is read.
    const auto snapshot = file.Snapshot();
    const RegistryValue* v = snapshot->FindValue(kKey, u"v");
    return v ? v->data[0] : -1;
}

// Failing system calls; a short write first writes part of the data.
ssize_t WriteFails(int, const void*, size_t)
{
    errno = ENOSPC;
    return -1;
}
ssize_t WriteShortThenFails(int fd, const void* data, size_t size)
{
    static int calls = 0;
    if (calls++ % 2) {
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, data, size / 2);
}
int FsyncFails(int)
{
    errno = EIO;
    return -1;
}
int RenameFails(const char*, const char*)
{
    errno = EXDEV;
    return -1;
}

QStringList Leftovers(const QString& dir)
{
    return QDir(dir).entryList({"user.reg.tmp.*"}, QDir::Files | QDir::System);
}

} // namespace

Q_DECLARE_METATYPE(HiveFileOperations)

class TestHiveFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        static int n = 0;
        const QString base = m_dir.path() + "/" + QString::number(++n);
        QVERIFY(QDir().mkpath(base));
        m_path = base + "/user.reg";
    }

    // Whichever step of a write fails, the call fails and the file keeps
    // every byte it had.
    void failedWriteLeavesOldFile_data()
    {
        QTest::addColumn<HiveFileOperations>("ops");
        HiveFileOperations ops;
        ops.write = WriteFails;
        QTest::newRow("write") << ops;
        ops.write = WriteShortThenFails;
        QTest::newRow("short write, then disk full") << ops;
        ops = HiveFileOperations();
        ops.fsync = FsyncFails;
        QTest::newRow("fsync") << ops;
        ops = HiveFileOperations();
        ops.rename = RenameFails;
        QTest::newRow("rename") << ops;
    }
    void failedWriteLeavesOldFile()
    {
        QFETCH(HiveFileOperations, ops);
        const std::string path = m_path.toStdString();
        QVERIFY(Store(HiveFile(HiveFile::CurrentUser, path), 1));
        const QByteArray before = ReadFile(m_path);

        const HiveFile failing(HiveFile::CurrentUser, path, ops);
        QVERIFY(!Store(failing, 2));
        QCOMPARE(ReadFile(m_path), before);
        QCOMPARE(Stored(failing), 1);
        QCOMPARE(Leftovers(QFileInfo(m_path).path()), QStringList());
    }

    // A writer killed in the middle of a write leaves its temporary file.
    // One with this process's pid (a reused pid) or a dead writer's must not
    // make the next write fail, and is removed; other files stay.
    void leftoversOfKilledWritersAreRemoved()
    {
        QProcess gone;
        gone.start("true", {});
        QVERIFY(gone.waitForFinished(10000));
        const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
        const QString dir = QFileInfo(m_path).path();
        QStringList planted;
        // Every name this process could pick next.
        for (int n = 0; n < 2000; ++n)
            planted << QString("user.reg.tmp.%1.%2").arg(getpid()).arg(n);
        planted << QString("user.reg.tmp.%1.0").arg(deadPid);
        for (const QString& name : planted)
            QVERIFY(TestFiles::write(dir + "/" + name, "half a hive"));
        const QStringList kept = {"user.reg.tmp.1.0", "user.reg.tmp.notes"};
        for (const QString& name : kept)
            QVERIFY(TestFiles::write(dir + "/" + name, "not ours to remove"));

        const HiveFile file(HiveFile::CurrentUser, m_path.toStdString());
        QVERIFY(Store(file, 3));
        QCOMPARE(Stored(file), 3);
        QCOMPARE(Leftovers(dir), kept);
    }

    // Reads share a parsed copy, yet see every change: one by another
    // writer, and one made in place with the same size.
    void readsSeeEveryChange()
    {
        // A file changed moments ago is never kept; these let it settle.
        auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(250)); };
        const std::string path = m_path.toStdString();
        const HiveFile file(HiveFile::CurrentUser, path);
        QVERIFY(Store(file, 4));
        settle();
        QCOMPARE(Stored(file), 4);
        QCOMPARE(file.Snapshot().get(), file.Snapshot().get()); // parsed once, shared

        QVERIFY(Store(HiveFile(HiveFile::CurrentUser, path), 5));
        QCOMPARE(Stored(file), 5);
        settle();
        QCOMPARE(Stored(file), 5);
        QByteArray text = ReadFile(m_path);
        text.replace("dword:00000005", "dword:00000006");
        QVERIFY(TestFiles::write(m_path, text));
        QCOMPARE(Stored(file), 6);
    }
};

QTEST_GUILESS_MAIN(TestHiveFile)
#include "tst_HiveFile.moc"
