#pragma once

#include <QAccessibleWidget>

class HoverClickWidget;
class SuperComboBox;
class SuperComboBoxItem;

// A HoverClickWidget as assistive technology sees it: a SuperComboBox is a combo box whose
// value is the chosen entry and which opens its list; an entry of its list is a list item,
// selected when it is the chosen one; any other such frame is a button. Each can be pressed.
class AccessibleHoverClick : public QAccessibleWidget
{
public:
    explicit AccessibleHoverClick(HoverClickWidget* widget);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    static QAccessible::Role roleOf(HoverClickWidget* widget);
    HoverClickWidget* clickWidget() const;
    SuperComboBox* combo() const;
    SuperComboBoxItem* entry() const;
    // The texts of the widget's labels, joined: what a sighted user reads on it.
    QString labelTexts() const;
};
