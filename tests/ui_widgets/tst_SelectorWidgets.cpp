#include <QAccessible>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <cmath>
#include <utility>

#include "DriveComboBox.h"
#include "HoverClickWidget.h"
#include "SuperComboBox.h"
#include "SuperComboBoxItem.h"
#include "SuperComboBoxPopup.h"

namespace {

void sendMouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

QLabel* faceLabel(SuperComboBox* combo, const char* name)
{
    return combo->findChild<QLabel*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

// A window holding one combo at a chosen place on the screen.
struct ComboWindow
{
    QWidget window;
    DriveComboBox* combo = nullptr;

    explicit ComboWindow(const QPoint& at)
    {
        window.setWindowFlags(Qt::FramelessWindowHint);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        combo = new DriveComboBox(&window);
        combo->setFixedSize(249, 41);
        layout->addWidget(combo);
        window.move(at);
        window.show();
    }
};

// Counts the Enter presses that reach the watched widget.
struct EnterCounter : QObject
{
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return)
            ++count;
        return false;
    }
};

} // namespace

class tst_SelectorWidgets : public QObject
{
    Q_OBJECT

private slots:
    void hoverClickNeedsPressAndReleaseOnIt_data()
    {
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<bool>("pressFirst");
        QTest::addColumn<int>("clicks");
        QTest::newRow("inside") << QPoint(10, 10) << true << 1;
        QTest::newRow("released outside") << QPoint(200, 10) << true << 0;
        QTest::newRow("release without press") << QPoint(10, 10) << false << 0;
    }
    void hoverClickNeedsPressAndReleaseOnIt()
    {
        QFETCH(QPoint, releaseAt);
        QFETCH(bool, pressFirst);
        QFETCH(int, clicks);
        HoverClickWidget w(nullptr, 7);
        w.resize(100, 30);
        QSignalSpy clicked(&w, &HoverClickWidget::clicked);
        if (pressFirst)
            sendMouse(&w, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton);
        sendMouse(&w, QEvent::MouseButtonRelease, releaseAt, Qt::LeftButton);
        QCOMPARE(clicked.count(), clicks);
        if (clicks)
            QCOMPARE(clicked.at(0).at(0).toInt(), 7);
    }

    void entriesAndPlaceholders()
    {
        DriveComboBox combo;
        combo.addItem(0, "No CD/DVD burner drive found.", QString(), 2);
        combo.addItem(1, "STICK", "/media/alice/STICK", 5, "3.5 GB");
        combo.addItem(1, "OTHER", "/media/alice/OTHER", 5);
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.findData(5), (QList<int>{1, 2}));
        QCOMPARE(combo.findData(3), QList<int>());
        QVERIFY(combo.item(0)->groupName != combo.item(1)->groupName);

        QSignalSpy changed(&combo, &SuperComboBox::currentIndexChanged);
        combo.setCurrentIndex(1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(combo.currentSubText(), QString("/media/alice/STICK"));

        const auto rows = combo.popup()->findChildren<SuperComboBoxItem*>();
        QCOMPARE(rows.size(), 3);
        combo.clear();
        QCOMPARE(combo.count(), 0);
        QCOMPARE(combo.currentIndex(), -1);
        QVERIFY(combo.findChildren<SuperComboBoxItem*>().isEmpty());
    }

    // The face shortens texts that do not fit and offers the whole text as tooltip; it follows
    // the combo's width both ways.
    void faceElidesLongTextsToItsWidth()
    {
        const QString longText = "No CD/DVD burner drive found.";
        const QString longSub = "/media/alice/Holiday Photos Backup Drive of the family";
        ComboWindow w(QPoint(20, 20));
        w.combo->setFixedSize(200, 41);
        w.combo->addItem(0, longText, longSub, 2);
        w.combo->addItem(1, "STICK", "/media/alice/STICK", 5, "3.5 GB");
        w.combo->setCurrentIndex(0);
        QLabel* text = faceLabel(w.combo, "textLabel");
        QLabel* sub = faceLabel(w.combo, "subTextLabel");
        QTRY_VERIFY_WITH_TIMEOUT(text->text() != longText, 5000);
        QVERIFY(text->text().endsWith(QChar(0x2026)));
        QVERIFY(longText.startsWith(text->text().chopped(1)));
        QCOMPARE(text->toolTip(), longText);
        QVERIFY(sub->text().endsWith(QChar(0x2026)));
        QCOMPARE(sub->toolTip(), longSub);
        // Nothing of the face is pushed outside the combo.
        QVERIFY(w.combo->rect().contains(text->geometry()));
        QVERIFY(QFontMetrics(text->font()).horizontalAdvance(text->text()) <=
                text->contentsRect().width());

        // Wide enough: the whole text and no tooltip.
        w.combo->setFixedSize(420, 41);
        QTRY_COMPARE_WITH_TIMEOUT(text->text(), longText, 5000);
        QCOMPARE(text->toolTip(), QString());

        // A short entry is shown whole.
        w.combo->setFixedSize(200, 41);
        w.combo->setCurrentIndex(1);
        QTRY_COMPARE_WITH_TIMEOUT(text->text(), QString("STICK"), 5000);
        QCOMPARE(text->toolTip(), QString());
        QCOMPARE(w.combo->currentText(), QString("STICK"));
        QVERIFY(!sub->isHidden());

        // A placeholder has no sub-text: its text takes the middle of the face.
        w.combo->addItem(1, "Insert USB drive", QString(), 3);
        w.combo->setCurrentIndex(2);
        QVERIFY(sub->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(text->geometry().center().y() - w.combo->height() / 2) <= 2,
                                 5000);
    }

