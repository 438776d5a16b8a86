#include "PopupPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QRect PopupPlacement::place(const QRect& anchor, const QSize& popup, const QRect& available)
{
    const int width = qMin(popup.width(), available.width());
    const int height = qMin(popup.height(), available.height());
    const int below = available.bottom() - anchor.bottom();
    const int above = anchor.top() - available.top();
    int y;
    if (height <= below || below >= above)
        y = anchor.bottom() + 1;
    else
        y = anchor.top() - height;
    y = qBound(available.top(), y, available.bottom() + 1 - height);
    const int x = qBound(available.left(), anchor.left(), available.right() + 1 - width);
    return QRect(x, y, width, height);
}

QRect PopupPlacement::availableArea(const QWidget* anchor)
{
    const QRect global(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    QScreen* screen = QGuiApplication::screenAt(global.center());
    if (!screen)
        screen = anchor->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
