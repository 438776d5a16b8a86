#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "DummySourceMedia.h"
#include "FileInfoModel.h"

class tst_FileInfoModelSources : public QObject
{
    Q_OBJECT

private slots:
    void sourceFromAnalysisResults()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString part1 = dir.filePath("VTS_01_1.VOB");
        const QString part2 = dir.filePath("VTS_01_2.VOB");
        for (const auto& [path, size] : {std::pair{part1, 1000}, std::pair{part2, 234}}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(QByteArray(size, 'v')), qint64(size));
        }
        SourceMediaList sources;
        sources.emplace_back(new DummySourceMedia(part1));
        sources.emplace_back(new DummySourceMedia(part2));
        const auto source = FileInfoModel::SourceFile::fromSources(sources, "/fallback.avi");
        QCOMPARE(source.path, part1);
        QCOMPARE(source.partBytes, quint64(1234));

        // A file that vanished: named as given, no size.
        SourceMediaList missing;
        missing.emplace_back(new DummySourceMedia(dir.filePath("gone.avi")));
        const auto gone = FileInfoModel::SourceFile::fromSources(missing);
        QCOMPARE(gone.path, dir.filePath("gone.avi"));
        QCOMPARE(gone.partBytes, quint64(0));

        const auto none = FileInfoModel::SourceFile::fromSources({}, "/fallback.avi");
        QCOMPARE(none.path, QString("/fallback.avi"));

        // Unknown analysed size: the row shows the parts' size.
        FileInfoModel model;
        model.insertFiles({source}, {dir.filePath("VTS_01_1.kavo")}, {FileInfoModel::Estimate{}},
                          {}, false);
        QCOMPARE(model.outputBytes(0), quint64(1234));
    }
};

QTEST_GUILESS_MAIN(tst_FileInfoModelSources)
#include "tst_FileInfoModelSources.moc"
