#include <QFile>
#include <QFont>
#include <QIcon>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "FileInfoModel.h"
#include "PrivateEnvironment.h"

namespace {

using Source = FileInfoModel::SourceFile;
using Estimate = FileInfoModel::Estimate;

Source src(const QString& path, quint64 bytes = 0)
{
    Source source;
    source.path = path;
    source.partBytes = bytes;
    return source;
}

bool writeFile(const QString& path, int bytes = 16)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write(QByteArray(bytes, 'x')) == bytes;
}

QString cell(const FileInfoModel& m, int row, int column, int role = Qt::DisplayRole)
{
    return m.data(m.index(row, column), role).toString();
}

} // namespace

class tst_FileInfoModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Keep the settings lookups of the formatting helpers away from this machine's hives.
        QVERIFY(m_home.isValid());
        PrivateEnvironment::useHives(m_home.path());
    }

    void newRowsAndColumns()
    {
        FileInfoModel m;
        QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
        m.insertFiles({src("/v/a.avi", 2048), src("/v/b.mkv", 4096)}, {QString(), "/tmp/x/b.kavo"},
                      {Estimate{0, 0}, Estimate{65, 1048576}}, {}, false);
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.columnCount(), 3);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 0);
        QCOMPARE(inserted.at(0).at(2).toInt(), 1);
        QCOMPARE(m.status(0), int(FileInfoModel::Ready));
        QCOMPARE(m.status(1), int(FileInfoModel::Waiting));
        QCOMPARE(cell(m, 0, 0), QString("a.avi"));
        // No estimated size: the source's own size.
        QCOMPARE(m.outputBytes(0), quint64(2048));
        QCOMPARE(cell(m, 0, 1), QString("2 KB"));
        QCOMPARE(cell(m, 1, 1), QString("1.00 MB"));
        QCOMPARE(cell(m, 1, 2), QString("00:01:05"));
        QCOMPARE(m.totalOutputBytes(), quint64(2048 + 1048576));
        QVERIFY(!m.data(m.index(2, 0)).isValid());
        QVERIFY(!m.data(m.index(0, 3)).isValid());
    }

    void headers_data()
    {
        QTest::addColumn<bool>("progress");
        QTest::addColumn<int>("section");
        QTest::addColumn<QString>("text");
        QTest::newRow("name") << false << 0 << "Name";
        QTest::newRow("size") << false << 1 << "Size";
        QTest::newRow("time") << false << 2 << "Transfer Time";
        QTest::newRow("progress") << true << 2 << "Progress";
        QTest::newRow("beyond") << false << 3 << "";
    }
    void headers()
    {
        QFETCH(bool, progress);
        QFETCH(int, section);
        QFETCH(QString, text);
        FileInfoModel m;
        m.setProgressMode(progress);
        QCOMPARE(m.headerData(section, Qt::Horizontal).toString(), text);
        QVERIFY(!m.headerData(section, Qt::Vertical).isValid());
        // Only the size says more: which sizes are after conversion.
        QCOMPARE(m.headerData(section, Qt::Horizontal, Qt::ToolTipRole).isValid(), section == 1);
    }

    // The size column says which sizes are after conversion, and why those videos are converted.
    void sizeColumn_marksConvertedVideos()
    {
        Source converted = src("/videos/big.mpg", 820ull << 20);
        converted.conversionReason = 4; // the video format
        converted.conversionDetails = "video codec mpeg2video is not mpeg4";
        FileInfoModel m;
        m.insertFiles({converted, src("/videos/small.avi", 10ull << 20)},
                      {"/tmp/big.kavo", QString()}, {Estimate{30, 57ull << 20}, Estimate{0, 0}},
                      {"/videos/small.avi"}, false);
        const QModelIndex big = m.index(0, 1);
        QCOMPARE(m.data(big).toString(), QString("57.00 MB"));
        QVERIFY(!m.data(m.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(m.data(m.index(0, 0), Qt::ToolTipRole).toString().contains("video format"));
        const QString tip = m.data(big, Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains("after conversion") && tip.contains("820.00 MB") &&
                     tip.contains("video format") && tip.contains("mpeg2video"),
                 qPrintable(tip));
        const QModelIndex small = m.index(1, 1);
        QVERIFY(!m.data(m.index(1, 0), Qt::DecorationRole).isValid());
        QVERIFY(!m.data(small, Qt::ToolTipRole).toString().contains("after conversion"));
    }

    void statusTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("burning");
        QTest::addColumn<QString>("text");
        QTest::newRow("waiting") << 2 << false << "Waiting";
        QTest::newRow("in progress") << 3 << false << "In progress";
        QTest::newRow("error") << 4 << false << "Conversion error";
        QTest::newRow("ready") << 5 << false << "Ready";
        QTest::newRow("transferring") << 6 << false << "Transferring";
        QTest::newRow("burning") << 6 << true << "Burning";
        QTest::newRow("canceled") << 7 << false << "Canceled";
        QTest::newRow("finished") << 8 << false << "Finished";
        QTest::newRow("failed") << 9 << false << "Failed";
        QTest::newRow("not copied") << 10 << false << "Not copied";
    }
    void statusTexts()
    {
        QFETCH(int, status);
        QFETCH(bool, burning);
        QFETCH(QString, text);
        FileInfoModel m;
        m.insertFiles({src("/v/a.avi")}, {"/tmp/a.kavo"}, {Estimate{10, 1}}, {}, false);
        m.setProgressMode(true);
        m.setBurning(burning);
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        QVERIFY(m.setStatus(0, status));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex().column(), 2);
        QCOMPARE(cell(m, 0, 2), text);
        const QFont font = m.data(m.index(0, 2), Qt::FontRole).value<QFont>();
        QCOMPARE(font.bold(), status == 3);
    }

    void setStatusRange_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("below") << 0 << 1 << false;
        QTest::newRow("above") << 0 << 11 << false;
        QTest::newRow("lowest") << 0 << 2 << true;
        QTest::newRow("highest") << 0 << 10 << true;
        QTest::newRow("negative row") << -1 << 5 << false;
        QTest::newRow("row past end") << 1 << 5 << false;
    }
    void setStatusRange()
    {
        QFETCH(int, row);
        QFETCH(int, status);
        QFETCH(bool, accepted);
        FileInfoModel m;
        m.insertFiles({src("/v/a.avi")}, {"/tmp/a.kavo"}, {Estimate{10, 1}}, {}, false);
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        QCOMPARE(m.setStatus(row, status), accepted);
        QCOMPARE(changed.count(), accepted ? 1 : 0);
        QCOMPARE(m.status(0), accepted ? status : int(FileInfoModel::Waiting));
    }

    void noEstimateAndLinkLook()
    {
        FileInfoModel m;
        m.insertFiles({src("/v/a.avi", 10), src("/v/b.avi", 10)}, {"/t/a.kavo", QString()},
                      {Estimate{-1, 0}, Estimate{90, 5}}, {}, false);
        QCOMPARE(cell(m, 0, 2), QString("---"));
        // Only a file that needs converting looks like a link.
        QVERIFY(!m.data(m.index(0, 2), Qt::ForegroundRole).isValid());
        QVERIFY(m.data(m.index(1, 2), Qt::ForegroundRole).isValid());
        QVERIFY(m.data(m.index(1, 2), Qt::FontRole).value<QFont>().underline());
        m.setProgressMode(true);
        QCOMPARE(cell(m, 0, 2), QString("Waiting"));
        QCOMPARE(cell(m, 1, 2), QString("Ready"));
        QVERIFY(!m.data(m.index(1, 2), Qt::ForegroundRole).isValid());
    }

    void duplicatesAndPlacement()
    {
        FileInfoModel m;
        m.insertFiles({src("/v/a.avi")}, {QString()}, {Estimate{}}, {}, false);
        m.insertFiles({src("/v/a.avi"), src("/v/b.avi"), src("/v/b.avi")},
                      {QString(), QString(), QString()}, {Estimate{}, Estimate{}, Estimate{}}, {},
                      false);
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.sourcePath(1), QString("/v/b.avi"));
        // Names differing only in case are different files here.
        m.insertFiles({src("/v/A.avi")}, {QString()}, {Estimate{}}, {}, false);
        QCOMPARE(m.rowCount(), 3);
        QCOMPARE(m.indexOfFile("/v/A.avi"), 2);
        QVERIFY(m.removeRows(2, 1) == QStringList{"/v/A.avi"});
        QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
        m.insertFiles({src("/v/top1.avi"), src("/v/top2.avi")}, {QString(), QString()},
                      {Estimate{}, Estimate{}}, {}, true);
        QCOMPARE(m.sourcePath(0), QString("/v/top1.avi"));
        QCOMPARE(m.sourcePath(1), QString("/v/top2.avi"));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(m.indexOfFile("/v/b.avi"), 3);
        QVERIFY(m.containsFile("/v/top2.avi"));
        QVERIFY(!m.containsFile("/v/TOP2.avi"));
        // Lists of different lengths are refused as a whole.
        m.insertFiles({src("/v/c.avi")}, {}, {Estimate{}}, {}, false);
        QCOMPARE(m.rowCount(), 4);
    }

    void directFileHasNoOutput()
    {
        FileInfoModel m;
        m.insertFiles({src("/v/a.avi")}, {"/t/a.kavo"}, {Estimate{0, 0}}, {"/v/a.avi"}, false);
        QCOMPARE(m.outputPath(0), QString());
        QCOMPARE(m.status(0), int(FileInfoModel::Ready));
        QStringList files;
        QCOMPARE(m.filesToWrite(files), 1);
        QCOMPARE(files, QStringList{"/v/a.avi"});
    }

    void filesToWrite()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString converted = dir.filePath("done.kavo");
        const QString failedWithTemp = dir.filePath("failed.kavo");
        const QString failedNoTemp = dir.filePath("lost.kavo");
        QVERIFY(writeFile(converted));
        QVERIFY(writeFile(failedWithTemp + ".temp"));
        FileInfoModel m;
        m.insertFiles({src("/v/direct.avi"), src("/v/done.avi"), src("/v/failed.avi"),
                       src("/v/lost.avi"), src("/v/waiting.avi")},
                      {QString(), converted, failedWithTemp, failedNoTemp, dir.filePath("w.kavo")},
                      {Estimate{}, Estimate{5, 1}, Estimate{5, 1}, Estimate{5, 1}, Estimate{5, 1}},
                      {}, false);
        QVERIFY(m.setStatus(1, FileInfoModel::Ready));
        QVERIFY(m.setStatus(2, FileInfoModel::ConversionError));
        QVERIFY(m.setStatus(3, FileInfoModel::ConversionError));
        QStringList files;
        const int count = m.filesToWrite(files);
        QCOMPARE(files, (QStringList{"/v/direct.avi", converted, failedWithTemp + ".temp",
                                     failedNoTemp + ".temp", "/v/waiting.avi"}));
        // The failed conversion without a ".temp" file is listed but not counted.
        QCOMPARE(count, 4);
    }

    void sizeText_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("number");
        const quint64 MiB = 1048576, GiB = 1024 * MiB;
        const auto row = [](const char* tag, quint64 bytes, const char* unit, const char* number) {
            QTest::newRow(tag) << bytes << QString(unit) << QString(number);
        };
        row("zero", 0, "MB", "0.0");
        row("1024 MB stays MB", 1024 * MiB, "MB", "1024.0");
        row("1.5 GB", GiB + GiB / 2, "GB", "1.5");
        row("1023.9 GB", quint64(1023.9 * double(GiB)), "GB", "1023.9");
        row("2048 GB", 2048 * GiB, "TB", "2.0");
        row("no unit past TB", 3000000 * GiB, "TB", "2929.7");
    }
    void sizeText()
    {
        QFETCH(quint64, bytes);
        QFETCH(QString, unit);
        QFETCH(QString, number);
        QCOMPARE(FileInfoModel::sizeText(bytes, true), number + " " + unit);
        QString value;
        QCOMPARE(FileInfoModel::sizeText(bytes, false, &value), unit);
        QCOMPARE(value, number);
    }

    void timesAndTotals()
    {
        FileInfoModel m;
        m.insertFiles({src("/v/a.avi"), src("/v/b.avi")}, {"/t/a.kavo", QString()},
                      {Estimate{3600, 1}, Estimate{-1, 1}}, {}, false);
        m.setEstimateByName("/v/a.avi", 1800, true);
        QCOMPARE(cell(m, 0, 2), QString("01:30:00"));
        // The row without an estimate counts as -1 second, as the sum of its values says.
        QCOMPARE(m.totalTimeText(), QString("01:29:59"));
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        m.updateEstimates({src("/v/b.avi")}, {Estimate{90000, 0}}, false);
        QVERIFY(changed.count() >= 1);
        // A day and more of work keeps counting hours instead of wrapping to a short time.
        QCOMPARE(cell(m, 1, 2), QString("25:00:00"));
        QCOMPARE(m.totalTimeText(), QString("26:30:00"));
        m.updateEstimates({src("/v/b.avi"), src("/v/unknown.avi")}, {Estimate{60, 0}, Estimate{}},
                          true);
        QString name;
        int conv = 0, write = 0, status = 0;
        QVERIFY(m.rowValues(1, name, conv, write, status));
        QCOMPARE(name, QString("/v/b.avi"));
        QCOMPARE(conv, 90000);
        QCOMPARE(write, 60);
        QCOMPARE(status, int(FileInfoModel::Ready));
        QVERIFY(!m.rowValues(2, name, conv, write, status));

        // Plain seconds per file name, as the dialog computes write times.
        m.updateEstimates(QStringList{"/v/a.avi", "/v/gone.avi"}, QList<int>{120, 5}, true);
        m.updateEstimates(QStringList{"/v/b.avi"}, QList<int>{-1}, false);
        QVERIFY(m.rowValues(0, name, conv, write, status));
        QCOMPARE(write, 120);
        QCOMPARE(cell(m, 0, 2), QString("01:02:00"));
        QCOMPARE(cell(m, 1, 2), QString("---"));
    }

    void reanalysisChangesPlanOfUnstartedRows()
    {
        FileInfoModel m;
        m.insertFiles({src("/v/a.avi", 100), src("/v/b.avi", 100)}, {QString(), QString()},
                      {Estimate{}, Estimate{}}, {}, false);
        QVERIFY(m.setStatus(1, FileInfoModel::Finished));
        m.updateEstimates({src("/v/a.avi"), src("/v/b.avi")}, {Estimate{30, 0}, Estimate{30, 7}},
                          false, {"/t/a.mkv", "/t/b.mkv"});
        QCOMPARE(m.outputPath(0), QString("/t/a.mkv"));
        QCOMPARE(m.status(0), int(FileInfoModel::Waiting));
        QCOMPARE(m.outputBytes(0), quint64(100));
        QCOMPARE(m.status(1), int(FileInfoModel::Finished));
        QCOMPARE(m.outputBytes(1), quint64(7));
    }

    void statusByNameRemoveAndCancel()
    {
        FileInfoModel m;
        m.insertFiles({src("/v/a.avi"), src("/v/b.avi"), src("/v/c.avi")},
                      {"/t/a.kavo", "/t/b.kavo", "/t/c.kavo"}, {Estimate{}, Estimate{}, Estimate{}},
                      {}, false);
        QCOMPARE(m.setStatusByName("/v/b.avi", FileInfoModel::InProgress), 1);
        QCOMPARE(m.setStatusByName("/v/B.AVI", FileInfoModel::InProgress), -1);
        QCOMPARE(m.setStatusByName("/v/none.avi", FileInfoModel::InProgress), -1);
        QVERIFY(m.setStatus(0, FileInfoModel::Finished));
        QCOMPARE(m.remainingCount(), 2);
        QVERIFY(m.setStatus(2, FileInfoModel::ConversionError));
        QCOMPARE(m.remainingCount(), 1);

        QSignalSpy removed(&m, &QAbstractItemModel::rowsRemoved);
        QCOMPARE(m.removeRows(2, 5), QStringList());
        QCOMPARE(m.removeRows(-1, 1), QStringList());
        QCOMPARE(removed.count(), 0);
        QCOMPARE(m.removeRows(1, 2), (QStringList{"/v/c.avi", "/v/b.avi"}));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(m.rowCount(), 1);

        m.cancelAll();
        QCOMPARE(m.status(0), int(FileInfoModel::Finished)); // it arrived before the cancel
        QCOMPARE(m.remainingCount(), 0);
    }

    // How a transfer that did not finish leaves the list: written files stay written, failed
    // ones keep their reason, the rest say why they were not written.
    void endUnfinished_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("text");
        QTest::newRow("failure") << int(FileInfoModel::NotCopied)
                                 << "The USB drive STICK is no longer available."
                                 << "Not copied";
        QTest::newRow("cancel") << int(FileInfoModel::Canceled) << QString() << "Canceled";
    }
    void endUnfinished()
    {
        QFETCH(int, status);
        QFETCH(QString, reason);
        QFETCH(QString, text);
        FileInfoModel m;
        QList<Source> sources;
        QList<Estimate> estimates;
        for (const char* name : {"/v/a.avi", "/v/b.avi", "/v/c.avi", "/v/d.avi", "/v/e.avi"}) {
            sources << src(name);
            estimates << Estimate{};
        }
        m.insertFiles(sources, {"", "", "", "/t/d.kavo", "/t/e.kavo"}, estimates, {}, false);
        m.setProgressMode(true);
        QVERIFY(m.setStatus(0, FileInfoModel::Finished));
        QVERIFY(m.setStatus(1, FileInfoModel::WriteError));
        m.setReason(1, "No space left on device");
        QVERIFY(m.setStatus(2, FileInfoModel::Writing));
        QVERIFY(m.setStatus(4, FileInfoModel::ConversionError));
        m.endUnfinished(status, reason);
        const QList<int> expected{FileInfoModel::Finished, FileInfoModel::WriteError, status,
                                  status, FileInfoModel::ConversionError};
        for (int row = 0; row < 5; ++row)
            QCOMPARE(m.status(row), expected[row]);
        QCOMPARE(m.data(m.index(1, 2)).toString(), QString("Failed"));
        QCOMPARE(m.data(m.index(1, 2), Qt::ToolTipRole).toString(),
                 QString("No space left on device"));
        QCOMPARE(m.data(m.index(3, 2)).toString(), text);
        QCOMPARE(m.data(m.index(3, 2), Qt::ToolTipRole).toString(), reason);
        QCOMPARE(m.remainingCount(), 0);
    }

    void clearDeletesConvertedFiles()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString source = dir.filePath("movie.avi");
        const QString converted = dir.filePath("movie.kavo");
        const QString partial = dir.filePath("other.kavo.temp");
        const QString selfNamed = dir.filePath("self.kavo");
        QVERIFY(writeFile(source));
        QVERIFY(writeFile(converted));
        QVERIFY(writeFile(partial));
        QVERIFY(writeFile(selfNamed));
        FileInfoModel m;
        m.insertFiles(
            {Source::fromPath(source), src(dir.filePath("other.avi")), Source::fromPath(selfNamed)},
            {converted, dir.filePath("other.kavo"), selfNamed},
            {Estimate{5, 0}, Estimate{5, 0}, Estimate{5, 0}}, {}, false);
        QCOMPARE(m.outputBytes(0), quint64(16));
        m.setProgressMode(true);
        m.setBurning(true);
        QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
        m.clear();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(m.rowCount(), 0);
        QVERIFY(!m.progressMode());
        QVERIFY(!m.burning());
        QVERIFY(!QFile::exists(converted));
        QVERIFY(!QFile::exists(partial));
        // The user's own files stay, including one named as its own output.
        QVERIFY(QFile::exists(source));
        QVERIFY(QFile::exists(selfNamed));
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(tst_FileInfoModel)
#include "tst_FileInfoModel.moc"
