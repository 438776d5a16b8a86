#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// Drives a window with key presses only, the way a user's keys travel.
namespace KeyPresses {

// The wizard window. When a window on top of it (the analysis progress, the drive list) goes
// away, a window manager gives the wizard the keyboard back; offscreen there is none, so this
// does. (The offscreen platform even leaves a closed list as the active window.)
inline QWidget*& mainWindow()
{
    static QWidget* window = nullptr;
    return window;
}

inline bool returnToMainWindow()
{
    QWidget* main = mainWindow();
    QWidget* active = QApplication::activeWindow();
    if (main && main->isVisible() && (!active || !active->isVisible()) &&
        !QApplication::activePopupWidget() && !QApplication::activeModalWidget()) {
        main->activateWindow();
        // The list's window counts as part of the wizard's: wait for the widgets' view of it.
        return QTest::qWaitFor([main] { return QApplication::activeWindow() == main; }, 5000);
    }
    return true;
}

// Where a user's key goes: the open list's current entry, else the focused widget.
inline QWidget* keyTarget()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return QApplication::focusWidget();
}

inline bool press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (!returnToMainWindow())
        return false;
    QWidget* target = keyTarget();
    if (!target)
        return false;
    QTest::keyClick(target, key, modifiers);
    return true;
}

} // namespace KeyPresses
