#include "BurnerLog.h"
#include "KavoMediaBurner.h"
#include "LDStorage.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"
#include "TestFiles.h"
#include "ToolRun.h"

#include <QtTest>

#include <cstdio>

namespace {

class ProgressCounter : public kvtl::RefCountedImpl<IKavoMediaBurnerCallback>
{
public:
    void OnProgress(quint64 current, quint64 total) override
    {
        last = current;
        lastTotal = total;
    }
    quint64 last = 0;
    quint64 lastTotal = 0;
};

QByteArray Content(int seed, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed) & 0xFF);
    return bytes;
}

} // namespace

// The real storage library writing a CD-R image burner, read back with xorriso.
class TestBurnerImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void burn_twoFilesOfTheSameName_readBackFromTheImage_data();
    void burn_twoFilesOfTheSameName_readBackFromTheImage();

private:
    QTemporaryDir m_dir;
    std::FILE* m_log = nullptr;
};

void TestBurnerImage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (QStandardPaths::findExecutable("xorriso").isEmpty())
        QSKIP("xorriso is not installed");
    // The placeholder that stands in until the storage library is built answers every call
    // with NotImplemented; the library proper refuses a missing record as InvalidHandle.
    if (LD_StorageDevice_Close(nullptr) == LD_NotImplemented)
        QSKIP("the storage library is a placeholder in this build");
    PrivateEnvironment::useHives(m_dir.path());
    // No host drive takes part, whatever the machine has.
    LD_SetScanOpticalDrives(0);
    m_log = std::fopen(m_dir.filePath("burner.log").toUtf8().constData(), "w");
    BurnerLog::SetStream(m_log);
}

void TestBurnerImage::burn_twoFilesOfTheSameName_readBackFromTheImage_data()
{
    QTest::addColumn<QString>("medium");
    QTest::addColumn<QString>("fileSystem");
    // ISO 9660 for a CD; the UDF bridge for a DVD, whose ISO 9660 side xorriso reads.
    QTest::newRow("CD-R") << "cd-r"
                          << "iso9660";
    QTest::newRow("DVD+R") << "dvd+r"
                           << "udf";
}

void TestBurnerImage::burn_twoFilesOfTheSameName_readBackFromTheImage()
{
    QFETCH(QString, medium);
    QFETCH(QString, fileSystem);
    const QString image = m_dir.filePath(medium + ".iso");
    const std::string burners = (medium + ":" + image).toStdString();
    QVERIFY(WriteSetting(std::string("TransferWizard"), std::string("ImageBurners"), burners));
    const QString name = QStringLiteral("Ünïcode clip.avi");
    QVERIFY(QDir(m_dir.path()).mkpath("a") && QDir(m_dir.path()).mkpath("b"));
    // The same two sources for every medium.
    const QByteArray first = Content(1, 300000);
    const QByteArray second = Content(2, 70001);
    QVERIFY(TestFiles::write(m_dir.filePath("a/" + name), first));
    QVERIFY(TestFiles::write(m_dir.filePath("b/" + name), second));

    ProgressCounter* progress = new ProgressCounter;
    {
        KavoMediaBurner burner;
        burner.SetCallback(progress);
        QCOMPARE(burner.Initialize(3, false), 0u);
        std::vector<Drive> drives;
        QCOMPARE(burner.GetAvailableDrives(3, drives), 0u);
        QCOMPARE(drives.size(), size_t(1));
        QCOMPARE(QString::fromStdU16String(drives.front().path()), image);
        QCOMPARE(burner.SetCurrentDrive(drives.front()), 0u);
        quint64 free = 0;
        QCOMPARE(burner.GetFreeSpace(free), 0u);
        QVERIFY(free > quint64(first.size() + second.size()));

        burner.AddFile(m_dir.filePath("a/" + name).toStdU16String());
        burner.AddFile(m_dir.filePath("b/" + name).toStdU16String());
        QCOMPARE(burner.WriteToDisc(u""), 0u);
        const quint32 result = burner.Run();
        QVERIFY2(result == 0 || result == 11, qPrintable(QString::number(result)));
        QVERIFY(progress->last > 0);
        QVERIFY(progress->last <= progress->lastTotal);
    }

    QCOMPARE(ToolRun::run("blkid", {"-p", "-o", "value", "-s", "TYPE", image}).out.trimmed(),
             fileSystem);

    const QString out = m_dir.filePath("out-" + medium);
    const ToolRun xorriso = ToolRun::extractImage(image, out);
    QVERIFY2(xorriso.ok(), qPrintable(xorriso.err));
    QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
             QStringList({"Ünïcode clip (2).avi", name}));
    QFile a(out + "/" + name);
    QFile b(out + "/Ünïcode clip (2).avi");
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QVERIFY(a.readAll() == first);
    QVERIFY(b.readAll() == second);
}

QTEST_GUILESS_MAIN(TestBurnerImage)
#include "tst_BurnerImage.moc"
