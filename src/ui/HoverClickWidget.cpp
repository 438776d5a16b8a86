#include "HoverClickWidget.h"

#include "AccessibleWidgets.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

HoverClickWidget::HoverClickWidget(QWidget* parent, int id)
    : QFrame(parent), m_id(id), m_highlight(Qt::NoBrush)
{
    setAttribute(Qt::WA_Hover);
    installAccessibleWidgets();
}

HoverClickWidget::~HoverClickWidget() = default;

void HoverClickWidget::setHighlightBrush(const QBrush& brush)
{
    m_highlight = brush;
    update();
}

void HoverClickWidget::setCornerRadius(int radius)
{
    m_cornerRadius = radius;
    update();
}

void HoverClickWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        setMouseTracking(true);
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void HoverClickWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    const bool wasPressed = m_pressed;
    m_pressed = false;
    setMouseTracking(false);
    event->accept();
    // Only a press and a release both on the widget make a click.
    if (wasPressed && rect().contains(event->position().toPoint()))
        emit clicked(m_id);
}

void HoverClickWidget::enterEvent(QEnterEvent* event)
{
    QFrame::enterEvent(event);
    update();
}

void HoverClickWidget::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
    update();
}

void HoverClickWidget::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            event->accept();
            emit clicked(m_id);
            return;
        }
        break;
    default:
        break;
    }
    QFrame::keyPressEvent(event);
}

void HoverClickWidget::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    update();
}

void HoverClickWidget::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    update();
}

void HoverClickWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    // The keyboard's current entry lights up like the one under the mouse.
    if (!(underMouse() || hasFocus()) || !isActiveWindow() || !isEnabled() ||
        m_highlight.style() == Qt::NoBrush)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_highlight);
    if (m_cornerRadius > 0)
        painter.drawRoundedRect(rect(), m_cornerRadius, m_cornerRadius);
    else
        painter.drawRect(rect());
}
