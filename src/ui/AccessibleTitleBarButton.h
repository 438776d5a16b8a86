#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class WindowTitleBar;

// One of the buttons the title bar paints itself: it has no widget of its own, so it is a
// child interface of the bar that can be pressed.
class AccessibleTitleBarButton : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    AccessibleTitleBarButton(WindowTitleBar* bar, int buttonId);

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    int buttonId() const { return m_id; }

private:
    QPointer<WindowTitleBar> m_bar;
    int m_id;
};
