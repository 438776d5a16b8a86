#include "NamedMutex.h"
#include "NamedMutexGuard.h"
#include "NamedMutexRegistry.h"
#include "RuntimeDirectory.h"

#include <QtTest>

#include <atomic>
#include <csignal>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QString helperPath()
{
    return QCoreApplication::applicationDirPath() + "/platform_helper";
}

// Whether another thread can take name within timeoutMs (and gives it back).
bool otherThreadCanLock(const std::string& name, uint32_t timeoutMs)
{
    bool got = false;
    std::thread t([&] {
        NamedMutex m(name);
        got = m.Lock(timeoutMs);
        if (got)
            m.Unlock();
    });
    t.join();
    return got;
}

mode_t modeOf(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

} // namespace

class TestNamedMutex : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void recursiveForOwnerAndFreedByLastUnlock();
    void excludesOtherThreads();
    void unlockByNonOwnerRefused();
    void scopeEndGivesBackWhatIsHeld();
    void unnamedMutexesAreDistinct();
    void lockFileLivesInPrivateDirectory_data();
    void lockFileLivesInPrivateDirectory();
    void deviceCallbackMutexIsProcessWide();

    void otherProcessWaitsForRelease();
    void killedHolderReleasesTheLock();

    void runtimeDirectory_fallsBackToPrivateTmp();
    void runtimeDirectory_refusesLinkAndTightensMode();

private:
    QProcess* startHelper(const QStringList& args)
    {
        m_processes << new QProcess;
        m_processes.last()->start(helperPath(), args);
        return m_processes.last();
    }

    QTemporaryDir m_runtime;
    QList<QProcess*> m_processes;
};

void TestNamedMutex::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    QVERIFY(QFileInfo::exists(helperPath()));
}

void TestNamedMutex::cleanup()
{
    for (QProcess* p : m_processes) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
        delete p;
    }
    m_processes.clear();
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void TestNamedMutex::recursiveForOwnerAndFreedByLastUnlock()
{
    NamedMutex m("recursive");
    QVERIFY(m.Lock());
    QVERIFY(m.Lock()); // the owner enters again without deadlock
    QVERIFY(!otherThreadCanLock("recursive", 50));
    QVERIFY(m.Unlock());
    QVERIFY(!otherThreadCanLock("recursive", 50)); // still held once
    QVERIFY(m.Unlock());
    QVERIFY(otherThreadCanLock("recursive", 5000));
    QVERIFY(!m.Unlock()); // nothing left to give back
}

void TestNamedMutex::excludesOtherThreads()
{
    NamedMutex m(kStorageAccessMutexName);
    QVERIFY(m.Lock());
    std::atomic<bool> got{false};
    std::thread waiter([&] {
        NamedMutex other(kStorageAccessMutexName);
        other.Lock();
        got = true;
        other.Unlock();
    });
    QVERIFY(!otherThreadCanLock(kStorageAccessMutexName, 50));
    QVERIFY(!got);
    QVERIFY(m.Unlock());
    waiter.join();
    QVERIFY(got);
}

void TestNamedMutex::unlockByNonOwnerRefused()
{
    NamedMutex m("owned");
    QVERIFY(m.Lock());
    bool unlockedElsewhere = true;
    std::thread t([&] {
        NamedMutex same("owned");
        unlockedElsewhere = same.Unlock();
        // The registry itself refuses as well, not only the object.
        unlockedElsewhere = unlockedElsewhere || NamedMutexRegistry::Instance().Release("owned");
    });
    t.join();
    QVERIFY(!unlockedElsewhere);
    QVERIFY(m.Unlock());
}

void TestNamedMutex::scopeEndGivesBackWhatIsHeld()
{
    {
        NamedMutexGuard guard("guarded");
        QVERIFY(!otherThreadCanLock("guarded", 50));
        NamedMutexGuard nested("guarded"); // same thread: recursive
        NamedMutex m("forgotten");
        QVERIFY(m.Lock());
        QVERIFY(m.Lock());
    }
    QVERIFY(otherThreadCanLock("guarded", 5000));
    QVERIFY(otherThreadCanLock("forgotten", 5000));
}

void TestNamedMutex::unnamedMutexesAreDistinct()
{
    NamedMutex a("");
    NamedMutex b("");
    QVERIFY(a.Lock());
    bool gotB = false;
    std::thread t([&] {
        gotB = b.Lock(1000);
        if (gotB)
            b.Unlock();
    });
    t.join();
    QVERIFY(gotB);
    QVERIFY(a.Unlock());
    const QDir locks(m_runtime.path() + "/kavo-locks");
    QVERIFY(!locks.exists() || !locks.entryList(QDir::Files).contains(".lock"));
}

