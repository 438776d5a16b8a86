#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTreeView>

#include "Formatting.h"
#include "ScreenWalk.h"
#include "TranslationLoader.h"

namespace {

QString describe(const QWidget* widget, const QString& text, int needed, int room)
{
    return QStringLiteral("%1 \"%2\": needs %3 px, has %4")
        .arg(widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                            : widget->objectName(),
             text.left(70))
        .arg(needed)
        .arg(room);
}

void checkLabel(const QLabel* label, QStringList& misfits)
{
    const QString text = label->text();
    // Elided labels (file and drive names) show what fits by design; their full text is in
    // the tool tip.
    if (text.isEmpty() || label->inherits("kvqs::EllipsisLabel"))
        return;
    if (label->wordWrap()) {
        const int needed = label->heightForWidth(label->width());
        if (needed > label->height())
            misfits << describe(label, text, needed, label->height()) + QStringLiteral(" high");
        return;
    }
    const QSize needed = label->sizeHint();
    if (needed.width() > label->width())
        misfits << describe(label, text, needed.width(), label->width()) + QStringLiteral(" wide");
    if (needed.height() > label->height())
        misfits << describe(label, text, needed.height(), label->height()) +
                       QStringLiteral(" high");
}

void checkButton(const QAbstractButton* button, QStringList& misfits)
{
    QString text = button->text();
    text.replace(QLatin1String("&&"), QLatin1String("\x1f")).remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x1f'), QLatin1Char('&'));
    if (text.isEmpty())
        return;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QRadioButton*>(button))
        contents = QStyle::SE_RadioButtonContents;
    else if (qobject_cast<const QCheckBox*>(button))
        contents = QStyle::SE_CheckBoxContents;
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const QFontMetrics metrics(button->font());
    int needed = metrics.horizontalAdvance(text);
    if (!button->icon().isNull() && contents == QStyle::SE_PushButtonContents)
        needed += button->iconSize().width() + 4;
    if (needed > room.width())
        misfits << describe(button, text, needed, room.width()) + QStringLiteral(" wide");
    if (metrics.height() > room.height())
        misfits << describe(button, text, metrics.height(), room.height()) +
                       QStringLiteral(" high");
}

// The wizard's file lists: the column headers, and the sizes, times and states in the cells
// (the names are elided by design).
void checkView(const QTreeView* view, QStringList& misfits)
{
    const QAbstractItemModel* model = view->model();
    if (!model)
        return;
    const QHeaderView* header = view->header();
    const int margin = view->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column) || !header->isVisible())
            continue;
        const QString text = model->headerData(column, Qt::Horizontal).toString();
        const int needed = header->fontMetrics().horizontalAdvance(text) + 2 * margin;
        if (needed > header->sectionSize(column))
            misfits << describe(header, text, needed, header->sectionSize(column)) +
                           QStringLiteral(" wide");
    }
    const int cellMargin =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 1; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QString text = index.data().toString();
            const QVariant font = index.data(Qt::FontRole);
            const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : view->font());
            const int needed = metrics.horizontalAdvance(text) + cellMargin;
            if (needed > view->columnWidth(column))
                misfits << describe(view, text, needed, view->columnWidth(column)) +
                               QStringLiteral(" wide");
        }
    }
}

QStringList misfits(QWidget* window)
{
    QStringList found;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window))
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget))
            checkLabel(label, found);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            checkButton(button, found);
        else if (auto* view = qobject_cast<QTreeView*>(widget);
                 view && view->inherits("TransferWizardTreeView"))
            checkView(view, found);
    }
    return found;
}

} // namespace

// Every page, dialog and message box in every language: each label, button and radio button
// has room for its whole text (the width of one line, the height of a wrapped text), and the
// file lists for their headers and figures.
class TestTranslatedLayouts : public QObject
{
    Q_OBJECT

private slots:
    void everyScreen_fitsItsTexts_data();
    void everyScreen_fitsItsTexts();
};

void TestTranslatedLayouts::everyScreen_fitsItsTexts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("yes");
    QTest::newRow("en") << "en_US"
                        << "&Yes";
    QTest::newRow("fr") << "fr_FR"
                        << "&Oui";
    QTest::newRow("de") << "de_DE"
                        << "&Ja";
    QTest::newRow("es") << "es_ES"
                        << "&Sí";
    QTest::newRow("ja") << "ja_JP"
                        << "はい(&Y)";
}

void TestTranslatedLayouts::everyScreen_fitsItsTexts()
{
    QFETCH(QString, locale);
    QFETCH(QString, yes);
    TranslationLoader translations;
    const bool loaded = translations.install(locale, QStringLiteral(PORTAVO_QM_DIR));
    QCOMPARE(loaded, !locale.startsWith(QLatin1String("en")));
    setUiLanguage(translations.language());
    // Qt's own catalogue is there too: a question box answers in the language.
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), yes);

    QStringList problems;
    int screens = 0;
    const int missing = ScreenWalk::run([&](QWidget* window, const QString& name) {
        ++screens;
        for (const QString& misfit : misfits(window))
            problems << name + QStringLiteral(": ") + misfit;
    });
    setUiLanguage(QString());
    QCOMPARE(missing, 0);
    QVERIFY(screens > 20);
    for (const QString& problem : problems)
        qWarning().noquote() << problem;
    QVERIFY2(problems.isEmpty(),
             qPrintable(QStringLiteral("%1 texts do not fit (listed above)").arg(problems.size())));
}

QTEST_MAIN(TestTranslatedLayouts)
#include "tst_TranslatedLayouts.moc"
