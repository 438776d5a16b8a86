#include "LDStorage.h"
#include "UdfBridgeImage.h"
#include "UdfTestSupport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using udftest::keyValues;

namespace {

struct Fixture
{
    QString name;
    qint64 size;
};

const QString longA = QString(100, 'L') + QString(96, 'a') + ".mkv";
const QString longB = QString(100, 'L') + QString(96, 'b') + ".mkv";

const QList<Fixture> fixtures{
    {"film one.mp4", 3 * 1024 * 1024 + 123},
    {"Grüße aus Köln.txt", 5000},
    {"Фильм 日本.mkv", 70000},
    {longA, 2048},
    {longB, 4097},
    {"empty.dat", 0},
};

QByteArray md5(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

QByteArray fileMd5(const QString& path)
{
    QFile f(path);
    QCryptographicHash h(QCryptographicHash::Md5);
    if (f.open(QIODevice::ReadOnly))
        h.addData(&f);
    return h.result().toHex();
}

} // namespace

class TestUdfBridgeImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readers_seeEveryFile_data();
    void readers_seeEveryFile();
    void stream_fails_whenSourceChanges_data();
    void stream_fails_whenSourceChanges();
    void cancel_failsTheStream();
    void plan_refuses_data();
    void plan_refuses();

private:
    std::vector<udf::SourceFile> sources(const QStringList& names) const;
    QString path(const QString& name) const { return m_dir.filePath("src/" + name); }
    QString writeFile(const QString& name, qint64 size);

    QTemporaryDir m_dir;
};

