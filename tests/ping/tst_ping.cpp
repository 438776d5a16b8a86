#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "HttpRecorder.h"
#include "PingManager.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"

// The usage-ping queue against a real HTTP server on the loopback interface.
class TestPing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void noHost_sendsNothing();
    void twoPings_sentInOrder_secondAfterFirstDone();
    void queryAndFragment_notSent();
    void failedRequest_countsAsDone();
    void waitingPing_givesUp_whenHostNeverAnswers();
    void waitingPing_returnsOnceSent();
    void clear_dropsQueue();

private:
    void setHost(const QByteArray& host);
    QTemporaryDir m_root;
};

void TestPing::initTestCase()
{
    QVERIFY(m_root.isValid());
    PrivateEnvironment::use(m_root.path());
}

void TestPing::cleanup()
{
    pingManager()->clear();
}

void TestPing::setHost(const QByteArray& host)
{
    QVERIFY(WriteInstallSetting("TransferWizard", "UsageHost", host.toStdString()));
    QCOMPARE(PingManager::usageHost(), host);
}

void TestPing::noHost_sendsNothing()
{
    QVERIFY(PingManager::usageHost().isEmpty());
    QVERIFY(PingManager::baseUrl().isEmpty());
    QVERIFY(sendUsagePing("Start", true).isEmpty());
    QCOMPARE(pingManager()->pendingCount(), 0);
}

void TestPing::twoPings_sentInOrder_secondAfterFirstDone()
{
    HttpRecorder server;
    server.setMode(HttpRecorder::Mode::Hold);
    setHost(server.host());
    QCOMPARE(PingManager::baseUrl(), "http://" + server.host() + "/hint/d9-WindowTransferWizard");

    sendUsagePing("Start", true);
    sendUsagePing("LastPage-FINISHPAGE", true);
    QCOMPARE(pingManager()->pendingCount(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().size(), 1, 10000);
    // The second request waits for the first one's answer.
    QTest::qWait(300);
    QCOMPARE(server.connections(), 1);
    QCOMPARE(server.requestLines().size(), 1);

    server.setMode(HttpRecorder::Mode::Answer);
    server.releaseHeld();
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().size(), 2, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(pingManager()->pendingCount(), 0, 10000);
    QCOMPARE(server.requestLines().at(0),
             QByteArray("GET /hint/d9-WindowTransferWizardStart HTTP/1.1"));
    QCOMPARE(server.requestLines().at(1),
             QByteArray("GET /hint/d9-WindowTransferWizardLastPage-FINISHPAGE HTTP/1.1"));
}

void TestPing::queryAndFragment_notSent()
{
    HttpRecorder server;
    setHost(server.host());
    pingManager()->ping(QUrl("http://" + server.host() + "/hint/x?user=alice&id=7#frag"), true);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().size(), 1, 10000);
    QCOMPARE(server.requestLines().at(0), QByteArray("GET /hint/x HTTP/1.1"));
}

void TestPing::failedRequest_countsAsDone()
{
    HttpRecorder server;
    setHost(server.host());
    // Nothing listens on the first address: the request fails, the next one still goes out.
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 deadPort = closed.serverPort();
    closed.close();
    pingManager()->ping(QUrl(QString("http://127.0.0.1:%1/hint/dead").arg(deadPort)), true);
    pingManager()->ping(QUrl("http://" + server.host() + "/hint/alive"), true);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().size(), 1, 10000);
    QCOMPARE(server.requestLines().at(0), QByteArray("GET /hint/alive HTTP/1.1"));
    QTRY_COMPARE_WITH_TIMEOUT(pingManager()->pendingCount(), 0, 10000);
}

void TestPing::waitingPing_givesUp_whenHostNeverAnswers()
{
    HttpRecorder server;
    server.setMode(HttpRecorder::Mode::Silent);
    setHost(server.host());
    sendUsagePing("LastPage-WELCOMEPAGE", false);
    // It returned although the request is still in flight.
    QCOMPARE(pingManager()->pendingCount(), 1);
    QCOMPARE(server.requestLines().size(), 1);
}

void TestPing::waitingPing_returnsOnceSent()
{
    HttpRecorder server;
    setHost(server.host());
    const QUrl url = sendUsagePing("LastPage-FILELISTPAGE", false);
    QCOMPARE(url.toString(),
             "http://" + server.host() + "/hint/d9-WindowTransferWizardLastPage-FILELISTPAGE");
    QCOMPARE(pingManager()->pendingCount(), 0);
    QCOMPARE(server.requestLines().size(), 1);
}

void TestPing::clear_dropsQueue()
{
    HttpRecorder server;
    server.setMode(HttpRecorder::Mode::Silent);
    setHost(server.host());
    sendUsagePing("a", true);
    sendUsagePing("b", true);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().size(), 1, 10000);
    pingManager()->clear();
    QCOMPARE(pingManager()->pendingCount(), 0);
    // The queue works again afterwards.
    server.setMode(HttpRecorder::Mode::Answer);
    sendUsagePing("c", true);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().size(), 2, 10000);
    QCOMPARE(server.requestLines().at(1),
             QByteArray("GET /hint/d9-WindowTransferWizardc HTTP/1.1"));
}

QTEST_GUILESS_MAIN(TestPing)
#include "tst_ping.moc"
