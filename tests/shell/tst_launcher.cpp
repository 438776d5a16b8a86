#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "PortavoLayout.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"
#include "TransferDevice.h"
#include "TransferDevices.h"

// The real launcher, twice: the second launch must reach the first one's controller, which
// restarts, adds the files or refuses depending on the state of its transfer.
class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void rejectedCommandLine_exitsWithoutWizard_data();
    void rejectedCommandLine_exitsWithoutWizard();
    void helpAndVersion_printOnlyTheirText_data();
    void helpAndVersion_printOnlyTheirText();
    void filesWithoutDevice_openTheWizardAndJoinIt();
    void secondLaunch_reachesRunningController_data();
    void secondLaunch_reachesRunningController();
    void secondLaunch_twoRefusals_showOneBoxAtATime();
    void secondLaunch_afterFirstDied_becomesTheInstance();
    void storedDevice_isReadByTheRealProgram();
    void trace_nameWithLineBreaksStaysOnOneLine();

private:
    QString tracePath() const;
    QString trace() const;
    // The shared objects the first instance has mapped.
    QString firstMaps() const;
    QProcessEnvironment environment(int transferState = -1) const;
    void startFirst(const QStringList& arguments, int transferState);
    int runSecond(const QStringList& arguments, const QString& workingDir = QString(),
                  QString* errors = nullptr);

    QTemporaryDir m_root;
    QString m_portavo;
    QString m_clip;
    QProcess* m_first = nullptr;
};

QString TestLauncher::tracePath() const
{
    return m_root.filePath("cache/Kavo/TransferWizard/tmp/TWDebug.txt");
}

QString TestLauncher::trace() const
{
    QFile file(tracePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString TestLauncher::firstMaps() const
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(m_first->processId()));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(maps.readAll());
}

QProcessEnvironment TestLauncher::environment(int transferState) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    if (transferState >= 0)
        env.insert("KAVO_TEST_TRANSFER_STATE", QString::number(transferState));
    else
        env.remove("KAVO_TEST_TRANSFER_STATE");
    return env;
}

void TestLauncher::initTestCase()
{
    QVERIFY(m_root.isValid());
    const QString root = m_root.path();
    PrivateEnvironment::use(root);
    // Tracing on: every debug line of the first instance goes to TWDebug.txt.
    QVERIFY(WriteSetting("TransferWizard", "WizardTracing", uint32_t(2)));

    m_portavo = QCoreApplication::applicationDirPath() + "/portavo";
    QVERIFY2(QFileInfo(m_portavo).isExecutable(), qPrintable(m_portavo));

    // A name that needs escaping and is not ASCII.
    m_clip = root + QString::fromUtf8("/home/cl\xC3\xAFp \xC3\xA9t\xC3\xA9.avi");
    QFile clip(m_clip);
    QVERIFY(clip.open(QIODevice::WriteOnly));
    clip.write("not really a video");
}

void TestLauncher::init()
{
    QFile::remove(tracePath());
}

void TestLauncher::cleanup()
{
    if (m_first) {
        m_first->terminate();
        if (!m_first->waitForFinished(10000)) {
            m_first->kill();
            m_first->waitForFinished(10000);
        }
        delete m_first;
        m_first = nullptr;
    }
}

void TestLauncher::startFirst(const QStringList& arguments, int transferState)
{
    m_first = new QProcess;
    m_first->setProcessEnvironment(environment(transferState));
    m_first->setProcessChannelMode(QProcess::ForwardedChannels);
    m_first->start(m_portavo, arguments);
    QVERIFY(m_first->waitForStarted(10000));
}

int TestLauncher::runSecond(const QStringList& arguments, const QString& workingDir,
                            QString* errors)
{
    QProcess second;
    second.setProcessEnvironment(environment());
    second.setProcessChannelMode(errors ? QProcess::ForwardedOutputChannel
                                        : QProcess::ForwardedChannels);
    second.setWorkingDirectory(workingDir);
    second.start(m_portavo, arguments);
    if (!second.waitForFinished(30000)) {
        second.kill();
        second.waitForFinished();
        return -1;
    }
    if (errors)
        *errors = QString::fromUtf8(second.readAllStandardError());
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
}

