#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "OutputReader.h"
#include "SettingsAccessors.h"
#include "TestClips.h"
#include "ToolRun.h"
#include "TransferRun.h"

// Many short unattended transfers of the real program while busy processes keep every core
// loaded: each must exit 0 with its file arrived, read back byte for byte (or, when converted,
// decoded). A one-file transfer that needs no conversion ends fast, which once let the window's
// end outrun the write. PORTAVO_STRESS_ROUNDS="as-is,converted" sets the rounds per destination
// (30 and 10 unless set).
class TestTransferStress : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void oneFileRuns_underLoad_allArrive_data();
    void oneFileRuns_underLoad_allArrive();

private:
    // What the file that arrived at destination reads back as; empty when it is the source's.
    QString check(const QString& destination, const QString& source, bool converted, int round);

    QTemporaryDir m_root;
    std::vector<std::unique_ptr<QProcess>> m_busy;
    QString m_asIs;
    QString m_convert;
    int m_asIsRounds = 30;
    int m_convertRounds = 10;
};

void TestTransferStress::initTestCase()
{
    QVERIFY(m_root.isValid());
    TransferRun::useRoot(m_root.path());
    const QStringList rounds = qEnvironmentVariable("PORTAVO_STRESS_ROUNDS").split(',');
    if (rounds.size() == 2) {
        m_asIsRounds = rounds[0].toInt();
        m_convertRounds = rounds[1].toInt();
    }
    TestClips clips(m_root.path() + "/clips");
    QDir().mkpath(m_root.path() + "/clips");
    const QStringList picture{"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=1",
                              "-f", "lavfi", "-i", "sine=frequency=440:duration=1"};
    m_asIs = clips.make("asis.avi",
                        picture + QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame", "-shortest"});
    m_convert = clips.make("convert.mp4", picture + QStringList{"-c:v", "libx264", "-preset",
                                                                "ultrafast", "-pix_fmt", "yuv420p",
                                                                "-c:a", "aac", "-shortest"});
    QVERIFY2(!m_asIs.isEmpty() && !m_convert.isEmpty(), qPrintable(clips.lastError()));
    // Each busy loop ends with this test, also when a time limit kills it.
    const QString loop =
        QString("while kill -0 %1 2>/dev/null; do :; done").arg(QCoreApplication::applicationPid());
    for (int i = 0; i < 2; ++i) {
        auto busy = std::make_unique<QProcess>();
        busy->start("sh", {"-c", loop});
        QVERIFY(busy->waitForStarted());
        m_busy.push_back(std::move(busy));
    }
}

void TestTransferStress::cleanupTestCase()
{
    for (auto& busy : m_busy) {
        busy->kill();
        busy->waitForFinished();
    }
}

void TestTransferStress::oneFileRuns_underLoad_allArrive_data()
{
    QTest::addColumn<QString>("medium");
    QTest::addColumn<bool>("converted");
    for (const char* medium : {"usb", "cd-r", "dvd+r"}) {
        QTest::addRow("%s, as it is", medium) << QString(medium) << false;
        QTest::addRow("%s, converted", medium) << QString(medium) << true;
    }
}

QString TestTransferStress::check(const QString& destination, const QString& source, bool converted,
                                  int round)
{
    QString arrived = destination;
    if (!QFileInfo(destination).isDir()) {
        // An image: extracted with xorriso, a reader we did not write.
        arrived = m_root.path() + QString("/readback%1").arg(round);
        QDir(arrived).removeRecursively();
        if (!ToolRun::extractImage(destination, arrived).ok())
            return "xorriso could not read the image";
    }
    const QString name = QFileInfo(source).completeBaseName() + (converted ? ".kavo" : ".avi");
    const QString file = arrived + "/" + name;
    QString problem;
    if (converted) {
        OutputReader reader;
        if (!reader.read(file) || reader.videoFrames() < 20 || reader.decodeErrors() != 0)
            problem = name + " does not play: " + reader.error();
    } else {
        QFile a(source), b(file);
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) ||
            a.readAll() != b.readAll())
            problem = name + " differs from its source";
    }
    QDir(arrived).removeRecursively();
    QFile::remove(destination);
    return problem;
}

void TestTransferStress::oneFileRuns_underLoad_allArrive()
{
    QFETCH(QString, medium);
    QFETCH(bool, converted);
    const int rounds = converted ? m_convertRounds : m_asIsRounds;
    // A DVD player chosen by its type converts; the burn-only device takes files as they are.
    const uint device = converted ? 10000 : 1000;
    const QString source = converted ? m_convert : m_asIs;
    QStringList failures;
    for (int round = 0; round < rounds; ++round) {
        const QString tag = QString("%1-%2-%3").arg(medium.at(0)).arg(converted).arg(round);
        QString destination = m_root.path() + "/" + tag;
        if (medium == "usb") {
            QDir().mkpath(destination);
            QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", destination.toStdString()));
        } else {
            destination += ".iso";
            QVERIFY(WriteSetting("TransferWizard", "ImageBurners",
                                 (medium + ":" + destination).toStdString()));
        }
        const TransferRun::Result run = TransferRun::run(
            TransferRun::arguments(device, {source}, destination, {"-profile", "3"}));
        QString problem;
        if (run.exitCode != 0 || run.files.size() != 1 || run.files[0].value(1) != "arrived")
            problem = QString("exit %1: %2").arg(run.exitCode).arg(run.output.trimmed());
        else
            problem = check(destination, source, converted, round);
        if (!problem.isEmpty())
            failures << tag + ": " + problem;
        if (medium == "usb")
            QDir(destination).removeRecursively();
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
}

QTEST_GUILESS_MAIN(TestTransferStress)
#include "tst_transfer_stress.moc"
