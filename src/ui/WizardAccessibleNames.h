#pragma once

#include <QCoreApplication>

class QWidget;

// What a screen reader says for the wizard window's controls: names for those whose look
// speaks only to the eye (the device tiles, the drive selector, the links, the lists and the
// progress bars) and a description where the keys to use are not obvious. Found by the form's
// object names.
class WizardAccessibleNames
{
    Q_DECLARE_TR_FUNCTIONS(WizardAccessibleNames)

public:
    static void apply(QWidget* dialog);
};
