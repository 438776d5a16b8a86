#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTextDocumentFragment>
#include <QtTest>

#include "EllipsisLabel.h"
#include "LabelElider.h"
#include "TransferWizardTreeView.h"
#include "WindowTitleBar.h"

namespace {

// Sends a mouse event and tells whether the widget accepted it.
bool sendMouse(QWidget* w, QEvent::Type type, const QPoint& pos,
               Qt::MouseButton button = Qt::LeftButton)
{
    Qt::MouseButtons buttons = button;
    if (type == QEvent::MouseButtonRelease)
        buttons = Qt::NoButton;
    if (type == QEvent::MouseMove)
        button = Qt::NoButton;
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    event.setAccepted(false);
    QApplication::sendEvent(w, &event);
    return event.isAccepted();
}

// A plain white background, so that any grid line stands out against it.
void paintWhite(QWidget& view)
{
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, Qt::white);
    view.setPalette(palette);
}

// A title bar of the wizard's width with the shipped button images.
struct TestBar : WindowTitleBar
{
    explicit TestBar(ButtonPosition position = RightButtons)
    {
        resize(570, 20);
        setButtonPosition(position);
        setImagePath(":/TitleBar");
    }
};

QColor gridColor(QWidget* view)
{
    QStyleOptionViewItem option;
    option.initFrom(view);
    return QColor::fromRgba(
        static_cast<QRgb>(view->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, view)));
}

} // namespace

