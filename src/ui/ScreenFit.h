#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// Keeps a window on its screen: when it is shown, moved to another screen or the screen
// changes, a window taller or wider than the screen's free area gives up its designed minimum
// size down to what its layout needs, and it is moved back inside that area. A 1366x768 laptop
// screen, or a 1280x800 one at scale 2 (640x400 for the program), shows all of the wizard.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    explicit ScreenFit(QWidget* window);

    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QSize m_designMinimum;
};
