#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "FileInfoModel.h"
#include "RecentSpeed.h"
#include "RemainingTimeSmoother.h"
#include "TransferTimeEstimate.h"

// Rows are given as "status:conversion:write" triples.
class TestTransferTimeEstimate : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void remainingSeconds_data();
    void remainingSeconds();
    void remainingSeconds_measuredDrive_data();
    void remainingSeconds_measuredDrive();
    void barValue_data();
    void barValue();
    void smoother_data();
    void smoother();
    void recentSpeed_data();
    void recentSpeed();

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
    QStringList direct;
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
        if (f.value(3) == "direct")
            direct << path;
        writes << f[2].toInt();
        statuses << f[0].toInt();
    }
    model.insertFiles(sources, outputs, estimates, direct, false);
    model.updateEstimates(writeNames, writes, true);
    for (int i = 0; i < statuses.size(); ++i)
        QVERIFY(model.setStatus(i, statuses[i]));
}

void TestTransferTimeEstimate::split_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<double>("conversion");
    QTest::addColumn<double>("write");
    QTest::addColumn<double>("done");
    QTest::addColumn<double>("left");
    QTest::newRow("waiting") << "2:10:5" << 0.0 << 0.0 << 0.0 << 15.0;
    QTest::newRow("converted") << "5:10:5" << 0.0 << 0.0 << 10.0 << 5.0;
    QTest::newRow("converting a quarter") << "3:40:8" << 25.0 << 90.0 << 10.0 << 38.0;
    QTest::newRow("writing half") << "6:10:20" << 90.0 << 50.0 << 20.0 << 10.0;
    QTest::newRow("finished") << "8:10:20" << 50.0 << 50.0 << 30.0 << 0.0;
    QTest::newRow("failed counts ahead") << "4:10:20" << 50.0 << 50.0 << 0.0 << 30.0;
    QTest::newRow("no estimate counts nothing") << "3:-1:4" << 50.0 << 0.0 << 0.0 << 4.0;
    QTest::newRow("written as it is: no conversion done")
        << "6:100:20:direct" << 0.0 << 50.0 << 10.0 << 10.0;
    // A copy beside a conversion: each row takes its own part's progress.
    QTest::newRow("copying while converting")
        << "8:10:10 6:0:10 3:20:10 2:30:10" << 25.0 << 50.0 << 30.0 << 70.0;
    QTest::newRow("percent above 100 is capped") << "3:10:0" << 250.0 << 0.0 << 10.0 << 0.0;
}

void TestTransferTimeEstimate::split()
{
    QFETCH(QString, rows);
    QFETCH(double, conversion);
    QFETCH(double, write);
    QFETCH(double, done);
    QFETCH(double, left);
    FileInfoModel model;
    fill(model, rows);
    const TransferTimeEstimate::Split s = TransferTimeEstimate::split(model, conversion, write);
    QCOMPARE(s.done, done);
    QCOMPARE(s.left, left);
}

