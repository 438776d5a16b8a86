#include "AccessibleTitleBarButton.h"

#include <QWidget>
#include <QWindow>

#include "WindowTitleBar.h"

AccessibleTitleBarButton::AccessibleTitleBarButton(WindowTitleBar* bar, int buttonId)
    : m_bar(bar), m_id(buttonId)
{
}

bool AccessibleTitleBarButton::isValid() const
{
    return m_bar;
}

QObject* AccessibleTitleBarButton::object() const
{
    return nullptr;
}

QWindow* AccessibleTitleBarButton::window() const
{
    return m_bar ? m_bar->window()->windowHandle() : nullptr;
}

QAccessibleInterface* AccessibleTitleBarButton::parent() const
{
    return m_bar ? QAccessible::queryAccessibleInterface(m_bar) : nullptr;
}

QAccessibleInterface* AccessibleTitleBarButton::child(int) const
{
    return nullptr;
}

int AccessibleTitleBarButton::childCount() const
{
    return 0;
}

int AccessibleTitleBarButton::indexOfChild(const QAccessibleInterface*) const
{
    return -1;
}

QAccessibleInterface* AccessibleTitleBarButton::childAt(int, int) const
{
    return nullptr;
}

QString AccessibleTitleBarButton::text(QAccessible::Text t) const
{
    if (!m_bar)
        return {};
    const bool minimise = m_id == WindowTitleBar::CollapseButton;
    switch (t) {
    case QAccessible::Name:
        return minimise ? WindowTitleBar::tr("Minimize") : WindowTitleBar::tr("Close");
    case QAccessible::Description:
        return minimise ? WindowTitleBar::tr("Minimizes the Portavo window")
                        : WindowTitleBar::tr("Closes Portavo");
    default:
        return {};
    }
}

void AccessibleTitleBarButton::setText(QAccessible::Text, const QString&) {}

QRect AccessibleTitleBarButton::rect() const
{
    if (!m_bar)
        return {};
    const QRect r = m_bar->buttonRect(m_id);
    return QRect(m_bar->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::Role AccessibleTitleBarButton::role() const
{
    return QAccessible::Button;
}

QAccessible::State AccessibleTitleBarButton::state() const
{
    QAccessible::State s;
    if (!m_bar) {
        s.invalid = true;
        return s;
    }
    s.invisible = !m_bar->isVisible() || !m_bar->isButtonVisible(m_id);
    s.disabled = !m_bar->isButtonEnabled(m_id);
    return s;
}

void* AccessibleTitleBarButton::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList AccessibleTitleBarButton::actionNames() const
{
    return {pressAction()};
}

void AccessibleTitleBarButton::doAction(const QString& actionName)
{
    if (!m_bar || actionName != pressAction() || !m_bar->isButtonEnabled(m_id))
        return;
    switch (m_id) {
    case WindowTitleBar::CloseButton:
        emit m_bar->closeClicked();
        break;
    case WindowTitleBar::CloseDirtyButton:
        emit m_bar->closeDirtyClicked();
        break;
    case WindowTitleBar::CollapseButton:
        emit m_bar->collapseClicked();
        break;
    default:
        break;
    }
}

QStringList AccessibleTitleBarButton::keyBindingsForAction(const QString&) const
{
    return {};
}
