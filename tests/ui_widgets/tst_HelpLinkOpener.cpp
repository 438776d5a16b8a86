#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "HelpLinkOpener.h"
#include "HelpViewer.h"

// A help link is opened by the desktop's opener when it takes it; otherwise the page shows in
// the program's own viewer, or its address in a message box: never nothing.
class TestHelpLinkOpener : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void openUrl_showsThePageWhenNoProgramTakesIt_data();
    void openUrl_showsThePageWhenNoProgramTakesIt();

private:
    QString script(const QString& name, int exitCode);
    template <typename T> static QList<T*> shown();

    QTemporaryDir m_dir;
    QString m_page;
};

void TestHelpLinkOpener::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir(m_dir.path()).mkpath("help pages");
    m_page = m_dir.filePath("help pages/error.html");
    QFile page(m_page);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>Error 5</title></head><body><h1 id=\"5\">The file is gone"
               "</h1></body></html>");
}

void TestHelpLinkOpener::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<HelpViewer*>(w) || qobject_cast<QMessageBox*>(w))
            delete w;
    }
}

// An opener that leaves a mark and exits with the code given.
QString TestHelpLinkOpener::script(const QString& name, int exitCode)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QStringLiteral("#!/bin/sh\necho \"$1\" > \"%1.ran\"\nexit %2\n")
                   .arg(path)
                   .arg(exitCode)
                   .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

template <typename T> QList<T*> TestHelpLinkOpener::shown()
{
    QList<T*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            found << t;
    }
    return found;
}

void TestHelpLinkOpener::openUrl_showsThePageWhenNoProgramTakesIt_data()
{
    QTest::addColumn<QString>("opener"); // missing, or the exit code of a script
    QTest::addColumn<bool>("web");
    QTest::addColumn<QString>("expected"); // viewer, box or none

    QTest::newRow("no opener, shipped page: viewer") << "missing" << false << "viewer";
    QTest::newRow("opener finds no program, shipped page: viewer") << "3" << false << "viewer";
    QTest::newRow("opener finds no program, web page: address") << "4" << true << "box";
    QTest::newRow("no opener, web page: address") << "missing" << true << "box";
    QTest::newRow("opener takes the page: nothing more") << "0" << false << "none";
}

void TestHelpLinkOpener::openUrl_showsThePageWhenNoProgramTakesIt()
{
    QFETCH(QString, opener);
    QFETCH(bool, web);
    QFETCH(QString, expected);

    const QString program = opener == "missing" ? m_dir.filePath("no-such-opener")
                                                : script("opener" + opener, opener.toInt());
    QFile::remove(program + ".ran");
    QUrl url =
        web ? QUrl("http://help.example.org/kavo/error/en-us#5") : QUrl::fromLocalFile(m_page);
    if (!web)
        url.setFragment("5");

    HelpLinkOpener links;
    links.setOpener(program);
    links.install();
    // What a label with external links does.
    QVERIFY(QDesktopServices::openUrl(url));

    if (expected == "viewer") {
        QTRY_COMPARE_WITH_TIMEOUT(shown<HelpViewer>().size(), 1, 20000);
        HelpViewer* viewer = shown<HelpViewer>().first();
        QCOMPARE(viewer->windowTitle(), QString("Error 5"));
        QVERIFY(viewer->browser()->toPlainText().contains("The file is gone"));
    } else if (expected == "box") {
        QTRY_COMPARE_WITH_TIMEOUT(shown<QMessageBox>().size(), 1, 20000);
        QVERIFY(shown<QMessageBox>().first()->text().contains(url.toString()));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(program + ".ran"), 20000);
        // The opener has exited: give its end a moment to arrive.
        QTest::qWait(200);
        QVERIFY(shown<HelpViewer>().isEmpty());
        QVERIFY(shown<QMessageBox>().isEmpty());
    }
    if (opener != "missing") {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(program + ".ran"), 20000);
        QFile ran(program + ".ran");
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QCOMPARE(QUrl(QString::fromUtf8(ran.readAll().trimmed())), url);
    }
}

QTEST_MAIN(TestHelpLinkOpener)
#include "tst_HelpLinkOpener.moc"