    // Every text of a popup entry stays readable on the popup's white: at least the 4.5:1
    // contrast asked of body text.
    void popupTextsAreReadable()
    {
        const auto luminance = [](const QColor& c) {
            const auto channel = [](double v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
                   0.0722 * channel(c.blueF());
        };
        ComboWindow w(QPoint(20, 20));
        w.combo->addItem(1, "STICK", "/media/alice/STICK", 5, "3.5 GB");
        w.combo->onClick();
        QTRY_VERIFY_WITH_TIMEOUT(w.combo->popup()->isVisible(), 5000);
        const auto rows = w.combo->popup()->findChildren<SuperComboBoxItem*>();
        QCOMPARE(rows.size(), 1);
        for (const char* name : {"textLabel", "subTextLabel", "centeredTxt"}) {
            auto* label = rows[0]->findChild<QLabel*>(name);
            QVERIFY(label);
            label->ensurePolished();
            const QColor text = label->palette().color(label->foregroundRole());
            const double contrast = (1.0 + 0.05) / (luminance(text) + 0.05);
            QVERIFY2(
                contrast >= 4.5,
                qPrintable(
                    QString("%1: %2 gives %3:1").arg(name, text.name()).arg(contrast, 0, 'f', 1)));
        }
        w.combo->popup()->hide();
    }

    void placeholderAloneStillReportsSelection()
    {
        DriveComboBox combo;
        combo.addItem(1, "Insert USB drive", QString(), 3);
        QSignalSpy changed(&combo, &SuperComboBox::currentIndexChanged);
        combo.collapse(0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 0);
        combo.setCurrentIndex(0);
        QCOMPARE(changed.count(), 2);
    }

    void clickingAnEntrySelectsIt()
    {
        ComboWindow w(QPoint(50, 50));
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.combo->addItem(1, "A", "first", 5);
        w.combo->addItem(1, "B", "second", 5);
        QSignalSpy changed(w.combo, &SuperComboBox::currentIndexChanged);
        QSignalSpy collapsed(w.combo, &SuperComboBox::onCollapse);
        w.combo->onClick();
        QTRY_VERIFY_WITH_TIMEOUT(w.combo->isPopupVisible(), 5000);
        auto rows = w.combo->popup()->findChildren<SuperComboBoxItem*>();
        QCOMPARE(rows.size(), 2);
        SuperComboBoxItem* second = rows[0]->id() == 1 ? rows[0] : rows[1];
        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY_WITH_TIMEOUT(!w.combo->isPopupVisible(), 5000);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 1);
        QCOMPARE(collapsed.count(), 1);
        QCOMPARE(w.combo->currentText(), QString("B"));
    }

