// A file over 4 GiB (sparse source) on a DVD image: the UDF side carries it whole, and the
// ISO 9660 side (level 3, several extents) lists it with its whole size.
#include "LDStorageTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ldtest;

class TestLDStorageBigFile : public QObject
{
    Q_OBJECT

private slots:
    void dvdImage_keepsFileOver4GiB();
};

void TestLDStorageBigFile::dvdImage_keepsFileOver4GiB()
{
    QTemporaryDir dir;
    const QString big = dir.filePath("big.bin");
    QFile f(big);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize((qint64(4) << 30) + 12345));
    QVERIFY(f.seek(qint64(4) << 30)); // data past the 4 GiB boundary tells the extents apart
    f.write("tail beyond four GiB");
    f.close();
    const QString image = dir.filePath("dvd.iso");
    Burn b = burnFiles("dvd+r", image, {{"big file.bin", big}}, LD_FsUdf15);
    QCOMPARE(b.flushStatus, LD_OK);
    const QString out = dir.filePath("x");
    const QMap<QString, QByteArray> read = extractImage(image, out);
    QCOMPARE(QFileInfo(out + "/big file.bin").size(), QFileInfo(big).size());
    QCOMPARE(read.value("big file.bin"), md5Of(big));
    QVERIFY(ToolRun::run("xorriso", {"-indev", image, "-lsl", "/"}, -1)
                .out.contains(QString::number(QFileInfo(big).size()) + " "));
}

int main(int argc, char** argv)
{
    // Writing, syncing and reading back 4 GiB twice takes minutes on a busy machine: the test's
    // own limit (CTest's) applies, not Qt Test's five minutes per function.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "1700000");
    QCoreApplication app(argc, argv);
    TestLDStorageBigFile test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_LDStorageBigFile.moc"