void TestLauncher::rejectedCommandLine_exitsWithoutWizard_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("id without xfer") << QStringList{"-id", "42"};
    QTest::newRow("bad id") << QStringList{"-xfer", "-id", "ten"};
    QTest::newRow("unknown option") << QStringList{"--verbose"};
}

void TestLauncher::rejectedCommandLine_exitsWithoutWizard()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(m_portavo, arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    // Scripts see the refusal; the wizard's entry point itself was never called.
    QCOMPARE(process.exitCode(), 2);
    // No controller was built: tracing is on, yet nothing was traced.
    QVERIFY(!QFile::exists(tracePath()));
    // A person who typed the command learns how to use it.
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(err.contains("\nUsage: portavo [FILE|URL]...\n"), qPrintable(err));
    QVERIFY(QString::fromLocal8Bit(process.readAllStandardOutput()).isEmpty());
}

void TestLauncher::helpAndVersion_printOnlyTheirText_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("help") << "--help"
                          << "Usage: portavo [FILE|URL]...";
    QTest::newRow("version") << "--version"
                             << "portavo " PORTAVO_VERSION;
}

void TestLauncher::helpAndVersion_printOnlyTheirText()
{
    QFETCH(QString, option);
    QFETCH(QString, firstLine);
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(m_portavo, {option});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    // Nothing before the text, on either stream.
    QCOMPARE(QString::fromLocal8Bit(process.readAllStandardError()), QString());
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n');
    QCOMPARE(lines.first(), firstLine);
    QVERIFY(!QFile::exists(tracePath()));
}

void TestLauncher::filesWithoutDevice_openTheWizardAndJoinIt()
{
    // From the menu: no arguments at all.
    startFirst({}, -1);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("TransferWizardController  Device ID: 0\n"), 30000);
    // The first page needs no media library: FFmpeg comes with the first analysis.
    QVERIFY(!firstMaps().isEmpty());
    QVERIFY(!firstMaps().contains("libavformat"));

    // From a file manager: a relative path and a file that is gone, no device named.
    const QString gone = m_root.filePath("home/gone.avi");
    QString errors;
    QCOMPARE(
        runSecond({QFileInfo(m_clip).fileName(), "gone.avi"}, m_root.filePath("home"), &errors), 0);
    QVERIFY2(errors.contains("portavo: " + gone + ": file not found"), qPrintable(errors));
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("Files not found: " + gone), 30000);
    QVERIFY(trace().contains("TransferWizardController  File Name: " + m_clip + "\n"));
    QVERIFY(!trace().contains("addTransferFileError()"));
    QVERIFY(!trace().contains("restartWizard()"));
    QTRY_VERIFY_WITH_TIMEOUT(
        firstMaps().contains("libportavomedia.so") && firstMaps().contains("libavformat"), 30000);
}

void TestLauncher::secondLaunch_reachesRunningController_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("secondId");
    QTest::addColumn<bool>("activation");
    QTest::addColumn<QString>("expected");

    QTest::newRow("idle, same device: files added") << 0 << "10003" << false << "add";
    QTest::newRow("idle, other device: refused") << 0 << "10002" << false << "refuse";
    QTest::newRow("idle, other device, activation video: added") << 0 << "10002" << true << "add";
    QTest::newRow("stopped: restart") << 1 << "10002" << false << "restart";
    QTest::newRow("transcoding: refused") << 2 << "10003" << false << "refuse";
    QTest::newRow("copying: refused") << 3 << "10003" << false << "refuse";
    QTest::newRow("burning: refused") << 4 << "10003" << true << "refuse";
    QTest::newRow("finished: restart") << 128 << "10003" << false << "restart";
}