void TestTransferTimeEstimate::remainingSeconds_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<double>("conversion");
    QTest::addColumn<double>("write");
    QTest::addColumn<qint64>("conversionMs");
    QTest::addColumn<qint64>("writeMs");
    QTest::addColumn<bool>("overlap");
    QTest::addColumn<qint64>("remaining");
    QTest::addColumn<double>("recent");
    // Nothing done yet: the estimate itself.
    QTest::newRow("estimate before progress")
        << "2:100:20" << 0.0 << 0.0 << qint64(5000) << qint64(0) << false << qint64(120) << 0.0;
    // Half the conversions done in their estimated time: the rest as estimated.
    QTest::newRow("on schedule") << "5:60:60 2:60:60" << 0.0 << 0.0 << qint64(60000) << qint64(0)
                                 << false << qint64(180) << 0.0;
    // Converting twice as slow as estimated: the conversions left take twice as long; the
    // drive's own estimate stands until its progress shows.
    QTest::newRow("slow conversion, drive as estimated")
        << "5:60:60 2:60:60" << 0.0 << 0.0 << qint64(120000) << qint64(0) << false << qint64(240)
        << 0.0;
    QTest::newRow("fast conversion") << "5:60:60 2:60:60" << 0.0 << 0.0 << qint64(30000)
                                     << qint64(0) << false << qint64(150) << 0.0;
    // Writing twice as slow as estimated: the rest of the write takes twice as long.
    QTest::newRow("slow drive") << "8:0:60 6:0:60" << 0.0 << 50.0 << qint64(0) << qint64(180000)
                                << false << qint64(60) << 0.0;
    // Side by side: the copy of a converted file waits for its conversion, the copy of a file
    // taken as it is does not; the end is whichever part ends last.
    QTest::newRow("overlap: copies hidden behind the conversions")
        << "2:60:10 2:60:10 2:0:30" << 0.0 << 0.0 << qint64(0) << qint64(0) << true << qint64(130)
        << 0.0;
    QTest::newRow("sequential: the same files one part after the other")
        << "2:60:10 2:60:10 2:0:30" << 0.0 << 0.0 << qint64(0) << qint64(0) << false << qint64(170)
        << 0.0;
    QTest::newRow("overlap: a slow drive is the longer part")
        << "5:10:100 3:10:100" << 50.0 << 0.0 << qint64(15000) << qint64(0) << true << qint64(200)
        << 0.0;
    QTest::newRow("overlap: the last copy waits for the last conversion")
        << "8:40:10 6:40:10 3:40:10" << 50.0 << 50.0 << qint64(100000) << qint64(30000) << true
        << qint64(40) << 0.0;
    // The drive has slowed down of late: the rest goes at that speed, not the average.
    QTest::newRow("slower of late") << "8:0:60 6:0:60" << 0.0 << 50.0 << qint64(0) << qint64(90000)
                                    << false << qint64(60) << 2.0;
    QTest::newRow("a burst of late promises nothing")
        << "8:0:60 6:0:60" << 0.0 << 50.0 << qint64(0) << qint64(90000) << false << qint64(30)
        << 0.25;
}

void TestTransferTimeEstimate::remainingSeconds()
{
    QFETCH(QString, rows);
    QFETCH(double, conversion);
    QFETCH(double, write);
    QFETCH(qint64, conversionMs);
    QFETCH(qint64, writeMs);
    QFETCH(bool, overlap);
    QFETCH(qint64, remaining);
    QFETCH(double, recent);
    FileInfoModel model;
    fill(model, rows);
    TransferTimeEstimate::Progress progress;
    progress.recentWriteSpeed = recent;
    progress.conversionPercent = conversion;
    progress.writePercent = write;
    progress.conversionMs = conversionMs;
    progress.writeMs = writeMs;
    QCOMPARE(TransferTimeEstimate::remainingSeconds(model, progress, overlap), remaining);
}

void TestTransferTimeEstimate::remainingSeconds_measuredDrive_data()
{
    QTest::addColumn<double>("write");
    QTest::addColumn<qint64>("writeMs");
    QTest::addColumn<bool>("measured");
    QTest::addColumn<qint64>("remaining");
    // A fifth written four times faster than estimated.
    QTest::newRow("announced rate: the pace so far") << 20.0 << qint64(5000) << false << qint64(20);
    QTest::newRow("measured rate: an early burst counts little")
        << 20.0 << qint64(5000) << true << qint64(68);
    // Four fifths written twice as fast: the write's own pace has taken over.
    QTest::newRow("measured rate: late, the pace counts most")
        << 80.0 << qint64(40000) << true << qint64(12);
}

