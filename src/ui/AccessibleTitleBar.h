#pragma once

#include <QAccessibleWidget>
#include <QList>

class AccessibleTitleBarButton;
class WindowTitleBar;

// The wizard's own title bar, with its painted buttons as children that can be pressed.
class AccessibleTitleBar : public QAccessibleWidget
{
public:
    explicit AccessibleTitleBar(WindowTitleBar* bar);
    ~AccessibleTitleBar() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

private:
    // The visible buttons' interfaces, in the bar's order; created once and registered, since
    // assistive technology keeps referring to them by id.
    QList<AccessibleTitleBarButton*> visibleButtons() const;
    QList<AccessibleTitleBarButton*> m_buttons;
};
