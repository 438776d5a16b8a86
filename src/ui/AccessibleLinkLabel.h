#pragma once

#include <QAccessibleWidget>

class QLabel;

// A label that holds a link the keyboard can reach: a link for assistive technology, named by
// its accessible name or its plain text, and pressing it opens the link as Enter does.
class AccessibleLinkLabel : public QAccessibleWidget
{
public:
    explicit AccessibleLinkLabel(QLabel* label);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Makes this the label's interface in place of the plain text one Qt gives every label.
    static void install(QLabel* label);
    // The first link target in the label's text, or empty.
    static QString firstLink(const QString& richText);

private:
    QLabel* label() const;
};
