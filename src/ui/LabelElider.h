#pragma once

#include <QObject>
#include <QString>

class QLabel;

// Shows a text on a label shortened with an ellipsis to the label's width, again after each
// resize, so a long drive name neither widens the page nor gets cut mid-letter. A shortened
// text keeps the whole one as the label's tooltip. With a link, the shown text links to it.
class LabelElider : public QObject
{
    Q_OBJECT

public:
    // The label stops asking the layout for room for its text.
    static void setText(QLabel* label, const QString& text, const QString& link = QString(),
                        const QString& linkColor = QString());
    // The whole text last set on label (empty when none was set through here).
    static QString fullText(const QLabel* label);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit LabelElider(QLabel* label);
    void apply();

    QLabel* m_label;
    QString m_text;
    QString m_link;
    QString m_linkColor;
};
