#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sched.h>
#include <sys/mount.h>

#include "BurnerDriveLister.h"
#include "TransferSaveStep.h"
#include "USBFileCopier.h"

// The USB copier on real files: what arrives is the source byte for byte, names already taken
// stay untouched, a cancel or a failure leaves no part file, FAT refuses files of 4 GB; and the
// rate rules of the write step.
class TestUsbCopier : public QObject
{
    Q_OBJECT

private slots:
    void copy_arrivesWhole_data();
    void copy_arrivesWhole();
    void copy_neverReplacesAFile();
    void copy_cancelled_leavesNothing();
    void copy_refusesHugeFileForFat();
    void copy_missingFolder_fails();
    void rates_data();
    void rates();
    void copy_driveFull_failsAndRemovesPart(); // last: moves this process to its own mounts

private:
    QString makeFile(const QString& name, qint64 size);
    QString freshFolder(const QString& name);
    static QByteArray contents(const QString& path);

    QTemporaryDir m_root;
};

QString TestUsbCopier::makeFile(const QString& name, qint64 size)
{
    QDir().mkpath(m_root.path() + "/src");
    const QString path = m_root.path() + "/src/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QByteArray block(1 << 16, '\0');
    for (qint64 done = 0; done < size; done += block.size()) {
        for (int i = 0; i < block.size(); ++i)
            block[i] = char((done + i) * 31 % 251);
        file.write(block.constData(), qMin<qint64>(block.size(), size - done));
    }
    return path;
}

QString TestUsbCopier::freshFolder(const QString& name)
{
    const QString path = m_root.path() + "/" + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QByteArray TestUsbCopier::contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestUsbCopier::copy_arrivesWhole_data()
{
    QTest::addColumn<qint64>("size");
    QTest::newRow("empty") << qint64(0);
    QTest::newRow("small") << qint64(1000);
    QTest::newRow("several chunks") << qint64(USBFileCopier::ChunkBytes * 2 + 12345);
}

void TestUsbCopier::copy_arrivesWhole()
{
    QFETCH(qint64, size);
    const QString source = makeFile("clip.avi", size);
    const QString stick = freshFolder("stick");
    QList<QPair<quint64, quint64>> calls;
    const USBFileCopier::Result result =
        USBFileCopier::copy(source, stick, [&](quint64 done, quint64 total) {
            calls.append({done, total});
            return true;
        });
    QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Copied));
    QCOMPARE(result.destination, stick + "/clip.avi");
    QCOMPARE(contents(result.destination), contents(source));
    QCOMPARE(QDir(stick).entryList(QDir::Files), QStringList{"clip.avi"});
    // From 0 to the whole size, never backwards, always with the file's size as total.
    QVERIFY(calls.size() >= 2);
    QCOMPARE(calls.first().first, 0u);
    QCOMPARE(calls.last().first, quint64(size));
    for (int i = 0; i < calls.size(); ++i) {
        QCOMPARE(calls[i].second, quint64(size));
        QVERIFY(i == 0 || calls[i].first >= calls[i - 1].first);
    }
}

void TestUsbCopier::copy_neverReplacesAFile()
{
    const QString stick = freshFolder("taken");
    const QString source = makeFile("movie.avi", 5000);
    const QString noSuffix = makeFile("notes", 10);
    // Someone else's files with the names we want, and a part file left by a crash.
    for (const char* name : {"movie.avi", "notes", "movie (2).avi.part"}) {
        QFile other(stick + "/" + name);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("theirs");
    }
    const auto keepGoing = [](quint64, quint64) { return true; };
    USBFileCopier::Result result = USBFileCopier::copy(source, stick, keepGoing);
    QCOMPARE(result.destination, stick + "/movie (3).avi");
    QCOMPARE(contents(result.destination), contents(source));
    QCOMPARE(USBFileCopier::copy(noSuffix, stick, keepGoing).destination, stick + "/notes (2)");
    // The same video again is already there: nothing new is written.
    result = USBFileCopier::copy(source, stick, keepGoing);
    QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Copied));
    QCOMPARE(result.destination, stick + "/movie (3).avi");
    for (const char* name : {"movie.avi", "notes", "movie (2).avi.part"})
        QCOMPARE(contents(stick + "/" + name), QByteArray("theirs"));
    QCOMPARE(QDir(stick).entryList(QDir::Files).size(), 5);
}