void TestTransferTimeEstimate::remainingSeconds_measuredDrive()
{
    QFETCH(double, write);
    QFETCH(qint64, writeMs);
    QFETCH(bool, measured);
    QFETCH(qint64, remaining);
    FileInfoModel model;
    fill(model, "6:0:100");
    TransferTimeEstimate::Progress progress;
    progress.writePercent = write;
    progress.writeMs = writeMs;
    progress.writeRateMeasured = measured;
    QCOMPARE(TransferTimeEstimate::remainingSeconds(model, progress, false), remaining);
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

void TestTransferTimeEstimate::smoother_data()
{
    // Samples "ms:estimate", or "from-to/step:estimate" for a run of equal estimates.
    QTest::addColumn<QString>("series");
    QTest::addColumn<int>("maxRise");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::newRow("on time: counts down") << "0:100 1000:99 2000:98 3000:97" << 0 << 97 << 97;
    QTest::newRow("faster than thought: taken at once") << "0:100 1000:60 2000:59" << 0 << 59 << 59;
    QTest::newRow("one slow sample: no jump") << "0:100 1000:200 2000:98" << 25 << 98 << 98;
    // A lasting slow-down shows within seconds, however often the page updates.
    QTest::newRow("lasting rise, once a second") << "0:100 1000-20000/1000:200" << 25 << 195 << 200;
    QTest::newRow("lasting rise, ten times a second")
        << "0:100 100-20000/100:200" << 3 << 195 << 200;
    // A figure that fell too low (a burst into the cache) catches up with a true estimate that
    // counts down.
    QTest::newRow("too low a figure catches up")
        << "0:20 1000:2 2000:18 3000:17 4000:16 5000:15 6000:14 7000:13 8000:12 9000:11" << 5 << 11
        << 11;
}

void TestTransferTimeEstimate::smoother()
{
    QFETCH(QString, series);
    QFETCH(int, maxRise);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    RemainingTimeSmoother smoother;
    qint64 last = -1;
    qint64 rise = 0;
    for (const QString& sample : series.split(' ')) {
        const QStringList parts = sample.split(':');
        const QStringList times = parts[0].split(QRegularExpression("[-/]"));
        const qint64 from = times[0].toLongLong();
        const qint64 to = times.size() == 3 ? times[1].toLongLong() : from;
        const qint64 step = times.size() == 3 ? times[2].toLongLong() : 1;
        for (qint64 ms = from; ms <= to; ms += step) {
            const qint64 shown = smoother.next(parts[1].toLongLong(), ms);
            if (last >= 0)
                rise = qMax(rise, shown - last);
            last = shown;
        }
    }
    QVERIFY2(rise <= maxRise, qPrintable(QString::number(rise)));
    QVERIFY2(last >= lowest && last <= highest, qPrintable(QString::number(last)));
}

void TestTransferTimeEstimate::recentSpeed_data()
{
    // Work in steps of 100 ms: so many seconds at each speed (real per estimated second).
    QTest::addColumn<QList<double>>("phases");
    QTest::addColumn<double>("speed");
    QTest::newRow("steady") << QList<double>{10, 1.0} << 1.0;
    QTest::newRow("the cache is full: a copy slows down") << QList<double>{10, 1.0, 10, 2.0} << 2.0;
    QTest::newRow("read-back faster than the write") << QList<double>{20, 4.0, 6, 1.0} << 1.0;
    QTest::newRow("under a second says nothing") << QList<double>{0.5, 1.0} << 0.0;
    QTest::newRow("no progress says nothing") << QList<double>{10, 0.0} << 0.0;
}

void TestTransferTimeEstimate::recentSpeed()
{
    QFETCH(QList<double>, phases);
    QFETCH(double, speed);
    RecentSpeed recent;
    qint64 ms = 0;
    double done = 0;
    recent.add(ms, done);
    for (int i = 0; i + 1 < phases.size(); i += 2) {
        for (int step = 0; step < int(phases[i] * 10); ++step) {
            ms += 100;
            done += phases[i + 1] > 0 ? 0.1 / phases[i + 1] : 0;
            recent.add(ms, done);
        }
    }
    QVERIFY2(qAbs(recent.speed() - speed) < 0.01, qPrintable(QString::number(recent.speed())));
}

QTEST_MAIN(TestTransferTimeEstimate)
#include "tst_TransferTimeEstimate.moc"
