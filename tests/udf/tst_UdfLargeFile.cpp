#include "UdfBridgeImage.h"
#include "UdfTestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using udftest::keyValues;

namespace {

constexpr qint64 GiB = qint64(1) << 30;
constexpr qint64 bigSize = 9 * GiB / 2;

// A digest computed by a pipe, so the 4.5 GiB never pass through this process; empty when
// any command of the pipe fails.
QString pipeMd5(const QString& command)
{
    const ToolRun r = ToolRun::run("bash", {"-c", "set -o pipefail; " + command + " | md5sum"});
    return r.exitCode == 0 ? r.out.section(' ', 0, 0) : QString();
}

} // namespace

class TestUdfLargeFile : public QObject
{
    Q_OBJECT

private slots:
    // A 4.5 GiB file needs five UDF extents and two ISO 9660 records; every reader must see all
    // of it, and the file after it where the layout put it.
    void fileOver4GiB_readWhole()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString big = dir.filePath("big film.bin");
        const QString small = dir.filePath("after.txt");
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(bigSize));
            // Marks around each extent boundary and the 4 GiB record boundary.
            QRandomGenerator random(7);
            for (qint64 at :
                 {qint64(0), GiB - 4096, 2 * GiB - 8192, 4 * GiB - 4096, bigSize - 3000}) {
                QByteArray mark(3000, Qt::Uninitialized);
                for (char& c : mark)
                    c = char(random.generate());
                f.seek(at);
                f.write(mark);
            }
            QFile s(small);
            QVERIFY(s.open(QIODevice::WriteOnly));
            s.write("the file after the big one\n");
        }
        udf::Failure failure;
        auto plan = udf::BridgeImage::plan(
            {{big.toStdString(), u"big film.bin"}, {small.toStdString(), u"after.txt"}},
            {"KavoTransferWizard", 0}, &failure);
        QVERIFY2(plan, failure.message.c_str());
        QCOMPARE(plan->fileExtents(0).size(), size_t(5));
        const QString image = dir.filePath("big.iso");
        QCOMPARE(udftest::writeImage(*plan, image), 0);

        const ToolRun info = ToolRun::run("udfinfo", {image});
        QVERIFY2(info.exitCode == 0 && info.err.isEmpty(), qPrintable(info.err));
        QCOMPARE(keyValues(info.out).value("integrity"), QString("closed"));
        QCOMPARE(keyValues(info.out).value("numfiles"), QString("2"));

        const QString sourceMd5 = pipeMd5("cat '" + big + "'");
        QCOMPARE(sourceMd5.size(), 32);
        QCOMPARE(pipeMd5("7z x -tudf -so '" + image + "' 'big film.bin'"), sourceMd5);
        QCOMPARE(pipeMd5("7z x -tudf -so '" + image + "' after.txt"),
                 pipeMd5("cat '" + small + "'"));

        // The ISO 9660 side: Joliet and primary names, whole sizes, and 7-Zip's ISO reader
        // joins the multi-extent records into the whole file.
        for (bool joliet : {true, false}) {
            const auto files = udftest::isoListing(image, joliet);
            QCOMPARE(files.size(), 2);
            QCOMPARE(files.value(joliet ? "big film.bin" : "BIG_FILM.BIN;1"), bigSize);
        }
        QCOMPARE(pipeMd5("7z x -tiso -so '" + image + "' 'big film.bin'"), sourceMd5);
    }
};

QTEST_GUILESS_MAIN(TestUdfLargeFile)
#include "tst_UdfLargeFile.moc"
