#include "DummySourceMedia.h"
#include "ProgressCallback.h"
#include "RefCountedPtr.h"
#include "TranscodeEnums.h"

#include <QtTest>

#include <thread>

class TestEngineProgress : public QObject
{
    Q_OBJECT

private slots:
    void progress_positionIsPercentTimesThousand_data();
    void progress_positionIsPercentTimesThousand();
    void signals_carryNameAndCode();
    void callsFromAnotherThread_arriveQueued();
    void release_belowOneDeletesTheCallback();

    void dummy_existingFile_sizeFollowsTheFile();
};

void TestEngineProgress::progress_positionIsPercentTimesThousand_data()
{
    QTest::addColumn<double>("percent");
    QTest::addColumn<quint32>("position");
    QTest::newRow("0") << 0.0 << 0u;
    QTest::newRow("12.3456 truncates") << 12.3456 << 12345u;
    QTest::newRow("37.5") << 37.5 << 37500u;
    QTest::newRow("99.9999 stays below the end") << 99.9999 << 99999u;
    QTest::newRow("100") << 100.0 << 100000u;
    QTest::newRow("negative held at 0") << -5.0 << 0u;
    QTest::newRow("above 100 held at the end") << 250.0 << 100000u;
    QTest::newRow("NaN held at 0") << std::nan("") << 0u;
}

void TestEngineProgress::progress_positionIsPercentTimesThousand()
{
    QFETCH(double, percent);
    QFETCH(quint32, position);
    ProgressCallback cb;
    QSignalSpy spy(&cb, &ProgressCallback::progress);
    QCOMPARE(cb.OnProgress(nullptr, 0, 7, 8, percent), 0);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<quint32>(), position);
    QCOMPARE(spy.at(0).at(1).value<quint32>(), 100000u);
    QCOMPARE(spy.at(0).at(2).toString(), QString());
}

void TestEngineProgress::signals_carryNameAndCode()
{
    ProgressCallback cb;
    kvtl::RefCountedPtr<DummySourceMedia> source(new DummySourceMedia("/videos/Été à Paris.avi"));
    QSignalSpy progress(&cb, &ProgressCallback::progress);
    QSignalSpy cancel(&cb, &ProgressCallback::cancel);
    QSignalSpy done(&cb, &ProgressCallback::done);
    QSignalSpy fatal(&cb, &ProgressCallback::fatalError);
    cb.OnProgress(source.get(), 0, 0, 0, 50.0);
    QCOMPARE(progress.at(0).at(2).toString(), QString("/videos/Été à Paris.avi"));
    QCOMPARE(cb.OnCancel(), 0);
    QCOMPARE(cancel.count(), 1);
    QCOMPARE(cancel.at(0).at(0).toString(), QString()); // a cancel names no file
    QCOMPARE(cb.OnDone(source.get(), 42), 0);
    QCOMPARE(cb.OnFatalError(source.get(), kvt::ENG_DECODER), 0);
    QCOMPARE(cb.OnFatalError(nullptr, kvt::ENG_WRITING_ERROR), 0);
    QCOMPARE(done.count(), 1);
    QCOMPARE(done.at(0).at(0).toString(), QString("/videos/Été à Paris.avi"));
    QCOMPARE(fatal.count(), 2);
    QCOMPARE(fatal.at(0).at(0).toInt(), int(kvt::ENG_DECODER));
    QCOMPARE(fatal.at(0).at(1).toString(), QString("/videos/Été à Paris.avi"));
    QCOMPARE(fatal.at(1).at(0).toInt(), int(kvt::ENG_WRITING_ERROR));
    QCOMPARE(fatal.at(1).at(1).toString(), QString());
}

// A receiver living on the test thread, like the converter.
class Receiver : public QObject
{
    Q_OBJECT
public:
    QList<quint32> positions;
    QList<Qt::HANDLE> threads;
public slots:
    void onProgress(quint32 position, quint32, QString)
    {
        positions << position;
        threads << QThread::currentThreadId();
    }
};

void TestEngineProgress::callsFromAnotherThread_arriveQueued()
{
    ProgressCallback cb;
    Receiver receiver;
    connect(&cb, &ProgressCallback::progress, &receiver, &Receiver::onProgress);
    std::thread engine([&cb] {
        for (int i = 1; i <= 10; ++i)
            cb.OnProgress(nullptr, 0, 0, 0, i * 10.0);
    });
    engine.join();
    QVERIFY(receiver.positions.isEmpty()); // nothing runs on the engine thread
    QTRY_COMPARE_WITH_TIMEOUT(receiver.positions.size(), 10, 5000);
    QCOMPARE(receiver.positions.last(), 100000u);
    for (Qt::HANDLE t : receiver.threads)
        QCOMPARE(t, QThread::currentThreadId());
}

void TestEngineProgress::release_belowOneDeletesTheCallback()
{
    auto* cb = new ProgressCallback;
    QPointer<ProgressCallback> guard(cb);
    QCOMPARE(cb->GetRefCount(), 0);
    QCOMPARE(cb->AddRef(), 1);
    QCOMPARE(cb->AddRef(), 2);
    QCOMPARE(cb->Release(), 1);
    QVERIFY(!guard.isNull());
    QCOMPARE(cb->Release(), 0);
    QVERIFY(guard.isNull());
}

void TestEngineProgress::dummy_existingFile_sizeFollowsTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.avi");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1000, 'x'));
    f.flush();
    kvtl::RefCountedPtr<DummySourceMedia> dummy(new DummySourceMedia(path));
    uint64_t size = 0;
    dummy->GetFileSize(size);
    QCOMPARE(size, uint64_t(1000));
    f.write(QByteArray(500, 'y'));
    f.close();
    dummy->GetFileSize(size);
    QCOMPARE(size, uint64_t(1500));
    // A file that is not there has size 0, not an error.
    QVERIFY(f.remove());
    QCOMPARE(dummy->GetFileSize(size), 0);
    QCOMPARE(size, uint64_t(0));
}

QTEST_GUILESS_MAIN(TestEngineProgress)
#include "test_engine_progress.moc"
