#include "LabelElider.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

namespace {

const char* const ElideObjectName = "labelElider";

LabelElider* eliderOf(const QLabel* label)
{
    return label->findChild<LabelElider*>(QString::fromLatin1(ElideObjectName),
                                          Qt::FindDirectChildrenOnly);
}

} // namespace

LabelElider::LabelElider(QLabel* label) : QObject(label), m_label(label)
{
    setObjectName(QString::fromLatin1(ElideObjectName));
    QSizePolicy policy = label->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    label->setSizePolicy(policy);
    label->installEventFilter(this);
}

void LabelElider::setText(QLabel* label, const QString& text, const QString& link,
                          const QString& linkColor)
{
    if (!label)
        return;
    LabelElider* elider = eliderOf(label);
    if (!elider)
        elider = new LabelElider(label);
    elider->m_text = text;
    elider->m_link = link;
    elider->m_linkColor = linkColor;
    elider->apply();
}

QString LabelElider::fullText(const QLabel* label)
{
    const LabelElider* elider = label ? eliderOf(label) : nullptr;
    return elider ? elider->m_text : QString();
}

bool LabelElider::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_label &&
        (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
        apply();
    return QObject::eventFilter(watched, event);
}

void LabelElider::apply()
{
    const int width = m_label->contentsRect().width() - 2 * m_label->margin();
    const QString shown =
        QFontMetrics(m_label->font()).elidedText(m_text, Qt::ElideRight, qMax(width, 0));
    QString html;
    if (m_link.isEmpty()) {
        html = shown;
    } else {
        const QString style = m_linkColor.isEmpty()
                                  ? QString()
                                  : QStringLiteral(" style=\"color:%1;\"").arg(m_linkColor);
        html = QStringLiteral("<a href=\"%1\"><span%2>%3</span></a>")
                   .arg(m_link.toHtmlEscaped(), style, shown.toHtmlEscaped());
    }
    m_label->setTextFormat(m_link.isEmpty() ? Qt::PlainText : Qt::RichText);
    if (m_label->text() != html)
        m_label->setText(html);
    m_label->setToolTip(shown == m_text ? QString() : m_text);
}
