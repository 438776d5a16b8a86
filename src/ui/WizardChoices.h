#pragma once

#include "WizardStartParameters.h"

// What the wizard's pages share: the transfer method (0 disc, 1 USB drive), the device's
// profile and the parameters the wizard was started with. The dialog owns it; the file page
// changes the method when the user picks a drive of the other kind.
struct WizardChoices
{
    int method = 0;
    int profile = 3;
    WizardStartParameters start;
};
