#include "AccessibleLinkLabel.h"

#include <QDesktopServices>
#include <QLabel>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QUrl>

AccessibleLinkLabel::AccessibleLinkLabel(QLabel* label)
    : QAccessibleWidget(label, QAccessible::Link)
{
}

void AccessibleLinkLabel::install(QLabel* label)
{
    if (QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(label)) {
        if (dynamic_cast<AccessibleLinkLabel*>(plain))
            return;
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(plain));
    }
    QAccessible::registerAccessibleInterface(new AccessibleLinkLabel(label));
}

QLabel* AccessibleLinkLabel::label() const
{
    return static_cast<QLabel*>(widget());
}

QString AccessibleLinkLabel::firstLink(const QString& richText)
{
    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"]*)\""));
    const QRegularExpressionMatch m = href.match(richText);
    return m.hasMatch() ? QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText() : QString();
}

QString AccessibleLinkLabel::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        return QTextDocumentFragment::fromHtml(label()->text()).toPlainText().trimmed();
    case QAccessible::Value:
        return firstLink(label()->text());
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList AccessibleLinkLabel::actionNames() const
{
    return {pressAction()};
}

void AccessibleLinkLabel::doAction(const QString& actionName)
{
    const QString link = firstLink(label()->text());
    if (actionName != pressAction() || link.isEmpty())
        return;
    if (label()->openExternalLinks())
        QDesktopServices::openUrl(QUrl(link));
    else
        emit label()->linkActivated(link);
}