    void popupDoesNotReopenWhileClosing()
    {
        ComboWindow w(QPoint(50, 50));
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.combo->addItem(1, "A", "first", 5);
        QSignalSpy expanded(w.combo, &SuperComboBox::onExpand);

        w.combo->onClick();
        QTRY_VERIFY_WITH_TIMEOUT(w.combo->isPopupVisible(), 5000);
        QCOMPARE(expanded.count(), 1);
        // The popup closes; the click that closed it reaches the combo in the same turn.
        w.combo->popup()->hide();
        w.combo->onClick();
        QVERIFY(!w.combo->isPopupVisible());
        QCOMPARE(expanded.count(), 1);

        // Once the close is over, a click opens it again.
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                w.combo->onClick();
                return w.combo->isPopupVisible();
            }(),
            5000);
        QCOMPARE(expanded.count(), 2);

        // A real click on the combo while the popup is open closes it and does not reopen it.
        // Sent to the window, so it takes the way of a user's click through the open popup.
        const QPoint onCombo = w.combo->mapTo(&w.window, QPoint(20, 20));
        QTest::mouseClick(w.window.windowHandle(), Qt::LeftButton, {}, onCombo);
        QTRY_VERIFY_WITH_TIMEOUT(!w.combo->isPopupVisible(), 5000);
        QTest::qWait(50);
        QVERIFY(!w.combo->isPopupVisible());
        QCOMPARE(expanded.count(), 2);
    }

    // Near every edge of the screen (run at scale 1 and 2) the list opens inside the
    // screen, under the combo when there is room and above it otherwise.
    void popupPlacement_data()
    {
        QTest::addColumn<QString>("edge");
        QTest::addColumn<QString>("entryText");
        for (const char* edge : {"top-left", "top-right", "bottom-left", "bottom-right", "left",
                                 "right", "top", "bottom"})
            QTest::newRow(edge) << edge << "Drive";
        QTest::newRow("right, entries wider than the combo")
            << "right"
            << "A drive with a very long label that needs a wide list";
    }
    void popupPlacement()
    {
        QFETCH(QString, edge);
        QFETCH(QString, entryText);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize size(249, 41);
        QPoint at(screen.center().x() - size.width() / 2, screen.center().y() - size.height() / 2);
        if (edge.contains("left"))
            at.setX(screen.left());
        if (edge.contains("right"))
            at.setX(screen.right() + 1 - size.width());
        if (edge.contains("top"))
            at.setY(screen.top());
        if (edge.contains("bottom"))
            at.setY(screen.bottom() + 1 - size.height());
        ComboWindow w(at);
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        for (int i = 0; i < 3; ++i)
            w.combo->addItem(1, QString("%1 %2").arg(entryText).arg(i), "sub", 5);
        w.combo->setFocus();
        QTest::keyClick(w.combo, Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(w.combo->isPopupVisible(), 5000);
        const QRect popup = w.combo->popup()->frameGeometry();
        const QRect combo(w.combo->mapToGlobal(QPoint(0, 0)), w.combo->size());
        QVERIFY2(screen.contains(popup), qPrintable(QString("%1,%2 %3x%4 outside %5x%6")
                                                        .arg(popup.x())
                                                        .arg(popup.y())
                                                        .arg(popup.width())
                                                        .arg(popup.height())
                                                        .arg(screen.width())
                                                        .arg(screen.height())));
        QVERIFY(popup.width() >= combo.width());
        QVERIFY(popup.height() >= 3 * 30);
        if (edge.contains("bottom"))
            QCOMPARE(popup.bottom() + 1, combo.top());
        else
            QCOMPARE(popup.top(), combo.bottom() + 1);
        w.combo->popup()->hide();
    }

    // The combo works from the keyboard as a combo box does. Keys go where a user's keys go:
    // to the open list's current entry, else to the focused widget.
    void keyboard_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("changes");
        QTest::addColumn<bool>("open");
        QTest::newRow("Down chooses the next") << "Down" << 2 << 1 << false;
        QTest::newRow("Up chooses the previous") << "Up" << 0 << 1 << false;
        QTest::newRow("Down at the last stays") << "Down,Down,Down" << 3 << 2 << false;
        QTest::newRow("Home and End") << "Home,End" << 3 << 2 << false;
        QTest::newRow("Space opens on the chosen entry") << "Space" << 1 << 0 << true;
        QTest::newRow("F4 opens") << "F4" << 1 << 0 << true;
        QTest::newRow("Alt+Down opens") << "Alt+Down" << 1 << 0 << true;
        QTest::newRow("Enter on the closed combo is the window's") << "Return" << 1 << 0 << false;
        QTest::newRow("Down in the list, Enter chooses") << "Space,Down,Return" << 2 << 1 << false;
        QTest::newRow("Up in the list, Space chooses") << "Space,Up,Space" << 0 << 1 << false;
        QTest::newRow("End in the list, Enter chooses") << "F4,End,Enter" << 3 << 1 << false;
        QTest::newRow("Escape closes without a choice") << "Space,Down,Escape" << 1 << 0 << false;
    }
    void keyboard()
    {
        QFETCH(QString, keys);
        QFETCH(int, chosen);
        QFETCH(int, changes);
        QFETCH(bool, open);
        ComboWindow w(QPoint(50, 50));
        // An Enter the combo leaves alone reaches the window, which gives it to its default
        // button.
        EnterCounter enters;
        w.window.installEventFilter(&enters);
        for (const char* name : {"Disc", "Stick A", "Stick B", "Stick C"})
            w.combo->addItem(1, name, "sub", QString(name));
        w.combo->setCurrentIndex(1);
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.combo->setFocus(Qt::TabFocusReason);
        QSignalSpy changed(w.combo, &SuperComboBox::currentIndexChanged);
        bool first = true;
        for (const QString& key : keys.split(',')) {
            const QKeyCombination combination = QKeySequence::fromString(key)[0];
            QWidget* target = QApplication::activePopupWidget();
            if (target && target->focusWidget())
                target = target->focusWidget();
            if (!target)
                target = QApplication::focusWidget();
            QVERIFY(target);
            QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
            if (std::exchange(first, false) &&
                (key == "Space" || key == "F4" || key == "Alt+Down")) {
                QTRY_VERIFY_WITH_TIMEOUT(w.combo->isPopupVisible(), 5000);
                // The keyboard starts on the chosen entry.
                auto* current = qobject_cast<SuperComboBoxItem*>(QApplication::focusWidget());
                QVERIFY(current);
                QCOMPARE(current->id(), w.combo->currentIndex());
            }
        }
        QCOMPARE(w.combo->isPopupVisible(), open);
        QCOMPARE(w.combo->currentIndex(), chosen);
        QCOMPARE(changed.count(), changes);
        QCOMPARE(enters.count, keys == "Return" ? 1 : 0);
        if (!open)
            QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), w.combo, 5000);
        w.combo->popup()->hide();
    }

    // Screen readers see the combo as a combo box valued by its choice, its entries as list
    // items (the chosen one selected) and a plain clickable frame as a button; each presses.
    void accessibleInterfaces()
    {
        ComboWindow w(QPoint(50, 50));
        w.combo->setAccessibleName("Destination drive");
        w.combo->addItem(0, "Burner", "/dev/sr0", 4, "4.7 GB");
        w.combo->addItem(1, "Stick", "/media/stick", 5, "");
        w.combo->setCurrentIndex(0);
        QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(w.combo);
        QVERIFY(combo);
        QCOMPARE(combo->role(), QAccessible::ComboBox);
        QCOMPARE(combo->text(QAccessible::Name), QString("Destination drive"));
        QCOMPARE(combo->text(QAccessible::Value), QString("Burner, /dev/sr0, 4.7 GB"));
        QVERIFY(combo->state().focusable);
        QVERIFY(combo->state().collapsed && !combo->state().expanded);
        combo->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        QTRY_VERIFY_WITH_TIMEOUT(w.combo->isPopupVisible(), 5000);
        QVERIFY(combo->state().expanded);

        const auto rows = w.combo->popup()->findChildren<SuperComboBoxItem*>();
        QCOMPARE(rows.size(), 2);
        for (SuperComboBoxItem* row : rows) {
            QAccessibleInterface* entry = QAccessible::queryAccessibleInterface(row);
            QCOMPARE(entry->role(), QAccessible::ListItem);
            QCOMPARE(entry->state().selected, row->id() == 0);
            QVERIFY(entry->text(QAccessible::Name).startsWith(row->id() == 0 ? "Burner" : "Stick"));
        }
        QAccessible::queryAccessibleInterface(rows[1])->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QCOMPARE(w.combo->currentIndex(), 1);
        QVERIFY(!w.combo->isPopupVisible());
        QCOMPARE(combo->text(QAccessible::Value), QString("Stick, /media/stick"));

        HoverClickWidget frame(nullptr, 7);
        auto* label = new QLabel("Open the drive", &frame);
        Q_UNUSED(label);
        QSignalSpy clicked(&frame, &HoverClickWidget::clicked);
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(&frame);
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), QString("Open the drive"));
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 7);
    }

    void downStateWhileOpen()
    {
        ComboWindow w(QPoint(50, 50));
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.combo->addItem(0, "Burner", "/dev/sr0", 4);
        w.combo->setCurrentIndex(0);
        // The face looks pressed while the popup is open, and as before once it closes.
        const QString frameUp = w.combo->styleSheet();
        const QString textUp = faceLabel(w.combo, "textLabel")->styleSheet();
        w.combo->onClick();
        QTRY_VERIFY_WITH_TIMEOUT(w.combo->isPopupVisible(), 5000);
        QVERIFY(w.combo->styleSheet() != frameUp);
        QVERIFY(faceLabel(w.combo, "textLabel")->styleSheet() != textUp);
        w.combo->popup()->hide();
        QCOMPARE(w.combo->styleSheet(), frameUp);
        QCOMPARE(faceLabel(w.combo, "textLabel")->styleSheet(), textUp);
    }
};

QTEST_MAIN(tst_SelectorWidgets)
#include "tst_SelectorWidgets.moc"
