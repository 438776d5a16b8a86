#pragma once

#include <QObject>

class QWidget;
class WindowTitleBar;

// What the system's frame would do for a window without one: rounded corners (radius 5, a
// mask that follows the window's size) and moving the window while its title bar is dragged.
class FramelessWindow : public QObject
{
    Q_OBJECT

public:
    FramelessWindow(QWidget* window, WindowTitleBar* titleBar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    WindowTitleBar* m_titleBar;
};
