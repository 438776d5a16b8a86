#include "SuperComboBoxPopup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "SuperComboBoxItem.h"

SuperComboBoxPopup::SuperComboBoxPopup(QWidget* parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SuperComboPopup"));
    setAutoFillBackground(true);
    // The press that closes the popup must not reach the combo underneath, or it would open
    // the popup again at once.
    setAttribute(Qt::WA_NoMouseReplay);
    setStyleSheet(QStringLiteral("QFrame#SuperComboPopup{\nbackground-color: "
                                 "rgb(255,255,255);\nborder: 1px solid #CACDD2;\n}"));
    m_itemLayout = new QVBoxLayout(this);
    m_itemLayout->setObjectName(QStringLiteral("itemLayout"));
    m_itemLayout->setContentsMargins(0, 0, 0, 0);
    m_itemLayout->setSpacing(0);
    m_itemLayout->addStretch();
}

SuperComboBoxPopup::~SuperComboBoxPopup() = default;

void SuperComboBoxPopup::addItem(SuperComboBoxItem* item)
{
    m_itemLayout->insertWidget(m_itemLayout->count() - 1, item);
}

void SuperComboBoxPopup::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    setFocus(Qt::PopupFocusReason);
    focusNextChild();
    emit shown();
}

void SuperComboBoxPopup::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    emit hidden();
}

void SuperComboBoxPopup::keyPressEvent(QKeyEvent* event)
{
    QList<QWidget*> rows;
    for (int i = 0; i < m_itemLayout->count(); ++i) {
        QWidget* row = m_itemLayout->itemAt(i)->widget();
        if (row && row->isVisible() && row->isEnabled())
            rows << row;
    }
    const int current = int(rows.indexOf(QApplication::focusWidget()));
    int next = -1;
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        hide();
        return;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        next = current < 0 ? 0 : qMax(0, current - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        next = current < 0 ? 0 : qMin(int(rows.size()) - 1, current + 1);
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = int(rows.size()) - 1;
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
    if (next >= 0 && next < rows.size())
        rows[next]->setFocus(Qt::PopupFocusReason);
}
