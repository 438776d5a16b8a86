#include "AccessibleHoverClick.h"

#include <QLabel>

#include "SuperComboBox.h"
#include "SuperComboBoxItem.h"

namespace {

QString joined(const QStringList& parts)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty())
            kept << part.trimmed();
    }
    return kept.join(QStringLiteral(", "));
}

} // namespace

AccessibleHoverClick::AccessibleHoverClick(HoverClickWidget* widget)
    : QAccessibleWidget(widget, roleOf(widget))
{
}

QAccessible::Role AccessibleHoverClick::roleOf(HoverClickWidget* widget)
{
    if (qobject_cast<SuperComboBox*>(widget))
        return QAccessible::ComboBox;
    if (qobject_cast<SuperComboBoxItem*>(widget))
        return QAccessible::ListItem;
    return QAccessible::Button;
}

HoverClickWidget* AccessibleHoverClick::clickWidget() const
{
    return static_cast<HoverClickWidget*>(widget());
}

SuperComboBox* AccessibleHoverClick::combo() const
{
    return qobject_cast<SuperComboBox*>(widget());
}

SuperComboBoxItem* AccessibleHoverClick::entry() const
{
    return qobject_cast<SuperComboBoxItem*>(widget());
}

QString AccessibleHoverClick::labelTexts() const
{
    QStringList texts;
    const auto labels = widget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    for (QLabel* label : labels) {
        if (!label->isHidden())
            texts << label->text();
    }
    return joined(texts);
}

QString AccessibleHoverClick::text(QAccessible::Text t) const
{
    if (SuperComboBox* box = combo()) {
        const SuperComboBox::Item* chosen = box->item(box->currentIndex());
        const QString value =
            chosen ? joined({chosen->text, chosen->subText, chosen->sizeText}) : QString();
        if (t == QAccessible::Value)
            return value;
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return value;
        return QAccessibleWidget::text(t);
    }
    if (SuperComboBoxItem* item = entry()) {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return joined({item->text(), item->subText(), item->sizeText()});
        return QAccessibleWidget::text(t);
    }
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return labelTexts();
    return QAccessibleWidget::text(t);
}

QAccessible::State AccessibleHoverClick::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (SuperComboBox* box = combo()) {
        s.hasPopup = true;
        s.expandable = true;
        s.expanded = box->isPopupVisible();
        s.collapsed = !box->isPopupVisible();
    } else if (SuperComboBoxItem* item = entry()) {
        s.selectable = true;
        auto* owner = qobject_cast<SuperComboBox*>(
            item->parentWidget() ? item->parentWidget()->parentWidget() : nullptr);
        s.selected = owner && owner->currentIndex() == item->id();
    } else {
        s.pressed = clickWidget()->isPressed();
    }
    return s;
}

QStringList AccessibleHoverClick::actionNames() const
{
    QStringList names{pressAction()};
    if (combo())
        names << showMenuAction();
    return names;
}

void AccessibleHoverClick::doAction(const QString& actionName)
{
    if (!widget()->isEnabled())
        return;
    if (SuperComboBox* box = combo()) {
        if (actionName == pressAction() || actionName == showMenuAction())
            box->showPopup();
        return;
    }
    if (actionName == pressAction())
        emit clickWidget()->clicked(clickWidget()->id());
}