class tst_WindowChrome : public QObject
{
    Q_OBJECT

private slots:
    void layoutFollowsButtonPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("left") << int(WindowTitleBar::LeftButtons);
        QTest::newRow("right") << int(WindowTitleBar::RightButtons);
    }
    void layoutFollowsButtonPosition()
    {
        QFETCH(int, position);
        TestBar bar{WindowTitleBar::ButtonPosition(position)};
        const QRect close = bar.buttonRect(WindowTitleBar::CloseButton);
        const QRect collapse = bar.buttonRect(WindowTitleBar::CollapseButton);
        QVERIFY(!close.isEmpty());
        QVERIFY(!collapse.isEmpty());
        QVERIFY(!bar.logoRect().isEmpty());
        QVERIFY(bar.rect().contains(close));
        QVERIFY(bar.rect().contains(collapse));
        QVERIFY(!close.intersects(collapse));
        QVERIFY(!bar.logoRect().intersects(close));
        if (position == WindowTitleBar::LeftButtons)
            QVERIFY(close.right() < bar.logoRect().left());
        else
            QVERIFY(close.left() > bar.logoRect().right());
    }

    void pressOnLogoStartsDrag()
    {
        TestBar bar;
        const QPoint onLogo = bar.logoRect().center();
        QVERIFY(!sendMouse(&bar, QEvent::MouseButtonPress, onLogo));
        QVERIFY(bar.isDragging());
        QCOMPARE(bar.pressedButton(), int(WindowTitleBar::NoButton));
        // A release that clicked nothing goes on to the window as well, and ends the drag.
        QVERIFY(!sendMouse(&bar, QEvent::MouseButtonRelease, onLogo + QPoint(30, 0)));
        QVERIFY(!bar.isDragging());
        // Other mouse buttons never drag.
        sendMouse(&bar, QEvent::MouseButtonPress, onLogo, Qt::RightButton);
        QVERIFY(!bar.isDragging());
    }

    void buttonClicks_data()
    {
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<int>("button");
        QTest::addColumn<QByteArray>("signal");
        QTest::newRow("close") << false << int(WindowTitleBar::CloseButton)
                               << QByteArray(SIGNAL(closeClicked()));
        QTest::newRow("close while dirty")
            << true << int(WindowTitleBar::CloseButton) << QByteArray(SIGNAL(closeDirtyClicked()));
        QTest::newRow("minimise") << false << int(WindowTitleBar::CollapseButton)
                                  << QByteArray(SIGNAL(collapseClicked()));
    }
    void buttonClicks()
    {
        QFETCH(bool, dirty);
        QFETCH(int, button);
        QFETCH(QByteArray, signal);
        TestBar bar;
        bar.setDirty(dirty);
        QSignalSpy expected(&bar, signal.constData());
        QSignalSpy close(&bar, &WindowTitleBar::closeClicked);
        QSignalSpy closeDirty(&bar, &WindowTitleBar::closeDirtyClicked);
        QSignalSpy collapse(&bar, &WindowTitleBar::collapseClicked);
        const QPoint on = bar.buttonRect(button).center();
        QVERIFY(sendMouse(&bar, QEvent::MouseButtonPress, on));
        QVERIFY(!bar.isDragging());
        QVERIFY(bar.pressedButton() != WindowTitleBar::NoButton);
        QVERIFY(sendMouse(&bar, QEvent::MouseButtonRelease, on));
        QCOMPARE(expected.count(), 1);
        QCOMPARE(close.count() + closeDirty.count() + collapse.count(), 1);
        QCOMPARE(bar.pressedButton(), int(WindowTitleBar::NoButton));
        QCOMPARE(bar.hoveredButton(), int(WindowTitleBar::NoButton));
    }

    void pressMoveOffReleaseEmitsNothing()
    {
        TestBar bar;
        QSignalSpy close(&bar, &WindowTitleBar::closeClicked);
        const QRect button = bar.buttonRect(WindowTitleBar::CloseButton);
        QVERIFY(sendMouse(&bar, QEvent::MouseButtonPress, button.center()));
        QCOMPARE(bar.hoveredButton(), int(WindowTitleBar::CloseButton));
        const QPoint off(bar.logoRect().right() + 50, 10);
        QVERIFY(sendMouse(&bar, QEvent::MouseMove, off));
        QCOMPARE(bar.hoveredButton(), int(WindowTitleBar::NoButton));
        // Not on the logo either while a button is held.
        QVERIFY(!bar.isLogoHovered());
        QVERIFY(sendMouse(&bar, QEvent::MouseButtonRelease, off));
        QCOMPARE(close.count(), 0);
    }

    void disabledButtonDoesNothing()
    {
        TestBar bar;
        bar.setButtonEnabled(WindowTitleBar::CollapseButton, false);
        QSignalSpy collapse(&bar, &WindowTitleBar::collapseClicked);
        const QPoint on = bar.buttonRect(WindowTitleBar::CollapseButton).center();
        QVERIFY(!sendMouse(&bar, QEvent::MouseButtonPress, on));
        QCOMPARE(bar.pressedButton(), int(WindowTitleBar::NoButton));
        // The buttons' area never starts a drag, enabled or not.
        QVERIFY(!bar.isDragging());
        sendMouse(&bar, QEvent::MouseButtonRelease, on);
        QCOMPARE(collapse.count(), 0);
    }

    void hoverTracking()
    {
        TestBar bar;
        QVERIFY(sendMouse(&bar, QEvent::MouseMove, bar.logoRect().center()));
        QVERIFY(bar.isLogoHovered());
        // Nothing changed: the window gets the move.
        QVERIFY(!sendMouse(&bar, QEvent::MouseMove, bar.logoRect().center()));
        QVERIFY(sendMouse(&bar, QEvent::MouseMove,
                          bar.buttonRect(WindowTitleBar::CollapseButton).center()));
        QCOMPARE(bar.hoveredButton(), int(WindowTitleBar::CollapseButton));
        QVERIFY(!bar.isLogoHovered());
        // Painting every state works with the loaded images.
        const QImage image = bar.grab().toImage();
        QCOMPARE(image.size(), QSize(570, 20));
    }

    void gridLines_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("emptyRowVertical");
        QTest::addColumn<bool>("lineInRows");
        QTest::addColumn<bool>("lineBelowRows");
        QTest::newRow("empty, grid over empty rows") << 0 << true << true << true;
        QTest::newRow("empty, no empty-row grid") << 0 << false << false << false;
        QTest::newRow("rows, grid over empty rows") << 2 << true << true << true;
        QTest::newRow("rows, grid only on rows") << 2 << false << true << false;
    }
    void gridLines()
    {
        QFETCH(int, rows);
        QFETCH(bool, emptyRowVertical);
        QFETCH(bool, lineInRows);
        QFETCH(bool, lineBelowRows);
        QStandardItemModel model(rows, 3);
        TransferWizardTreeView view;
        view.setUniformRowHeights(true);
        view.setRootIsDecorated(false);
        view.setModel(&model);
        paintWhite(view);
        view.resize(320, 240);
        view.header()->resizeSection(0, 100);
        view.header()->resizeSection(1, 80);
        QVERIFY(view.setProperty("showVerticalGrid", true));
        QVERIFY(view.setProperty("showEmptyRowVerticalGrid", emptyRowVertical));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        const QImage image = view.viewport()->grab().toImage();
        const QColor grid = gridColor(&view);
        QVERIFY(grid != QColor(Qt::white));
        const int x = view.header()->sectionViewportPosition(1) + 1;
        const int rowY = 3;
        const int belowY = view.viewport()->height() - 3;
        QCOMPARE(image.pixelColor(x, rowY) == grid, lineInRows);
        QCOMPARE(image.pixelColor(x, belowY) == grid, lineBelowRows);
        // The first column never gets a line of its own at its left edge.
        QVERIFY(image.pixelColor(1, belowY) != grid);
    }

    void horizontalGrid()
    {
        QStandardItemModel model(2, 2);
        TransferWizardTreeView view;
        view.setUniformRowHeights(true);
        view.setModel(&model);
        paintWhite(view);
        view.resize(300, 200);
        view.setShowHorizontalGrid(true);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const int h = view.visualRect(model.index(0, 0)).height();
        QVERIFY(h > 0);
        const QImage image = view.viewport()->grab().toImage();
        const QColor grid = gridColor(&view);
        QCOMPARE(image.pixelColor(150, h), grid);
        QCOMPARE(image.pixelColor(150, 2 * h), grid);
        // Not over the empty area unless asked.
        QVERIFY(image.pixelColor(150, 5 * h) != grid);
        view.setShowEmptyRowHorizontalGrid(true);
        const QImage all = view.viewport()->grab().toImage();
        QCOMPARE(all.pixelColor(150, 5 * h), grid);
    }

    void ellipsisLabelKeepsFullText_data()
    {
        QTest::addColumn<bool>("middle");
        QTest::newRow("middle") << true;
        QTest::newRow("right") << false;
    }
    void ellipsisLabelKeepsFullText()
    {
        QFETCH(bool, middle);
        const QString full = "/home/alice/Videos/holidays/2025/a very long name of a film.avi";
        kvqs::EllipsisLabel label(nullptr, middle);
        label.setText(full);
        label.setFixedSize(120, 20);
        QLabel plain;
        plain.setFixedSize(120, 20);
        plain.setText(QFontMetrics(plain.font())
                          .elidedText(full, middle ? Qt::ElideMiddle : Qt::ElideRight, 121));
        QVERIFY(plain.text() != full);

        const QImage painted = label.grab().toImage();
        QCOMPARE(label.text(), full);
        QCOMPARE(painted, plain.grab().toImage());
        // A short text is painted as it is.
        label.setText("short");
        plain.setText("short");
        QCOMPARE(label.grab().toImage(), plain.grab().toImage());
    }

    void restoringTheTextSchedulesNoPaint()
    {
        struct PaintCounter : QObject
        {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint)
                    ++paints;
                return false;
            }
        } counter;
        kvqs::EllipsisLabel label;
        label.setText("/home/alice/Videos/a name long enough to need an ellipsis.avi");
        label.setFixedSize(100, 20);
        // Installed last, it sees every paint event first.
        label.installEventFilter(&counter);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 5000);
        counter.paints = 0;
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);
        label.removeEventFilter(&counter);
    }

    // A long name is shortened to the label's room and follows its width both ways; the whole
    // name stays reachable as tooltip, and a link keeps its target whatever is shown.
    void labelEliderFollowsWidth_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("plain") << QString();
        QTest::newRow("link") << QString("file:///media/alice/Holiday & Photos");
    }
    void labelEliderFollowsWidth()
    {
        QFETCH(QString, link);
        const QString name = "Holiday Photos Backup Drive of the Family <Archive>";
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* label = new QLabel(&window);
        layout->addWidget(label);
        window.resize(120, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        LabelElider::setText(label, name, link, "#2bb0dc");
        QCOMPARE(LabelElider::fullText(label), name);
        // The label does not widen the window for its text.
        QCOMPARE(window.width(), 120);
        QCOMPARE(label->toolTip(), name);
        const QString shown = label->textFormat() == Qt::RichText
                                  ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                                  : label->text();
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QVERIFY(QFontMetrics(label->font()).horizontalAdvance(shown) <=
                label->contentsRect().width());
        if (!link.isEmpty()) {
            QVERIFY(label->text().contains("href=\"" + link.toHtmlEscaped() + "\""));
            QVERIFY(label->text().contains("#2bb0dc"));
        }

        window.resize(800, 40);
        QTRY_COMPARE_WITH_TIMEOUT(label->toolTip(), QString(), 5000);
        const QString whole = label->textFormat() == Qt::RichText
                                  ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                                  : label->text();
        QCOMPARE(whole, name);

        window.resize(120, 40);
        QTRY_COMPARE_WITH_TIMEOUT(label->toolTip(), name, 5000);
    }
};

QTEST_MAIN(tst_WindowChrome)
#include "tst_WindowChrome.moc"
