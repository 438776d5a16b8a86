#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <thread>

#include "BurnerDriveLister.h"
#include "USBFileCopier.h"

// The USB copier on real files: what arrives is the source byte for byte, names already taken
// stay untouched (also one taken during the copy), a cancel or a failure (an fsync too) leaves no
// part file, a killed copy's part file goes while a live transfer's is waited for, FAT refuses
// files of 4 GiB; and the rate of a blank disc.
class TestUsbCopier : public QObject
{
    Q_OBJECT

private slots:
    void copy_arrivesWhole_data();
    void copy_arrivesWhole();
    void copy_neverReplacesAFile();
    void copy_cancelled_leavesNothing();
    void copy_nameTakenDuringCopy_leavesTheOtherFile();
    void copy_fsyncFails_failsAndLeavesNoPart();
    void copy_removesOnlyItsOwnStalePartFile();
    void copy_waitsForALiveTransferOfTheSameName();
    void copy_twoTransfersAtOnce_copyOnce();
    void copy_fatLimit_data();
    void copy_fatLimit();
    void copy_missingFolder_fails();
    void blankDiscRate_data();
    void blankDiscRate();
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
    // Someone else's files with the names we want, and another program's unfinished download.
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

void TestUsbCopier::copy_nameTakenDuringCopy_leavesTheOtherFile()
{
    const QString source = makeFile("race.avi", USBFileCopier::ChunkBytes + 100);
    const QString stick = freshFolder("race");
    // Another program saves a file under the chosen name while the copy runs.
    bool planted = false;
    const USBFileCopier::Result result = USBFileCopier::copy(source, stick, [&](quint64, quint64) {
        if (!planted) {
            QFile other(stick + "/race.avi");
            planted = other.open(QIODevice::NewOnly) && other.write("theirs") == 6;
        }
        return true;
    });
    QVERIFY(planted);
    QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Copied));
    QCOMPARE(result.destination, stick + "/race (2).avi");
    QCOMPARE(contents(stick + "/race.avi"), QByteArray("theirs"));
    QCOMPARE(contents(result.destination), contents(source));
}

namespace {
int s_fsyncCalls = 0;
int failingFsync(int)
{
    ++s_fsyncCalls;
    errno = EIO;
    return -1;
}
} // namespace

void TestUsbCopier::copy_fsyncFails_failsAndLeavesNoPart()
{
    // The drive cannot confirm the data: the file must not take its name.
    const QString source = makeFile("unsure.avi", 5000);
    const QString stick = freshFolder("unsure");
    USBFileCopier::FileOperations operations;
    operations.fsync = failingFsync;
    s_fsyncCalls = 0;
    const USBFileCopier::Result result = USBFileCopier::copy(
        source, stick, [](quint64, quint64) { return true; }, false, FileNameMapper(), operations);
    QCOMPARE(s_fsyncCalls, 1);
    QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Failed));
    QCOMPARE(result.error, EIO);
    QVERIFY(QDir(stick).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestUsbCopier::copy_removesOnlyItsOwnStalePartFile()
{
    // A copy killed half way left its part file, under the name the drive's rules made (in
    // another case: FAT does not tell them apart). Another program's download, and a link with
    // our suffix that points at a file of the user's, are not ours.
    const QString stick = freshFolder("stale");
    const QString source = makeFile("trip:1.avi", 70000);
    const QString notes = makeFile("notes.avi", 100);
    const QString linked = makeFile("linked.avi", 100);
    const QString users = makeFile("users.avi", 10);
    for (const char* name : {"TRIP_1.avi.portavo.part", "notes.avi.part"}) {
        QFile part(stick + "/" + name);
        QVERIFY(part.open(QIODevice::WriteOnly));
        part.write("half");
    }
    QVERIFY(QFile::link(users, stick + "/linked.avi.portavo.part"));
    const FileNameMapper fat(FileNameMapper::Rules::Fat);
    const auto copy = [&](const QString& file) {
        return USBFileCopier::copy(
                   file, stick, [](quint64, quint64) { return true; }, false, fat)
            .destination;
    };
    QCOMPARE(copy(source), stick + "/trip_1.avi");
    QCOMPARE(contents(stick + "/trip_1.avi"), contents(source));
    QCOMPARE(copy(notes), stick + "/notes (2).avi");
    QCOMPARE(copy(linked), stick + "/linked (2).avi");
    QCOMPARE(QDir(stick).entryList(QDir::Files | QDir::System | QDir::Hidden),
             QStringList({"linked (2).avi", "linked.avi.portavo.part", "notes (2).avi",
                          "notes.avi.part", "trip_1.avi"}));
    QCOMPARE(contents(stick + "/notes.avi.part"), QByteArray("half"));
    QCOMPARE(QFileInfo(stick + "/linked.avi.portavo.part").symLinkTarget(), users);
    QCOMPARE(contents(users), contents(makeFile("again.avi", 10)));
}

void TestUsbCopier::copy_waitsForALiveTransferOfTheSameName()
{
    // Another transfer holds the part file of the same video: this copy waits and counts the
    // file that transfer delivers, or is cancelled while it waits, and never touches the part.
    const QString stick = freshFolder("live");
    const QString source = makeFile("party.avi", 90000);
    const QString partPath = stick + "/party.avi.portavo.part";
    for (bool cancel : {true, false}) {
        QFile held(partPath);
        QVERIFY(held.open(QIODevice::WriteOnly));
        QCOMPARE(::flock(held.handle(), LOCK_EX | LOCK_NB), 0);
        int waits = 0;
        const USBFileCopier::Result result =
            USBFileCopier::copy(source, stick, [&](quint64 done, quint64) {
                if (done != 0 || ++waits < 3)
                    return true;
                if (cancel)
                    return false;
                // The other transfer finishes: its file takes the name, its part goes.
                QFile::copy(source, stick + "/party.avi");
                QFile::remove(partPath);
                held.close();
                return true;
            });
        QVERIFY(waits >= 3);
        if (cancel) {
            QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Cancelled));
            QVERIFY(QFile::exists(partPath));
        } else {
            QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Copied));
            QCOMPARE(result.destination, stick + "/party.avi");
        }
    }
    QCOMPARE(QDir(stick).entryList(QDir::Files | QDir::Hidden), QStringList{"party.avi"});
}

