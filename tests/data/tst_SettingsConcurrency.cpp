#include "SettingsAccessors.h"
#include "TextConversion.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr int kPerWriter = 150;

QString WriterPath()
{
    return QCoreApplication::applicationDirPath() + "/settings_writer";
}

} // namespace

class TestSettingsConcurrency : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        static int n = 0;
        const QString base = m_dir.path() + "/" + QString::number(++n);
        qputenv("KAVO_USER_HIVE", (base + "/user.reg").toLocal8Bit());
        qputenv("KAVO_MACHINE_HIVE", (base + "/machine.reg").toLocal8Bit());
    }

    // Two processes write different values into the same key at the same
    // time; every value of both survives, and a reader never sees a torn file.
    void twoProcessesLoseNothing()
    {
        QVERIFY(QFile::exists(WriterPath()));
        QVERIFY(WriteSetting("Concurrency", "Sentinel", "present"));

        QProcess a, b;
        for (QProcess* p : {&a, &b})
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        a.start(WriterPath(), {"a", QString::number(kPerWriter)});
        b.start(WriterPath(), {"b", QString::number(kPerWriter)});
        QVERIFY(a.waitForStarted(10000));
        QVERIFY(b.waitForStarted(10000));

        int reads = 0, failedReads = 0;
        while (a.state() != QProcess::NotRunning || b.state() != QProcess::NotRunning) {
            std::string sentinel;
            ++reads;
            if (!ReadSetting("Concurrency", "Sentinel", sentinel) || sentinel != "present")
                ++failedReads;
            a.waitForFinished(1);
            b.waitForFinished(1);
        }
        QCOMPARE(a.exitStatus(), QProcess::NormalExit);
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitStatus(), QProcess::NormalExit);
        QCOMPARE(b.exitCode(), 0);
        QVERIFY(reads > 0);
        QCOMPARE(failedReads, 0);

        uint32_t count = 0;
        QVERIFY(GetValueNames("Concurrency", count));
        QCOMPARE(count, uint32_t(2 * kPerWriter + 1));
        for (const char* prefix : {"a", "b"}) {
            for (int i = 0; i < kPerWriter; ++i) {
                uint32_t v = 12345;
                QVERIFY2(ReadSetting("Concurrency", prefix + std::to_string(i), v),
                         qPrintable(QString("%1%2").arg(prefix).arg(i)));
                QCOMPARE(v, uint32_t(i));
            }
        }
    }

    // Threads of one process calling accessors at once are just as safe.
    void threadsLoseNothing()
    {
        constexpr int kThreads = 4, kEach = 40;
        std::atomic<int> failures{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([t, &failures] {
                for (int i = 0; i < kEach; ++i) {
                    if (!WriteSetting(u"Threads", u"t" + Utf8ToWide(std::to_string(t * 1000 + i)),
                                      i))
                        ++failures;
                }
            });
        }
        for (auto& th : threads)
            th.join();
        QCOMPARE(failures.load(), 0);
        uint32_t count = 0;
        QVERIFY(GetValueNames("Threads", count));
        QCOMPARE(count, uint32_t(kThreads * kEach));
    }
};

QTEST_GUILESS_MAIN(TestSettingsConcurrency)
#include "tst_SettingsConcurrency.moc"
