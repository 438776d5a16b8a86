#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "DialogStyleSheet.h"
#include "EllipsisLabel.h"
#include "ErrorDialog.h"
#include "Formatting.h"
#include "HelpChooseDeviceDlg.h"
#include "PrivateEnvironment.h"
#include "ProgressDialog.h"
#include "TranscodeEnumNames.h"
#include "UnSupportedFileTypeDlg.h"
#include "WizardMessages.h"

namespace {

QPushButton* buttonWithText(QDialogButtonBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons()) {
        if (b->text().remove('&') == text)
            return qobject_cast<QPushButton*>(b);
    }
    return nullptr;
}

} // namespace

class tst_SecondaryDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        PrivateEnvironment::useHives(m_home.path());
        initPortavoResources();
    }

    // Every image the wizard names is compiled in and decodes.
    void imagesAreCompiledIn_data()
    {
        QTest::addColumn<QString>("path");
        QFile manifest(QStringLiteral(PORTAVO_IMAGE_MANIFEST));
        QVERIFY(manifest.open(QIODevice::ReadOnly | QIODevice::Text));
        int count = 0;
        while (!manifest.atEnd()) {
            const QString line = QString::fromUtf8(manifest.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QString path = ":/" + line.section(' ', 0, 0);
            QTest::newRow(qPrintable(path)) << path;
            ++count;
        }
        QVERIFY(count > 40);
    }
    void imagesAreCompiledIn()
    {
        QFETCH(QString, path);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QVERIFY(image.width() >= 7 && image.height() >= 7);
        QVERIFY(image.hasAlphaChannel());
        // Beside it, the rendering for screens scaled by 2.
        const QString larger = path.endsWith(".png") ? path.chopped(4) + "@2x.png" : path + "@2x";
        const QImage sharp(larger);
        QVERIFY2(!sharp.isNull(), qPrintable(larger));
        QCOMPARE(sharp.size(), image.size() * 2);
    }

    void autoClose_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("visible");
        QTest::newRow("inside") << 10 << 3 << true;
        QTest::newRow("at the maximum") << 10 << 10 << false;
        QTest::newRow("past the maximum") << 10 << 11 << false;
        QTest::newRow("below the minimum") << 10 << -1 << false;
        QTest::newRow("busy bar reached") << 0 << 0 << false;
    }
    void autoClose()
    {
        QFETCH(int, maximum);
        QFETCH(int, position);
        QFETCH(bool, visible);
        kvqs::ProgressDialog dlg(nullptr, true, true);
        dlg.setMax(maximum);
        dlg.show();
        QVERIFY(dlg.isVisible());
        dlg.setText("Analyzing...");
        dlg.setPos(position);
        QCOMPARE(dlg.isVisible(), visible);
        if (!visible) {
            // Hiding resets the dialog.
            QCOMPARE(dlg.text(), QString());
            QCOMPARE(dlg.maximum(), 0);
        }
    }

    void withoutAutoCloseStaysOpen()
    {
        kvqs::ProgressDialog dlg(nullptr, false, true);
        dlg.setRange(0, 5);
        dlg.show();
        dlg.setPos(5);
        QVERIFY(dlg.isVisible());
        QSignalSpy canceled(&dlg, &kvqs::ProgressDialog::canceled);
        dlg.onCancel();
        QCOMPARE(canceled.count(), 1);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.maximum(), 0);
    }

    void cancelByButtonOrTitleBar_data()
    {
        QTest::addColumn<bool>("byTitleBar");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("title-bar close") << true;
    }
    void cancelByButtonOrTitleBar()
    {
        QFETCH(bool, byTitleBar);
        kvqs::ProgressDialog dlg(nullptr, true, true);
        dlg.setRange(0, 4);
        dlg.setText("Analyzing 1 of 4");
        dlg.show();
        dlg.setPos(1);
        QSignalSpy canceled(&dlg, &kvqs::ProgressDialog::canceled);
        if (byTitleBar) {
            QCloseEvent close;
            QApplication::sendEvent(&dlg, &close);
            QVERIFY(!close.isAccepted());
        } else {
            dlg.buttonBox()->button(QDialogButtonBox::Cancel)->click();
        }
        QCOMPARE(canceled.count(), 1);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.text(), QString());
        QCOMPARE(dlg.maximum(), 0);
        QCOMPARE(dlg.value(), 0);
    }

    void notCancellableClosesQuietly()
    {
        kvqs::ProgressDialog dlg(nullptr, true, false);
        dlg.show();
        QSignalSpy canceled(&dlg, &kvqs::ProgressDialog::canceled);
        QVERIFY(dlg.close());
        QCOMPARE(canceled.count(), 0);
        QVERIFY(!dlg.isVisible());
    }

    void errorDialogRows()
    {
        ErrorDialog dlg;
        // Without rows there is nothing to show.
        QVERIFY(!dlg.hasRows());
        QCOMPARE(dlg.run("Invalid Files", "text", false), 0);
        QVERIFY(!dlg.isVisible());
        dlg.addRow("/home/alice/ok.avi", 0);
        dlg.addRow("/home/alice/<b>bad</b>.avi", 21);
        QVERIFY(dlg.hasRows());
        QCOMPARE(dlg.rowCount(), 2);
        QCOMPARE(dlg.linkCount(), 1);
        QTreeWidget* tree = dlg.treeWidget();
        QVERIFY(!tree->itemWidget(tree->topLevelItem(0), 1));
        auto* link = qobject_cast<QLabel*>(tree->itemWidget(tree->topLevelItem(1), 1));
        QVERIFY(link);
        QVERIFY(link->openExternalLinks());
        QVERIFY(
            link->text().contains(QString("href=\"%1\"").arg(errorHelpUrl(21).toHtmlEscaped())));
        QVERIFY(link->text().contains(">21<"));
        auto* name = qobject_cast<kvqs::EllipsisLabel*>(tree->itemWidget(tree->topLevelItem(1), 2));
        QVERIFY(name);
        // The path is shown as written, never interpreted as markup.
        QCOMPARE(name->text(), nativePath("/home/alice/<b>bad</b>.avi"));
        QCOMPARE(name->textFormat(), Qt::PlainText);
        QCOMPARE(name->toolTip(), name->text());
        QVERIFY(!tree->topLevelItem(0)->icon(0).isNull());
    }

    // The code keeps its link; the reason beside it says what it means in plain words.
    void errorDialogReasons_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty or text file") << 21 << "21 not a video file";
        QTest::newRow("cut short") << 22 << "22 damaged or cut short";
        QTest::newRow("sound only") << 23 << "23 no video track";
        QTest::newRow("moved away") << 5 << "5 file not found";
        QTest::newRow("unknown code") << 9999 << "9999 converter stopped on it";
    }
    void errorDialogReasons()
    {
        QFETCH(int, code);
        QFETCH(QString, shown);
        ErrorDialog dlg;
        dlg.addRow("/v/clip.avi", code);
        auto* link = qobject_cast<QLabel*>(
            dlg.treeWidget()->itemWidget(dlg.treeWidget()->topLevelItem(0), 1));
        QVERIFY(link);
        QCOMPARE(QTextDocumentFragment::fromHtml(link->text()).toPlainText(), shown);
        QVERIFY(link->text().contains(QString(">%1</span></a>").arg(code)));
    }
    void errorReasons_coverEveryCode_andFitTheColumn()
    {
        const QString fallback = ErrorDialog::reasonText(9999);
        for (int code = -1000; code <= 200; ++code) {
            if (QLatin1String(kvt::resultCodeName(code)) == "Invalid value")
                continue;
            const QString reason = ErrorDialog::reasonText(code);
            // Success needs no reason; every failure the engine names has its own.
            QCOMPARE(reason.isEmpty(), kvt::isTranscodeSuccess(code));
            if (reason.isEmpty())
                continue;
            QVERIFY2(reason != fallback, kvt::resultCodeName(code));
            // Short enough to sit beside the code without pushing the file name away.
            QVERIFY2(reason.size() <= 34, qPrintable(reason));
        }
    }

    void errorDialogRun_data()
    {
        QTest::addColumn<bool>("twoButtons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("result");
        QTest::newRow("one button") << false << "OK" << int(QDialog::Rejected);
        QTest::newRow("two buttons, OK") << true << "OK" << int(QDialog::Rejected);
        QTest::newRow("two buttons, Open") << true << "Open" << int(QDialog::Accepted);
    }
    void errorDialogRun()
    {
        QFETCH(bool, twoButtons);
        QFETCH(QString, press);
        QFETCH(int, result);
        ErrorDialog dlg;
        dlg.addRow("/v/good.avi", 0);
        dlg.addRow("/v/bad.avi", 5);
        dlg.addRow("/v/good2.avi", 0);
        QString shownText;
        int buttonCount = 0;
        bool pressed = false;
        QTimer::singleShot(0, &dlg, [&] {
            shownText = dlg.label()->text();
            buttonCount = dlg.buttonBox()->buttons().size();
            if (QPushButton* b = buttonWithText(dlg.buttonBox(), press)) {
                pressed = true;
                b->click();
            } else {
                dlg.done(99);
            }
        });
        const int r = dlg.run("Invalid Files", "%1 files can be transferred.", twoButtons);
        QVERIFY(pressed);
        QCOMPARE(r, result);
        QCOMPARE(shownText, QString("2 files can be transferred."));
        QCOMPARE(buttonCount, twoButtons ? 2 : 1);
        // Hiding keeps the rows.
        QCOMPARE(dlg.rowCount(), 3);
        QVERIFY(dlg.hasRows());
    }

    // A message box looks like the wizard's dialogs, without button icons even on a desktop
    // whose style puts icons on dialog buttons.
    void messageBoxes_takeTheDialogLook()
    {
        class IconButtonStyle : public QProxyStyle
        {
        public:
            int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const override
            {
                if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
                    return 1;
                return QProxyStyle::styleHint(hint, option, widget, returnData);
            }
        };
        const QString styleName = QApplication::style()->name();
        QApplication::setStyle(new IconButtonStyle);
        QString sheet;
        QStringList buttons;
        int iconButtons = 0;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll.stop();
            sheet = box->styleSheet();
            for (QAbstractButton* b : box->buttons()) {
                buttons << b->text().remove('&');
                iconButtons += b->icon().isNull() ? 0 : 1;
            }
            box->button(QMessageBox::No)->click();
        });
        poll.start(10);
        QVERIFY(!WizardMessages::confirmCancelTransfer());
        QApplication::setStyle(styleName);
        QCOMPARE(sheet, dialogStyleSheet());
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(iconButtons, 0);
    }

    void helpAndUnsupportedDialogs()
    {
        HelpChooseDeviceDlg help;
        QVERIFY(help.learnMoreLabel()->text().contains("/kavo/profiles/en"));
        QVERIFY(help.learnMoreLabel()->openExternalLinks());

        UnSupportedFileTypeDlg unsupported;
        unsupported.setFileNames({"a.txt", "b.doc"});
        QCOMPARE(unsupported.fileNameList()->count(), 2);
        unsupported.setFileNames({"c.pdf"});
        QCOMPARE(unsupported.fileNameList()->count(), 1);
        // The list allows no choice, so no row may look chosen once the dialog shows.
        unsupported.show();
        QVERIFY(QTest::qWaitForWindowActive(&unsupported));
        QCOMPARE(unsupported.fileNameList()->currentRow(), -1);
        QVERIFY(!unsupported.fileNameList()->hasFocus());
        QVERIFY(unsupported.fileNameList()->selectedItems().isEmpty());
        auto* link = unsupported.findChild<QLabel*>("learnMoreLabel");
        QVERIFY(link);
        QVERIFY(link->text().contains("/kavo/windows/portavo/support/filetype/en"));
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(tst_SecondaryDialogs)
#include "tst_SecondaryDialogs.moc"