void TestUsbCopier::copy_cancelled_leavesNothing()
{
    const QString source = makeFile("long.avi", USBFileCopier::ChunkBytes * 3);
    const QString stick = freshFolder("cancel");
    int calls = 0;
    const USBFileCopier::Result result =
        USBFileCopier::copy(source, stick, [&](quint64, quint64) { return ++calls < 2; });
    QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Cancelled));
    QCOMPARE(calls, 2);
    QVERIFY(QDir(stick).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(QFileInfo(source).size(), USBFileCopier::ChunkBytes * 3);
}

void TestUsbCopier::copy_refusesHugeFileForFat()
{
    const QString source = m_root.path() + "/src/huge.avi";
    QDir().mkpath(m_root.path() + "/src");
    QFile huge(source);
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(USBFileCopier::FatFileLimit + 1)); // sparse: 4 GiB
    huge.close();
    const QString stick = freshFolder("fat");
    bool called = false;
    const USBFileCopier::Result result = USBFileCopier::copy(
        source, stick, [&](quint64, quint64) { return called = true; }, true);
    QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Failed));
    QCOMPARE(result.error, EFBIG);
    QVERIFY(result.reason.contains("4 GB"));
    QVERIFY(!called);
    QVERIFY(QDir(stick).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QFile::remove(source);
}

void TestUsbCopier::copy_missingFolder_fails()
{
    const QString source = makeFile("a.avi", 100);
    const USBFileCopier::Result result = USBFileCopier::copy(source, m_root.path() + "/unplugged",
                                                             [](quint64, quint64) { return true; });
    QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Failed));
    QCOMPARE(result.error, ENOENT);
    QVERIFY2(result.reason.startsWith("could not create the file on the drive"),
             qPrintable(result.reason));
}

void TestUsbCopier::rates_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<qint64>("measure"); // seconds (usb), ms (disc), speed (blank disc)
    QTest::addColumn<uint>("rate");
    // USB: whole seconds summed per file (2.5 s and 3.9 s count 2 + 3).
    QTest::newRow("usb, two files of 30 MB")
        << "usb" << quint64(60000000) << qint64(5) << 12000000u;
    QTest::newRow("usb, every file under a second")
        << "usb" << quint64(60000000) << qint64(0) << 0u;
    QTest::newRow("disc, 10 MB in 4 s") << "disc" << quint64(10000000) << qint64(4000) << 2500000u;
    QTest::newRow("disc, no time measured") << "disc" << quint64(10000000) << qint64(0) << 0u;
    QTest::newRow("blank CD at 16x") << "blank" << quint64(737280000) << qint64(16) << 2457600u;
    QTest::newRow("blank DVD, speed unknown")
        << "blank" << quint64(4700000000) << qint64(0) << 5540000u;
    QTest::newRow("DVD recorder reporting 22160 kB/s")
        << "blank" << quint64(4700000000) << qint64(22160) << 22160000u;
    QTest::newRow("largest CD is still a CD")
        << "blank" << quint64(0x2C600000) << qint64(0) << 614400u;
}

void TestUsbCopier::rates()
{
    QFETCH(QString, kind);
    QFETCH(quint64, bytes);
    QFETCH(qint64, measure);
    QFETCH(uint, rate);
    if (kind == "usb")
        QCOMPARE(TransferSaveStep::rateFromSeconds(bytes, measure), rate);
    else if (kind == "disc")
        QCOMPARE(TransferSaveStep::rateFromMilliseconds(bytes, measure), rate);
    else
        QCOMPARE(BurnerDriveLister::blankDiscRate(bytes, quint32(measure)), rate);
}

void TestUsbCopier::copy_driveFull_failsAndRemovesPart()
{
    const QString stick = freshFolder("full");
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
        ::mount("tmpfs", QFile::encodeName(stick).constData(), "tmpfs", 0, "size=1m") != 0)
        QSKIP("no private mount namespace with a tmpfs here");
    const QString source = makeFile("big.avi", 3 << 20);
    const USBFileCopier::Result result =
        USBFileCopier::copy(source, stick, [](quint64, quint64) { return true; });
    QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Failed));
    QCOMPARE(result.error, ENOSPC);
    QVERIFY2(result.reason.contains("No space left on device"), qPrintable(result.reason));
    QVERIFY(QDir(stick).entryList(QDir::Files | QDir::Hidden).isEmpty());
    ::umount(QFile::encodeName(stick).constData());
}

QTEST_GUILESS_MAIN(TestUsbCopier)
#include "tst_usb_copier.moc"
