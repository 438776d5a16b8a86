#include "AccessibleTitleBar.h"

#include "AccessibleTitleBarButton.h"
#include "WindowTitleBar.h"

AccessibleTitleBar::AccessibleTitleBar(WindowTitleBar* bar)
    : QAccessibleWidget(bar, QAccessible::TitleBar)
{
    for (int id : {WindowTitleBar::CollapseButton, WindowTitleBar::CloseButton,
                   WindowTitleBar::CloseDirtyButton}) {
        auto* button = new AccessibleTitleBarButton(bar, id);
        QAccessible::registerAccessibleInterface(button);
        m_buttons << button;
    }
}

AccessibleTitleBar::~AccessibleTitleBar()
{
    for (AccessibleTitleBarButton* button : std::as_const(m_buttons))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(button));
}

QList<AccessibleTitleBarButton*> AccessibleTitleBar::visibleButtons() const
{
    auto* bar = static_cast<WindowTitleBar*>(widget());
    QList<AccessibleTitleBarButton*> shown;
    for (AccessibleTitleBarButton* button : m_buttons) {
        if (bar->isButtonVisible(button->buttonId()))
            shown << button;
    }
    return shown;
}

int AccessibleTitleBar::childCount() const
{
    return int(visibleButtons().size());
}

QAccessibleInterface* AccessibleTitleBar::child(int index) const
{
    return visibleButtons().value(index);
}

int AccessibleTitleBar::indexOfChild(const QAccessibleInterface* child) const
{
    const QList<AccessibleTitleBarButton*> shown = visibleButtons();
    for (int i = 0; i < shown.size(); ++i) {
        if (shown[i] == child)
            return i;
    }
    return -1;
}

QAccessibleInterface* AccessibleTitleBar::childAt(int x, int y) const
{
    for (AccessibleTitleBarButton* button : visibleButtons()) {
        if (button->rect().contains(x, y))
            return button;
    }
    return nullptr;
}

QString AccessibleTitleBar::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return widget()->window()->windowTitle();
    return QAccessibleWidget::text(t);
}
