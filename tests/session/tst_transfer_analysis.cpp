#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "PrivateEnvironment.h"
#include "TestClips.h"
#include "TransferAnalysis.h"
#include "VideoFileTranscoder.h"

namespace {

QString sourceName(const SourceMediaList& sources)
{
    std::u16string name;
    if (sources.empty() || !sources.front() || sources.front()->GetFileName(name) != 0)
        return QString();
    return QString::fromStdU16String(name);
}

int threadCount()
{
    return int(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

} // namespace

// Files analysed by several workers at once: what comes back (results, output names, the
// conversion queue, the progress) follows the list whatever each file's analysis takes, and a
// cancel ends every worker and keeps only what was taken before it.
class TestTransferAnalysis : public QObject
{
    Q_OBJECT

public:
    explicit TestTransferAnalysis(const QString& root) : m_root(root) {}

private slots:
    void initTestCase();
    void results_followTheList_data();
    void results_followTheList();
    void cancel_endsEveryWorkerAndKeepsWhatWasTaken();

private:
    QString clip(const QString& name) const { return m_root + "/clips/" + name; }

    QString m_root;
    VideoFileTranscoder m_transcoder;
};

void TestTransferAnalysis::initTestCase()
{
    QVERIFY(m_transcoder.initEngine());
    const QString dir = m_root + "/clips";
    QDir(dir).mkpath("a");
    QDir(dir).mkpath("b");
    // The first file takes far longer to analyse than the rest (a large transport stream).
    QVERIFY(!TestClips(dir + "/a").converting("clip.ts", 1280, 720, 4).isEmpty());
    QVERIFY(!TestClips(dir + "/b").converting("clip.mp4").isEmpty());
    QVERIFY(!TestClips(dir).fitting("fit.avi").isEmpty());
    QVERIFY(!TestClips(dir).damaged("damaged.avi").isEmpty());
    for (int i = 1; i <= 12; ++i)
        QVERIFY(QFile::copy(clip("b/clip.mp4"), clip(QString("c%1.mp4").arg(i))));
    QVERIFY(QFile::copy(clip("fit.avi"), clip("fit2.avi")));
}

void TestTransferAnalysis::results_followTheList_data()
{
    QTest::addColumn<int>("workers");
    QTest::newRow("one per core") << 0;
    QTest::newRow("eight") << 8;
}

void TestTransferAnalysis::results_followTheList()
{
    QFETCH(int, workers);
    const QStringList files = {clip("a/clip.ts"),   clip("fit.avi"),    clip("damaged.avi"),
                               clip("missing.avi"), clip("b/clip.mp4"), clip("c1.mp4"),
                               clip("fit2.avi"),    clip("c2.mp4")};
    const QString out = m_root + "/out";
    QVERIFY(m_transcoder.initEngine());
    TransferAnalysis analysis(m_transcoder);
    analysis.setWorkers(workers);
    QList<int> progress;
    QList<int> totals;
    connect(
        &analysis, &TransferAnalysis::analyzeItem, this,
        [&](int index, int total) {
            progress << index;
            totals << total;
        },
        Qt::DirectConnection);
    QVERIFY(analysis.start(files, 0, out));
    QVERIFY(analysis.wait(kvpm::Event::kInfinite));
    AnalysisResults results;
    QVERIFY(analysis.results(results));

    QCOMPARE(progress, QList<int>({0, 1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(totals, QList<int>(8, 8));
    QCOMPARE(results.sources.size(), files.size());
    // A file with no video in it has no source to show.
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(sourceName(results.sources[i]), i == 2 ? QString() : files[i]);
    QCOMPARE(results.directFiles, QStringList({clip("fit.avi"), clip("fit2.avi")}));
    QVERIFY(results.resultCodes[2] != 0);
    for (int i : {0, 1, 4, 5, 6, 7})
        QCOMPARE(results.resultCodes[i], 0);
    // Same base name: the earlier file in the list keeps the plain name.
    QCOMPARE(results.outputPaths[0], out + "/clip.kavo");
    QCOMPARE(results.outputPaths[4], out + "/clip (2).kavo");
    // Conversions are queued in the list's order.
    QCOMPARE(m_transcoder.queueLength(), 4);
    int at = 0;
    for (const QString& file : {files[0], files[4], files[5], files[7]})
        QCOMPARE(m_transcoder.findJob(file), at++);
}

void TestTransferAnalysis::cancel_endsEveryWorkerAndKeepsWhatWasTaken()
{
    QStringList files;
    for (int i = 1; i <= 12; ++i)
        files << clip(QString("c%1.mp4").arg(i));
    QVERIFY(m_transcoder.initEngine());
    const int threadsBefore = threadCount();
    QList<int> progress;
    {
        TransferAnalysis analysis(m_transcoder);
        analysis.setWorkers(4);
        connect(
            &analysis, &TransferAnalysis::analyzeItem, this,
            [&](int index, int) {
                progress << index;
                if (index == 3)
                    analysis.cancel();
            },
            Qt::DirectConnection);
        QVERIFY(analysis.start(files, 0, m_root + "/out"));
        QVERIFY(analysis.wait(kvpm::Event::kInfinite));
        QCOMPARE(threadCount(), threadsBefore);
        AnalysisResults results;
        QVERIFY(analysis.results(results));
        QCOMPARE(results.sources.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(sourceName(results.sources[i]), files[i]);
    }
    QCOMPARE(progress, QList<int>({0, 1, 2, 3}));
    QCOMPARE(m_transcoder.queueLength(), 3);
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(m_transcoder.findJob(files[i]), i < 3 ? i : -1);
}

int main(int argc, char** argv)
{
    return PrivateEnvironment::exec<QCoreApplication, TestTransferAnalysis>(argc, argv);
}

#include "tst_transfer_analysis.moc"