void TestNamedMutex::lockFileLivesInPrivateDirectory_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("plain") << QString("LumadiscAPI") << QString("LumadiscAPI.lock");
    QTest::newRow("windows namespace") << QString("Global\\x") << QString("Global%5Cx.lock");
    QTest::newRow("slashes stay in the directory")
        << QString("../../evil") << QString("..%2F..%2Fevil.lock");
    QTest::newRow("dot") << QString(".") << QString("%2E.lock");
}

void TestNamedMutex::lockFileLivesInPrivateDirectory()
{
    QFETCH(QString, name);
    QFETCH(QString, fileName);
    const std::string path = NamedMutexRegistry::LockFilePath(name.toStdString());
    const QString dir = m_runtime.path() + "/kavo-locks";
    QCOMPARE(QString::fromStdString(path), dir + "/" + fileName);
    NamedMutexGuard guard(name.toStdString());
    QVERIFY(QFileInfo(QString::fromStdString(path)).isFile());
    QCOMPARE(modeOf(dir.toStdString()), mode_t(0700));
}

void TestNamedMutex::deviceCallbackMutexIsProcessWide()
{
    NamedMutex& m = NamedMutex::DeviceCallbackMutex();
    QVERIFY(m.Lock());
    QVERIFY(!otherThreadCanLock(kDeviceCallbackMutexName, 50));
    QVERIFY(m.Unlock());
}

void TestNamedMutex::otherProcessWaitsForRelease()
{
    NamedMutex m("crossProcess");
    QVERIFY(m.Lock());
    QProcess* p = startHelper({"lock-once", "crossProcess"});
    QVERIFY(p->waitForStarted(5000));
    QTest::qWait(300);
    QVERIFY(!p->canReadLine()); // held by us: the helper waits
    QCOMPARE(p->state(), QProcess::Running);
    QVERIFY(m.Unlock());
    QVERIFY(p->waitForFinished(10000));
    QCOMPARE(p->exitCode(), 0);
    QCOMPARE(p->readAllStandardOutput(), QByteArray("locked\n"));
}

void TestNamedMutex::killedHolderReleasesTheLock()
{
    QProcess* p = startHelper({"lock", kStorageAccessMutexName});
    QVERIFY(p->waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(p->canReadLine(), 10000);
    QCOMPARE(p->readLine(), QByteArray("locked\n"));

    NamedMutex m(kStorageAccessMutexName);
    QVERIFY(!m.Lock(200)); // another process holds it
    ::kill(static_cast<pid_t>(p->processId()), SIGKILL);
    QVERIFY(p->waitForFinished(5000));
    QVERIFY(m.Lock(5000)); // the kernel dropped the dead holder's lock
    QVERIFY(m.Unlock());
}

void TestNamedMutex::runtimeDirectory_fallsBackToPrivateTmp()
{
    const std::string expected = "/tmp/kavo-" + std::to_string(::getuid());
    qunsetenv("XDG_RUNTIME_DIR");
    QCOMPARE(RuntimeDirectory::Base(), expected);
    QCOMPARE(modeOf(expected), mode_t(0700));

    qputenv("XDG_RUNTIME_DIR", "relative/dir"); // not absolute: ignored
    QCOMPARE(RuntimeDirectory::Base(), expected);
    qputenv("XDG_RUNTIME_DIR", "/nonexistent-runtime-dir");
    QCOMPARE(RuntimeDirectory::Base(), expected);

    // Named mutexes keep working on the fallback.
    NamedMutexGuard guard("fallback");
    QVERIFY(QFileInfo::exists(QString::fromStdString(expected + "/kavo-locks/fallback.lock")));
}

void TestNamedMutex::runtimeDirectory_refusesLinkAndTightensMode()
{
    QTemporaryDir other;
    const std::string base = m_runtime.path().toStdString();
    QVERIFY(::symlink(other.path().toLocal8Bit().constData(), (base + "/linked").c_str()) == 0);
    QCOMPARE(RuntimeDirectory::Subdirectory("linked"), std::string());

    const std::string loose = base + "/loose";
    QVERIFY(::mkdir(loose.c_str(), 0777) == 0);
    QVERIFY(::chmod(loose.c_str(), 0777) == 0);
    QCOMPARE(RuntimeDirectory::Subdirectory("loose"), loose);
    QCOMPARE(modeOf(loose), mode_t(0700));
}

QTEST_GUILESS_MAIN(TestNamedMutex)
#include "tst_NamedMutex.moc"
