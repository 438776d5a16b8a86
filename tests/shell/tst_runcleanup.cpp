#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "PrivateEnvironment.h"

// The real program leaves nothing behind: each run converts into a folder of its own in the
// temporary folder, removed when the run ends; a run that was killed leaves its folder to the
// next start, which removes it but never the folder of a run that is still going. SIGTERM and
// SIGINT end a run as its window would, messaging socket and converted files included.
class TestRunCleanup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedRun_leftoversRemovedAtNextStart_runningOneKept();
    void terminationSignal_quitsCleanly_data();
    void terminationSignal_quitsCleanly();

private:
    // Starts a wizard with its own runtime folder (so it is not handed over to a running one)
    // and returns its conversion folder once it exists.
    QString startRun(const QString& runtimeName, std::unique_ptr<QProcess>& process);
    QStringList runFolders() const;
    QString tempDir() const { return m_root.filePath("cache/Kavo/TransferWizard/tmp"); }

    QTemporaryDir m_root;
    QString m_portavo;
};

void TestRunCleanup::initTestCase()
{
    QVERIFY(m_root.isValid());
    PrivateEnvironment::use(m_root.path());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    m_portavo = QCoreApplication::applicationDirPath() + "/portavo";
    QVERIFY2(QFileInfo(m_portavo).isExecutable(), qPrintable(m_portavo));
}

QStringList TestRunCleanup::runFolders() const
{
    QStringList folders;
    for (const QFileInfo& info :
         QDir(tempDir()).entryInfoList({"portavo-run-*"}, QDir::Dirs | QDir::NoDotAndDotDot))
        folders << info.absoluteFilePath();
    return folders;
}

QString TestRunCleanup::startRun(const QString& runtimeName, std::unique_ptr<QProcess>& process)
{
    const QString runtime = m_root.filePath(runtimeName);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QStringList before = runFolders();
    process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime);
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    // A stored-device id: the device library and its messaging socket are set up.
    process->start(m_portavo, {"-xfer", "-id", "10003"});
    if (!process->waitForStarted(10000))
        return {};
    QString folder;
    for (int i = 0; i < 300 && folder.isEmpty(); ++i) {
        for (const QString& f : runFolders())
            if (!before.contains(f) && QFile::exists(f + "/run.lock"))
                folder = f;
        if (folder.isEmpty())
            QTest::qWait(100);
    }
    return folder;
}

void TestRunCleanup::killedRun_leftoversRemovedAtNextStart_runningOneKept()
{
    std::unique_ptr<QProcess> killed, running, next;
    const QString killedFolder = startRun("run-a", killed);
    QVERIFY(!killedFolder.isEmpty());
    const QString runningFolder = startRun("run-b", running);
    QVERIFY(!runningFolder.isEmpty());
    QVERIFY(killedFolder != runningFolder);
    // As a conversion would have left them.
    for (const QString& f : {killedFolder + "/holiday.kavo", runningFolder + "/garden.mkv"}) {
        QFile file(f);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'v'));
    }

    killed->kill();
    QVERIFY(killed->waitForFinished(10000));
    QVERIFY(QFile::exists(killedFolder + "/holiday.kavo"));

    const QString nextFolder = startRun("run-c", next);
    QVERIFY(!nextFolder.isEmpty());
    QVERIFY(!QFileInfo::exists(killedFolder));
    QVERIFY(QFile::exists(runningFolder + "/garden.mkv"));
    QCOMPARE(running->state(), QProcess::Running);

    // Each run that ends takes its own folder with it.
    for (auto* p : {running.get(), next.get()}) {
        p->terminate();
        QVERIFY(p->waitForFinished(20000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
    }
    QCOMPARE(runFolders(), QStringList());
}

void TestRunCleanup::terminationSignal_quitsCleanly_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestRunCleanup::terminationSignal_quitsCleanly()
{
    QFETCH(int, signal);
    std::unique_ptr<QProcess> run;
    const QString folder = startRun("run-signal", run);
    QVERIFY(!folder.isEmpty());
    const QString socket =
        m_root.filePath(QStringLiteral("run-signal/kavo-ipc/%1.sock").arg(run->processId()));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 30000);
    QFile converted(folder + "/clip.kavo");
    QVERIFY(converted.open(QIODevice::WriteOnly));
    converted.close();

    QCOMPARE(::kill(pid_t(run->processId()), signal), 0);
    QVERIFY(run->waitForFinished(20000));
    QCOMPARE(run->exitStatus(), QProcess::NormalExit);
    QCOMPARE(run->exitCode(), 0);
    QVERIFY(!QFile::exists(socket));
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(QDir(m_root.filePath("run-signal/kavo-ipc")).entryList(QDir::System | QDir::Files),
             QStringList());
}

QTEST_GUILESS_MAIN(TestRunCleanup)
#include "tst_runcleanup.moc"
