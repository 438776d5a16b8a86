#pragma once

// Screen readers see the wizard's hand-made widgets as what they behave like: the drive
// selector as a combo box with its choice as value, its entries as list items, a clickable
// frame as a button, and the painted close and minimise buttons of the title bar as buttons.
// Installs the interface factory once; every constructor of those widgets calls it.
void installAccessibleWidgets();