QString TestUdfBridgeImage::writeFile(const QString& name, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(quint32(qHash(name)));
    for (char& c : bytes)
        c = char(random.generate());
    QFile f(path(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

void TestUdfBridgeImage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir(m_dir.path()).mkdir("src");
    // The readers show dates in local time.
    qputenv("TZ", "UTC");
    // Distinct times in the past, so a wrong field of the timestamps shows.
    QDateTime time(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
    for (const Fixture& f : fixtures) {
        QFile file(writeFile(f.name, f.size));
        time = time.addMonths(1).addDays(1).addSecs(3661);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    for (const char* tool : {"blkid", "udfinfo", "7z", "isoinfo"})
        if (ToolRun::run(tool, {"--help"}).exitCode == -1)
            QSKIP(qPrintable(QString("%1 is not installed").arg(tool)));
}

std::vector<udf::SourceFile> TestUdfBridgeImage::sources(const QStringList& names) const
{
    std::vector<udf::SourceFile> list;
    for (const QString& n : names)
        list.push_back({QFile::encodeName(path(n)).toStdString(), n.toStdU16String()});
    return list;
}

void TestUdfBridgeImage::readers_seeEveryFile_data()
{
    QTest::addColumn<QStringList>("names");
    QStringList all;
    for (const Fixture& f : fixtures)
        all << f.name;
    QTest::newRow("no files") << QStringList();
    QTest::newRow("one empty file") << QStringList{"empty.dat"};
    QTest::newRow("spaces, non-ASCII, 200 characters, empty") << all;
}

void TestUdfBridgeImage::readers_seeEveryFile()
{
    QFETCH(QStringList, names);
    const QString image = m_dir.filePath(QString("image%1.iso").arg(QTest::currentDataTag()[0]));
    udf::Failure failure;
    auto plan = udf::BridgeImage::plan(sources(names), {"KavoTransferWizard", 0}, &failure);
    QVERIFY2(plan, failure.message.c_str());
    QCOMPARE(udftest::writeImage(*plan, image, 2048), 0);
    QCOMPARE(QFileInfo(image).size(), qint64(plan->totalSectors()) * 2048);
    QCOMPARE(plan->sectorsDone(), plan->totalSectors());

    const auto blkid = keyValues(ToolRun::run("blkid", {"-p", image}).out);
    QCOMPARE(blkid.value("TYPE"), QString("udf"));
    QCOMPARE(blkid.value("VERSION"), QString("1.50"));
    QCOMPARE(blkid.value("LABEL"), QString("KavoTransferWizard"));

    const ToolRun info = ToolRun::run("udfinfo", {image});
    QVERIFY2(info.exitCode == 0 && info.err.isEmpty(), qPrintable(info.err));
    const auto udf = keyValues(info.out);
    QCOMPARE(udf.value("integrity"), QString("closed"));
    QCOMPARE(udf.value("numfiles").toInt(), names.size());
    QCOMPARE(udf.value("numdirs").toInt(), 1);
    QCOMPARE(udf.value("udfrev"), QString("1.50"));

    // 7-Zip's UDF reader: every name whole, every byte the same.
    const QString out = m_dir.filePath("x");
    QDir(out).removeRecursively();
    const ToolRun x = ToolRun::run("7z", {"x", "-tudf", "-y", "-o" + out, image});
    QVERIFY2(x.exitCode == 0, qPrintable(x.out + x.err));
    QStringList extracted = QDir(out).entryList(QDir::Files);
    QStringList expected = names;
    extracted.sort();
    expected.sort();
    QCOMPARE(extracted, expected);
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(fileMd5(out + "/" + names[i]), fileMd5(path(names[i])));
        QCOMPARE(QFileInfo(out + "/" + names[i]).lastModified().toSecsSinceEpoch(),
                 QFileInfo(path(names[i])).lastModified().toSecsSinceEpoch());
        // The extents handed to verify hold the same bytes.
        QCOMPARE(md5(udftest::readExtents(image, plan->fileExtents(size_t(i)))),
                 fileMd5(path(names[i])));
    }

    // The ISO 9660 and Joliet sides list the same files with the same sizes; names that are
    // too long there are shortened, and stay unique.
    QMap<QString, QString> jolietDates;
    QMap<QString, QString> primaryDates;
    const auto joliet = udftest::isoListing(image, true, &jolietDates);
    const auto primary = udftest::isoListing(image, false, &primaryDates);
    QCOMPARE(joliet.size(), names.size());
    QCOMPARE(primary.size(), names.size());
    QList<qint64> sizes;
    for (const QString& n : names) {
        sizes << QFileInfo(path(n)).size();
        if (n.size() <= 64)
            QCOMPARE(joliet.value(n, -1), sizes.last());
    }
    auto sorted = [](QList<qint64> l) {
        std::sort(l.begin(), l.end());
        return l;
    };
    QCOMPARE(sorted(joliet.values()), sorted(sizes));
    QCOMPARE(sorted(primary.values()), sorted(sizes));
    static const QRegularExpression isoName(R"(^[A-Z0-9_]{1,30}\.[A-Z0-9_]*;1$)");
    for (const QString& n : primary.keys())
        QVERIFY2(isoName.match(n).hasMatch() && n.size() <= 33, qPrintable(n));
    // Each record carries its source's date (the sizes tell the files apart).
    QMap<qint64, QString> sourceDates;
    for (const QString& n : names)
        sourceDates[QFileInfo(path(n)).size()] =
            QLocale::c().toString(QFileInfo(path(n)).lastModified().toUTC(), "MMM d yyyy");
    for (const QString& n : joliet.keys())
        QCOMPARE(jolietDates.value(n), sourceDates.value(joliet.value(n)));
    for (const QString& n : primary.keys())
        QCOMPARE(primaryDates.value(n), sourceDates.value(primary.value(n)));
    for (const QString& n : joliet.keys())
        QVERIFY2(n.size() <= 64, qPrintable(n));
}

void TestUdfBridgeImage::stream_fails_whenSourceChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("midFile");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("grows before") << "grow" << false << int(LD_InvalidFile) << false;
    QTest::newRow("shrinks before") << "shrink" << false << int(LD_InvalidFile) << false;
    QTest::newRow("deleted before") << "delete" << false << int(LD_FileNotFound) << true;
    QTest::newRow("grows while read") << "grow" << true << int(LD_InvalidFile) << false;
    QTest::newRow("shrinks while read") << "shrink" << true << int(LD_InvalidFile) << false;
}

void TestUdfBridgeImage::stream_fails_whenSourceChanges()
{
    QFETCH(QString, change);
    QFETCH(bool, midFile);
    QFETCH(int, status);
    QFETCH(bool, unreadable);
    const QString file = writeFile("changing.bin", 5 * 1024 * 1024);
    udf::Failure failure;
    auto plan =
        udf::BridgeImage::plan(sources({"empty.dat", "changing.bin"}), {"Kavo", 0}, &failure);
    QVERIFY(plan);
    burn::burn_source* source = plan->makeBurnSource();
    std::vector<unsigned char> buffer(64 * 1024);
    // Mid-file: past the first buffer of the source, whose data starts near the end.
    const uint64_t changeAt = midFile ? plan->totalSectors() - 1000 : 0;
    int n = 0;
    bool changed = false;
    while ((n = source->read_xt(source, buffer.data(), int(buffer.size()))) > 0) {
        if (!changed && plan->sectorsDone() >= changeAt) {
            changed = true;
            if (change == "delete")
                QFile::remove(file);
            else
                QVERIFY(QFile::resize(file, change == "grow" ? 6 * 1024 * 1024 : 4 * 1024 * 1024));
        }
    }
    burn::burn_source_free(source);
    QCOMPARE(n, -1);
    QCOMPARE(plan->failure().status, status);
    QVERIFY2(plan->failure().message.find("changing.bin") != std::string::npos,
             plan->failure().message.c_str());
    QCOMPARE(plan->unreadableFiles().size(), size_t(unreadable ? 1 : 0));
    QVERIFY(plan->sectorsDone() < plan->totalSectors());
}

void TestUdfBridgeImage::cancel_failsTheStream()
{
    udf::Failure failure;
    auto plan = udf::BridgeImage::plan(sources({"film one.mp4"}), {"Kavo", 0}, &failure);
    QVERIFY(plan);
    burn::burn_source* source = plan->makeBurnSource();
    unsigned char sector[2048];
    QCOMPARE(source->read_xt(source, sector, 2048), 2048);
    plan->cancel();
    QCOMPARE(source->read_xt(source, sector, 2048), -1);
    QCOMPARE(source->read_xt(source, sector, 2048), -1);
    burn::burn_source_free(source);
    QCOMPARE(plan->failure().status, int32_t(LD_UserCancelled));
    QCOMPARE(plan->sectorsDone(), uint64_t(1));
}

void TestUdfBridgeImage::plan_refuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint64>("capacity");
    QTest::addColumn<int>("status");
    // film one.mp4 needs 1537 data sectors beside about 270 of structures.
    QTest::newRow("over the capacity")
        << "film one.mp4" << quint64(1700) << int(LD_NotEnoughStorage);
    QTest::newRow("fits exactly") << "film one.mp4" << quint64(0) << int(LD_OK);
    QTest::newRow("missing file") << "nothing here.mp4" << quint64(0) << int(LD_FileNotFound);
    QTest::newRow("a folder") << "" << quint64(0) << int(LD_InvalidFile);
}

void TestUdfBridgeImage::plan_refuses()
{
    QFETCH(QString, name);
    QFETCH(quint64, capacity);
    QFETCH(int, status);
    udf::Failure failure{1, "untouched"};
    auto fits = udf::BridgeImage::plan(sources({name}), {"Kavo", 0}, &failure);
    if (status == LD_OK) {
        // A medium of exactly the image's size takes it.
        QVERIFY(fits);
        auto exact =
            udf::BridgeImage::plan(sources({name}), {"Kavo", fits->totalSectors()}, &failure);
        QVERIFY(exact);
        QCOMPARE(failure.status, 0);
        return;
    }
    auto refused = udf::BridgeImage::plan(sources({name}), {"Kavo", capacity}, &failure);
    QVERIFY(!refused);
    QCOMPARE(failure.status, status);
    QVERIFY(!failure.message.empty());
}

QTEST_GUILESS_MAIN(TestUdfBridgeImage)
#include "tst_UdfBridgeImage.moc"
