#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "Formatting.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"

// Size texts, locale code and help-page addresses.
class TestFormatting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fileSizeText_data();
    void fileSizeText();
    void currentLocale_defaultsToEnUs();
    void errorHelpUrl_onHelpHost();
    void errorHelpUrl_withoutHost_pointsAtShippedPage();

private:
    QTemporaryDir m_root;
};

void TestFormatting::initTestCase()
{
    QVERIFY(m_root.isValid());
    PrivateEnvironment::use(m_root.path());
}

void TestFormatting::fileSizeText_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty file") << quint64(0) << "1 KB";
    QTest::newRow("500 bytes") << quint64(500) << "1 KB";
    QTest::newRow("2047 bytes") << quint64(2047) << "1 KB";
    QTest::newRow("2048 bytes") << quint64(2048) << "2 KB";
    QTest::newRow("below the MB threshold") << quint64(1023999) << "999 KB";
    QTest::newRow("MB threshold") << quint64(1024000) << "0.98 MB";
    QTest::newRow("one MiB") << quint64(1048576) << "1.00 MB";
    QTest::newRow("below the GB threshold") << quint64(1048575999) << "1000.00 MB";
    QTest::newRow("GB threshold") << quint64(1048576000) << "0.98 GB";
    QTest::newRow("4.7 GB disc") << quint64(4700000000ULL) << "4.38 GB";
    QTest::newRow("huge") << quint64(5) * 1024 * 1024 * 1024 * 1024 << "5120.00 GB";
}

void TestFormatting::fileSizeText()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(::fileSizeText(bytes), text);
}

void TestFormatting::currentLocale_defaultsToEnUs()
{
    QCOMPARE(currentLocale(), QString("en-us"));
    QVERIFY(WriteInstallSetting("Setup", "Locale", std::string()));
    QCOMPARE(currentLocale(), QString("en-us"));
    QVERIFY(WriteInstallSetting("Setup", "Locale", std::string("pt-br")));
    QCOMPARE(currentLocale(), QString("pt-br"));
    QVERIFY(WriteInstallSetting("Setup", "Locale", std::string()));
}

void TestFormatting::errorHelpUrl_onHelpHost()
{
    QVERIFY(WriteInstallSetting("Setup", "Locale", std::string("fr")));
    QVERIFY(WriteInstallSetting("TransferWizard", "HelpHost", std::string("help.example.org")));
    QCOMPARE(errorHelpUrl(7), QString("http://help.example.org/kavo/windows/converter/error/fr#7"));
    QVERIFY(WriteInstallSetting("TransferWizard", "HelpHost", std::string()));
    QVERIFY(WriteInstallSetting("Setup", "Locale", std::string()));
}

void TestFormatting::errorHelpUrl_withoutHost_pointsAtShippedPage()
{
    // The pages are copied beside the programs at build time.
    const QUrl url(errorHelpUrl(21));
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.fragment(), QString("21"));
    QVERIFY(url.toLocalFile().endsWith("/kavo/windows/converter/error/en-us.html"));

    // A locale without its own page falls back to the English one.
    QVERIFY(WriteInstallSetting("Setup", "Locale", std::string("xx-yy")));
    const QUrl fallback(errorHelpUrl(5));
    QVERIFY(fallback.toLocalFile().endsWith("/error/en-us.html"));
    QCOMPARE(fallback.fragment(), QString("5"));
    QVERIFY(WriteInstallSetting("Setup", "Locale", std::string()));
}

QTEST_GUILESS_MAIN(TestFormatting)
#include "tst_formatting.moc"
