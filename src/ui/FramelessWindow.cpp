#include "FramelessWindow.h"

#include <QMouseEvent>
#include <QRegion>
#include <QWidget>

#include "WindowTitleBar.h"

FramelessWindow::FramelessWindow(QWidget* window, WindowTitleBar* titleBar)
    : QObject(window), m_window(window), m_titleBar(titleBar)
{
    window->installEventFilter(this);
}

bool FramelessWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    if (event->type() == QEvent::MouseMove && m_titleBar->isDragging() &&
        m_titleBar->lastPressedButton() == Qt::LeftButton) {
        auto* move = static_cast<QMouseEvent*>(event);
        m_window->move(move->globalPosition().toPoint() - m_titleBar->dragOffset());
        move->accept();
        return true;
    }
    if (event->type() == QEvent::Resize) {
        // Cut from each corner the part of its 5 x 5 square that lies outside a 10 x 10
        // ellipse.
        const QRect r(QPoint(0, 0), static_cast<QResizeEvent*>(event)->size());
        QRegion mask(r);
        const QPoint corners[] = {r.topLeft(), QPoint(r.right() - 9, r.top()),
                                  QPoint(r.left(), r.bottom() - 9),
                                  QPoint(r.right() - 9, r.bottom() - 9)};
        const QPoint squares[] = {r.topLeft(), QPoint(r.right() - 4, r.top()),
                                  QPoint(r.left(), r.bottom() - 4),
                                  QPoint(r.right() - 4, r.bottom() - 4)};
        for (int i = 0; i < 4; ++i) {
            const QRegion square(QRect(squares[i], QSize(5, 5)));
            const QRegion ellipse(QRect(corners[i], QSize(10, 10)), QRegion::Ellipse);
            mask -= square.subtracted(ellipse);
        }
        m_window->setMask(mask);
    }
    return false;
}
