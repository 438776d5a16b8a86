#include "EllipsisFilter.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

namespace kvqs {

EllipsisFilter::EllipsisFilter(QObject* parent, bool elideMiddle)
    : QObject(parent), m_elideMiddle(elideMiddle)
{
}

EllipsisFilter::~EllipsisFilter() = default;

bool EllipsisFilter::eventFilter(QObject* object, QEvent* event)
{
    auto* label = qobject_cast<QLabel*>(object);
    if (!label)
        return QObject::eventFilter(object, event);
    if (event->type() == QEvent::UpdateLater) {
        // Putting the full text back after painting asks for another paint; swallow it.
        return true;
    }
    if (event->type() != QEvent::Paint || m_painting)
        return false;
    m_painting = true;
    const QString full = label->text();
    const QString elided =
        QFontMetrics(label->font())
            .elidedText(full, m_elideMiddle ? Qt::ElideMiddle : Qt::ElideRight, label->width() + 1);
    const bool changed = elided != full;
    if (changed)
        label->setText(elided);
    // Let the label paint the shortened text; its event() is reached through QObject.
    static_cast<QObject*>(label)->event(event);
    if (changed)
        label->setText(full);
    m_painting = false;
    return true;
}

} // namespace kvqs
