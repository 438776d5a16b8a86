#include <QTemporaryDir>
#include <QTest>

#include "FileInfoModel.h"
#include "TransferTimeEstimate.h"

// Rows are given as "status:conversion:write" triples.
class TestTransferTimeEstimate : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void remainingSeconds_scalesByRealSpeed_data();
    void remainingSeconds_scalesByRealSpeed();
    void barValue_data();
    void barValue();

private:
    void fill(FileInfoModel& model, const QString& rows);
    QTemporaryDir m_dir;
};

void TestTransferTimeEstimate::fill(FileInfoModel& model, const QString& rows)
{
    QList<FileInfoModel::SourceFile> sources;
    QList<FileInfoModel::Estimate> estimates;
    QStringList outputs;
    QStringList writeNames;
    QList<int> writes;
    QList<int> statuses;
    const QStringList list = rows.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < list.size(); ++i) {
        const QStringList f = list[i].split(':');
        const QString path = m_dir.filePath(QString("clip%1.mp4").arg(i));
        FileInfoModel::SourceFile source;
        source.path = path;
        source.partBytes = 1000;
        sources << source;
        FileInfoModel::Estimate e;
        e.conversionSeconds = f[1].toInt();
        e.outputBytes = 1000;
        estimates << e;
        outputs << m_dir.filePath(QString("clip%1.kavo").arg(i));
        writeNames << path;
        writes << f[2].toInt();
        statuses << f[0].toInt();
    }
    model.insertFiles(sources, outputs, estimates, {}, false);
    model.updateEstimates(writeNames, writes, true);
    for (int i = 0; i < statuses.size(); ++i)
        QVERIFY(model.setStatus(i, statuses[i]));
}

void TestTransferTimeEstimate::split_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("done");
    QTest::addColumn<double>("left");
    QTest::addColumn<bool>("burning");
    QTest::addColumn<double>("verify");
    QTest::newRow("waiting") << "2:10:5" << 0.0 << 0.0 << 15.0 << false << 0.0;
    QTest::newRow("converted") << "5:10:5" << 0.0 << 10.0 << 5.0 << false << 0.0;
    QTest::newRow("converting a quarter") << "3:40:8" << 25.0 << 10.0 << 38.0 << false << 0.0;
    QTest::newRow("writing half") << "6:10:20" << 50.0 << 20.0 << 10.0 << false << 0.0;
    QTest::newRow("finished") << "8:10:20" << 50.0 << 30.0 << 0.0 << false << 0.0;
    QTest::newRow("failed counts ahead") << "4:10:20" << 50.0 << 0.0 << 30.0 << false << 0.0;
    QTest::newRow("no estimate counts nothing") << "3:-1:4" << 50.0 << 0.0 << 4.0 << false << 0.0;
    QTest::newRow("whole transfer")
        << "8:10:10 6:0:10 5:20:10 2:30:10" << 30.0 << 43.0 << 57.0 << false << 0.0;
    QTest::newRow("fraction above 100 is capped")
        << "3:10:0" << 250.0 << 10.0 << 0.0 << false << 0.0;
    // A burn's estimate covers the write and the read-back after it; the progress is the write's.
    QTest::newRow("burning half, verify as long as the write")
        << "6:0:40" << 50.0 << 10.0 << 30.0 << true << 1.0;
    QTest::newRow("burnt, verify still to come")
        << "6:0:30" << 100.0 << 10.0 << 20.0 << true << 2.0;
    QTest::newRow("a USB copy has no read-back")
        << "6:0:40" << 50.0 << 20.0 << 20.0 << false << 1.0;
}

void TestTransferTimeEstimate::split()
{
    QFETCH(QString, rows);
    QFETCH(double, fraction);
    QFETCH(double, done);
    QFETCH(double, left);
    FileInfoModel model;
    fill(model, rows);
    QFETCH(bool, burning);
    QFETCH(double, verify);
    model.setBurning(burning);
    const TransferTimeEstimate::Split s = TransferTimeEstimate::split(model, fraction, verify);
    QCOMPARE(s.done, done);
    QCOMPARE(s.left, left);
}

void TestTransferTimeEstimate::remainingSeconds_scalesByRealSpeed_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<qint64>("conversionMs");
    QTest::addColumn<qint64>("writeMs");
    QTest::addColumn<qint64>("remaining");
    // Nothing done yet: the estimate itself.
    QTest::newRow("estimate before progress")
        << "2:100:20" << 0.0 << qint64(5000) << qint64(0) << qint64(120);
    // Half the conversions done in their estimated time: the rest as estimated.
    QTest::newRow("on schedule") << "5:60:60 2:60:60" << 0.0 << qint64(60000) << qint64(0)
                                 << qint64(180);
    // Converting twice as slow as estimated: the conversions left take twice as long; the
    // drive's own estimate stands until its progress shows.
    QTest::newRow("slow conversion, drive as estimated")
        << "5:60:60 2:60:60" << 0.0 << qint64(120000) << qint64(0) << qint64(240);
    QTest::newRow("fast conversion")
        << "5:60:60 2:60:60" << 0.0 << qint64(30000) << qint64(0) << qint64(150);
    // Writing twice as slow as estimated: the rest of the write takes twice as long.
    QTest::newRow("slow drive") << "8:0:60 6:0:60" << 50.0 << qint64(0) << qint64(180000)
                                << qint64(60);
}

void TestTransferTimeEstimate::remainingSeconds_scalesByRealSpeed()
{
    QFETCH(QString, rows);
    QFETCH(double, fraction);
    QFETCH(qint64, conversionMs);
    QFETCH(qint64, writeMs);
    QFETCH(qint64, remaining);
    FileInfoModel model;
    fill(model, rows);
    QCOMPARE(TransferTimeEstimate::remainingSeconds(model, fraction, conversionMs, writeMs),
             remaining);
}

void TestTransferTimeEstimate::barValue_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("disc");
    QTest::addColumn<int>("bar");
    QTest::newRow("nothing yet leaves the bar") << 0 << false << -1;
    QTest::newRow("one percent shows moving") << 1 << false << 12;
    QTest::newRow("five percent") << 5 << true << 12;
    QTest::newRow("twelve") << 12 << false << 12;
    QTest::newRow("thirteen") << 13 << false << 13;
    QTest::newRow("usb reaches 100") << 100 << false << 100;
    QTest::newRow("disc waits at 99") << 100 << true << 99;
    QTest::newRow("disc below the cap") << 60 << true << 60;
}

void TestTransferTimeEstimate::barValue()
{
    QFETCH(int, percent);
    QFETCH(bool, disc);
    QFETCH(int, bar);
    QCOMPARE(TransferTimeEstimate::barValue(percent, disc), bar);
}

QTEST_MAIN(TestTransferTimeEstimate)
#include "tst_TransferTimeEstimate.moc"
