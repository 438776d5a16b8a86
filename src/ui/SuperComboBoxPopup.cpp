#include "SuperComboBoxPopup.h"

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