void TestUsbCopier::copy_twoTransfersAtOnce_copyOnce()
{
    const QString stick = freshFolder("twice");
    const QString source = makeFile("film.avi", USBFileCopier::ChunkBytes * 3);
    USBFileCopier::Result results[2];
    const auto copy = [&](int i) {
        results[i] = USBFileCopier::copy(source, stick, [](quint64, quint64) { return true; });
    };
    std::thread first(copy, 0);
    std::thread second(copy, 1);
    first.join();
    second.join();
    for (const USBFileCopier::Result& result : results) {
        QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Copied));
        QCOMPARE(result.destination, stick + "/film.avi");
    }
    QCOMPARE(QDir(stick).entryList(QDir::Files | QDir::Hidden), QStringList{"film.avi"});
    QCOMPARE(contents(stick + "/film.avi"), contents(source));
}

void TestUsbCopier::copy_fatLimit_data()
{
    // The largest FAT32 file is 4 GiB - 1 byte.
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("fat");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("4 GiB - 1 on FAT") << Q_INT64_C(4294967295) << true << true;
    QTest::newRow("4 GiB on FAT") << Q_INT64_C(4294967296) << true << false;
    QTest::newRow("4 GiB elsewhere") << Q_INT64_C(4294967296) << false << true;
}

void TestUsbCopier::copy_fatLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, fat);
    QFETCH(bool, accepted);
    const QString source = m_root.path() + "/src/huge.avi";
    QDir().mkpath(m_root.path() + "/src");
    QFile huge(source);
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(size)); // sparse
    huge.close();
    const QString stick = freshFolder("fat");
    // An accepted file is cancelled at its first progress report, before a byte is written.
    quint64 total = 0;
    const USBFileCopier::Result result = USBFileCopier::copy(
        source, stick, [&](quint64, quint64 t) { return total = t, false; }, fat);
    QFile::remove(source);
    if (accepted) {
        QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Cancelled));
        QCOMPARE(total, quint64(size));
    } else {
        QCOMPARE(int(result.outcome), int(USBFileCopier::Outcome::Failed));
        QCOMPARE(result.error, EFBIG);
        QVERIFY(result.reason.contains("4 GB"));
        QCOMPARE(total, quint64(0));
    }
    QVERIFY(QDir(stick).entryList(QDir::Files | QDir::Hidden).isEmpty());
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

void TestUsbCopier::blankDiscRate_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<uint>("speed"); // as the recorder reports it
    QTest::addColumn<uint>("rate");
    QTest::newRow("blank CD at 16x") << quint64(737280000) << 16u << 2457600u;
    QTest::newRow("blank DVD, speed unknown") << quint64(4700000000) << 0u << 5540000u;
    QTest::newRow("DVD recorder reporting 22160 kB/s")
        << quint64(4700000000) << 22160u << 22160000u;
    QTest::newRow("largest CD is still a CD") << quint64(0x2C600000) << 0u << 614400u;
}

void TestUsbCopier::blankDiscRate()
{
    QFETCH(quint64, bytes);
    QFETCH(uint, speed);
    QFETCH(uint, rate);
    QCOMPARE(BurnerDriveLister::blankDiscRate(bytes, speed), rate);
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
