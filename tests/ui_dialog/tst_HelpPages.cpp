#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QUrl>

#include "ErrorDialog.h"
#include "FakeWizardService.h"
#include "Formatting.h"
#include "HelpChooseDeviceDlg.h"
#include "PrivateEnvironment.h"
#include "TranscodeEnumNames.h"
#include "TransferWizardDlg.h"
#include "UnSupportedFileTypeDlg.h"

namespace {

QStringList hrefs(const QString& html)
{
    QStringList found;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    for (auto it = href.globalMatch(html); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

// Every link the labels of a window carry, as the program built them.
QStringList labelLinks(const QWidget& window)
{
    QStringList links;
    for (const QLabel* label : window.findChildren<QLabel*>())
        for (const QString& link : hrefs(label->text()))
            links << QTextDocumentFragment::fromHtml(link).toPlainText();
    return links;
}

QString readPage(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// Without a help host every help link opens a page shipped beside the program. Walks every link
// the windows build (the wizard's, the secondary dialogs', one error row per result code) and
// every link between the pages, and finds each page and each section it points at.
class TestHelpPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyLink_opensAShippedPage();
    void errorSections_nameTheShownReason();

private:
    // The links of all windows, collected once.
    QStringList programLinks();
    // Checks one link: a shipped page and, with a fragment, an element of that id in it.
    void checkLink(const QString& link, const QString& from);

    QTemporaryDir m_home;
    FakeWizardService m_service;
    QSet<QString> m_checked;
};

void TestHelpPages::initTestCase()
{
    QVERIFY(m_home.isValid());
    PrivateEnvironment::useHives(m_home.path());
    // The pages as the build ships them beside the program, not a copy made for the test.
    qunsetenv("KAVO_HELP_DIR");
    QVERIFY2(QFileInfo(localHelpDir()).isDir(), qPrintable(localHelpDir()));
}

QStringList TestHelpPages::programLinks()
{
    QStringList links;
    TransferWizardDlg wizard(&m_service);
    links << labelLinks(wizard);
    links << labelLinks(HelpChooseDeviceDlg());
    links << labelLinks(UnSupportedFileTypeDlg());
    ErrorDialog errors;
    // Every failure the engine names, and a code it does not.
    for (int code = -1000; code <= 200; ++code) {
        if (!kvt::isTranscodeSuccess(code) &&
            QLatin1String(kvt::resultCodeName(code)) != "Invalid value")
            errors.addRow(QStringLiteral("/v/%1.avi").arg(code), code);
    }
    errors.addRow(QStringLiteral("/v/unknown.avi"), 7);
    links << labelLinks(errors);
    return links;
}

void TestHelpPages::checkLink(const QString& link, const QString& from)
{
    const QUrl url(link);
    QVERIFY2(url.isLocalFile(), qPrintable(from + " links to " + link));
    const QString path = url.toLocalFile();
    QVERIFY2(QDir::cleanPath(path).startsWith(QDir::cleanPath(localHelpDir()) + '/'),
             qPrintable(from + " links outside the help pages: " + link));
    const QString page = readPage(path);
    QVERIFY2(!page.isEmpty(), qPrintable(from + " links to a missing file: " + link));
    if (!path.endsWith(".html")) {
        m_checked.insert(path); // the pages' style sheet
        return;
    }
    // The pages share one look: the help style sheet and a title.
    QVERIFY2(page.contains("rel=\"stylesheet\"") && page.contains("<h1>"), qPrintable(path));
    // A code with no section of its own opens the page at its top.
    const QString fragment = url.fragment();
    if (!fragment.isEmpty() && fragment != "7")
        QVERIFY2(page.contains(QStringLiteral("id=\"%1\"").arg(fragment)),
                 qPrintable(from + " links to a missing section: " + link));
    if (m_checked.contains(path))
        return;
    m_checked.insert(path);
    // Follow the page's own links to the other pages.
    for (const QString& href : hrefs(page)) {
        if (href.startsWith('#'))
            continue;
        checkLink(QUrl::fromLocalFile(path).resolved(QUrl(href)).toString(), path);
        if (QTest::currentTestFailed())
            return;
    }
}

void TestHelpPages::everyLink_opensAShippedPage()
{
    const QStringList links = programLinks();
    QStringList pages;
    for (const QString& link : links) {
        // The profile page's "Help me choose" opens a dialog of the wizard, not a page.
        if (link == "PLACEHOLDER")
            continue;
        checkLink(link, QStringLiteral("the program"));
        if (QTest::currentTestFailed())
            return;
        const QString page = QUrl(link).toLocalFile();
        if (!pages.contains(page))
            pages << page;
    }
    // The method page, the wizard's help, the device types, the file types and the errors.
    QCOMPARE(pages.size(), 5);
    // Every shipped file is reached.
    QStringList shipped;
    for (QDirIterator it(localHelpDir(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        shipped << it.next();
    QCOMPARE(QSet<QString>(shipped.begin(), shipped.end()), m_checked);
}

void TestHelpPages::errorSections_nameTheShownReason()
{
    // The section a code links to is headed by the reason the error window shows beside it.
    const QString page = readPage(QUrl(errorHelpUrl(21)).toLocalFile());
    QVERIFY(!page.isEmpty());
    for (int code = -1000; code <= 200; ++code) {
        if (kvt::isTranscodeSuccess(code) ||
            QLatin1String(kvt::resultCodeName(code)) == "Invalid value")
            continue;
        const int at = int(page.indexOf(QStringLiteral("id=\"%1\"").arg(code)));
        QVERIFY2(at > 0, qPrintable(QString::number(code)));
        const int heading = int(page.lastIndexOf("<h2>", at));
        const QString title =
            page.mid(heading + 4, page.indexOf("</h2>", heading) - heading - 4).toLower();
        QVERIFY2(title == ErrorDialog::reasonText(code),
                 qPrintable(QStringLiteral("%1: '%2' under '%3'")
                                .arg(code)
                                .arg(ErrorDialog::reasonText(code), title)));
    }
}

QTEST_MAIN(TestHelpPages)
#include "tst_HelpPages.moc"
