#include "ProfileRadioButton.h"

#include <QEnterEvent>

ProfileRadioButton::ProfileRadioButton(QWidget* parent) : QRadioButton(parent) {}

ProfileRadioButton::~ProfileRadioButton() = default;

void ProfileRadioButton::enterEvent(QEnterEvent* event)
{
    QRadioButton::enterEvent(event);
    emit mouseOver();
}

void ProfileRadioButton::leaveEvent(QEvent* event)
{
    QRadioButton::leaveEvent(event);
    emit mouseExit();
}