void TestLauncher::secondLaunch_reachesRunningController()
{
    QFETCH(int, state);
    QFETCH(QString, secondId);
    QFETCH(bool, activation);
    QFETCH(QString, expected);

    startFirst({"-xfer", "-id", "10003"}, state);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("TransferWizardController  Device ID: 10003"), 30000);

    QStringList arguments{"-xfer", "-id", secondId, "-file",
                          QString::fromLatin1(QUrl::fromLocalFile(m_clip).toEncoded())};
    if (activation)
        arguments << "-activationvideo";
    QCOMPARE(runSecond(arguments), 0);

    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("\tdevice ID: " + secondId), 30000);
    const QString fileLine = "TransferWizardController  File Name: " + m_clip;
    if (expected == "add") {
        QTRY_VERIFY_WITH_TIMEOUT(trace().contains(fileLine), 30000);
        QVERIFY(!trace().contains("restartWizard()"));
        QVERIFY(!trace().contains("addTransferFileError()"));
    } else if (expected == "restart") {
        QTRY_VERIFY_WITH_TIMEOUT(trace().contains("restartWizard() device ID: " + secondId), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(trace().contains(fileLine), 30000);
        QVERIFY(trace().count("Device ID: ") >= 2);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(
            trace().contains("addTransferFileError() You can only perform one transfer at a "
                             "time with Portavo."),
            30000);
        QVERIFY(!trace().contains(fileLine));
        QVERIFY(!trace().contains("restartWizard()"));
    }
    QCOMPARE(m_first->state(), QProcess::Running);
}

void TestLauncher::secondLaunch_twoRefusals_showOneBoxAtATime()
{
    startFirst({"-xfer", "-id", "10003"}, 2);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("TransferWizardController  Device ID: 10003"), 30000);
    QCOMPARE(runSecond({"-xfer", "-id", "10003"}), 0);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("addTransferFileError() You can only"), 30000);
    QCOMPARE(runSecond({"-xfer", "-id", "10003"}), 0);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("a message is already shown"), 30000);
    QCOMPARE(trace().count("addTransferFileError() You can only"), 2);
}

void TestLauncher::secondLaunch_afterFirstDied_becomesTheInstance()
{
    startFirst({"-xfer", "-id", "10003"}, -1);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("Device ID: 10003"), 30000);
    m_first->kill();
    QVERIFY(m_first->waitForFinished(10000));
    delete m_first;
    m_first = nullptr;
    QFile::remove(tracePath());

    // The dead instance left its socket behind; the next launch must start a wizard anyway.
    startFirst({"-xfer", "-id", "10002"}, -1);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("Device ID: 10002"), 30000);
    QCOMPARE(runSecond({"-xfer", "-id", "10002", "-file",
                        QString::fromLatin1(QUrl::fromLocalFile(m_clip).toEncoded())}),
             0);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("File Name: " + m_clip), 30000);
}

void TestLauncher::storedDevice_isReadByTheRealProgram()
{
    // The device library needs Qt's SQLite driver from Qt's own plug-in folder.
    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    QVERIFY(library->IsOpen());
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> device(library->CreateDevice("Den TV"));
    QVERIFY(device);
    device->SetType(2);
    device->SetProfile(2);
    device->SetLastUsedMethod(1);
    const QString id = QString::number(device->GetDeviceId());

    startFirst({"-xfer", "-id", id}, -1);
    QTRY_VERIFY_WITH_TIMEOUT(
        trace().contains("startWizard() Profile: 1, drive type: 0, burn only: false"), 30000);

    // The trace is the user's alone, in a folder that is the user's alone.
    QCOMPARE(int(QFile::permissions(tracePath()) & 0x0777),
             int(QFile::ReadUser | QFile::WriteUser));
    QCOMPARE(int(QFile::permissions(QFileInfo(tracePath()).path()) & 0x0777),
             int(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser));
}

void TestLauncher::trace_nameWithLineBreaksStaysOnOneLine()
{
    const QString clip = m_root.filePath("home/first line\nFile Name: forged\r.avi");
    QFile file(clip);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not really a video");
    file.close();
    startFirst({"-xfer", "-id", "10003", "-file",
                QString::fromLatin1(QUrl::fromLocalFile(clip).toEncoded())},
               -1);
    QTRY_VERIFY_WITH_TIMEOUT(trace().contains("File Name: " + m_root.filePath("home/first line")),
                             30000);
    const QStringList lines = trace().split('\n');
    QVERIFY(!lines.contains("File Name: forged\r.avi"));
    QVERIFY(std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.endsWith("first line\\nFile Name: forged\\r.avi");
    }));
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
