#include "ScreenFit.h"

#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

ScreenFit::ScreenFit(QWidget* window)
    : QObject(window), m_window(window), m_designMinimum(window->minimumSize())
{
    window->installEventFilter(this);
}

void ScreenFit::fit()
{
    QScreen* screen = m_window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize needed = m_window->layout() ? m_window->layout()->totalMinimumSize() : QSize();
    // The frame the window system adds (none for a frameless window).
    const QSize frame = m_window->frameGeometry().size() - m_window->geometry().size();
    const QSize room = area.size() - frame;
    QSize minimum = m_designMinimum;
    minimum.setWidth(qMin(minimum.width(), qMax(needed.width(), room.width())));
    minimum.setHeight(qMin(minimum.height(), qMax(needed.height(), room.height())));
    if (m_window->minimumSize() != minimum)
        m_window->setMinimumSize(minimum.expandedTo(QSize(1, 1)));
    const QSize size = m_window->size().boundedTo(room).expandedTo(minimum);
    if (size != m_window->size())
        m_window->resize(size);
    QRect outer(m_window->frameGeometry().topLeft(), size + frame);
    outer.moveLeft(
        qBound(area.left(), outer.left(), qMax(area.left(), area.right() + 1 - outer.width())));
    outer.moveTop(
        qBound(area.top(), outer.top(), qMax(area.top(), area.bottom() + 1 - outer.height())));
    if (outer.topLeft() != m_window->frameGeometry().topLeft())
        m_window->move(outer.topLeft());
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window &&
        (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal)) {
        fit();
        if (QWindow* handle = m_window->windowHandle()) {
            // Once per native window: a changed screen size fits the window again.
            if (!handle->property("portavoScreenFit").toBool()) {
                handle->setProperty("portavoScreenFit", true);
                connect(handle, &QWindow::screenChanged, this, [this](QScreen* screen) {
                    if (screen)
                        connect(screen, &QScreen::availableGeometryChanged, this, &ScreenFit::fit,
                                Qt::UniqueConnection);
                    fit();
                });
                if (QScreen* screen = handle->screen())
                    connect(screen, &QScreen::availableGeometryChanged, this, &ScreenFit::fit,
                            Qt::UniqueConnection);
            }
        }
    }
    return false;
}
