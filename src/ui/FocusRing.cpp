#include "FocusRing.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QPainter>
#include <QTextDocumentFragment>

FocusRing::FocusRing(QWidget* home) : QWidget(home), m_home(home)
{
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // Focus changes anywhere in the window, and the moves of the focused widget, arrive here.
    qApp->installEventFilter(this);
}

FocusRing::~FocusRing()
{
    qApp->removeEventFilter(this);
}

bool FocusRing::follows(QWidget* widget) const
{
    if (!widget || !m_home || widget == this)
        return false;
    // The home window, or a drop-down list whose owner lives in it.
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == m_home)
            return true;
        if (w->isWindow() && w->windowType() != Qt::Popup)
            return false;
    }
    return false;
}

void FocusRing::follow(QWidget* widget)
{
    m_target = follows(widget) ? widget : nullptr;
    if (!m_target) {
        hide();
        return;
    }
    QWidget* host = m_target->window();
    if (parentWidget() != host)
        setParent(host);
    place();
}

void FocusRing::place()
{
    if (!m_target || !m_keyboard || !m_target->isVisible()) {
        hide();
        return;
    }
    // Inside a drop-down list the window's edge would cut an outline drawn around the entry.
    const int margin = parentWidget()->windowType() == Qt::Popup ? 0 : Width + Gap;
    QRect inHost(m_target->mapTo(parentWidget(), QPoint(0, 0)), m_target->size());
    if (auto* label = qobject_cast<QLabel*>(m_target.data());
        label && (label->alignment() & Qt::AlignLeft)) {
        // A link's label is often wider than its text; the outline surrounds the text.
        const QString text = QTextDocumentFragment::fromHtml(label->text()).toPlainText();
        const int width = label->contentsRect().left() + 2 * label->margin() + 2 +
                          label->fontMetrics().horizontalAdvance(text.trimmed());
        inHost.setWidth(qMin(inHost.width(), width));
    }
    const QRect ring = inHost.adjusted(-margin, -margin, margin, margin);
    if (geometry() != ring)
        setGeometry(ring);
    raise();
    show();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->hasFocus()) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::MouseFocusReason)
                m_keyboard = false;
            else if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                     reason == Qt::ShortcutFocusReason)
                m_keyboard = true;
            follow(static_cast<QWidget*>(watched));
        }
        break;
    case QEvent::KeyPress:
        if (!m_keyboard && follows(QApplication::focusWidget())) {
            m_keyboard = true;
            place();
        }
        break;
    case QEvent::Hide:
        // A list closes (and may go away) on its own; the ring goes home before that.
        if (watched == parentWidget() && parentWidget() != m_home && m_home) {
            setParent(m_home);
            hide();
        } else if (watched == m_target) {
            hide();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Paint:
        // Layouts move the widget's parents too; a paint of the widget is when it shows where
        // it now is.
        if (watched == m_target)
            place();
        break;
    default:
        break;
    }
    return false;
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(color(), Width);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal half = Width / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), 3, 3);
}
