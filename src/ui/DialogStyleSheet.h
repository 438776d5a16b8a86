#pragma once

#include <QString>

class QDialog;

// The style sheet every secondary dialog shares: dark gradient background, white labels and
// image-framed push buttons.
QString dialogStyleSheet();

// The sheet of the Add dialog (a file dialog): the secondary dialogs' look, with light lists
// and fields for the folder's contents.
QString fileDialogStyleSheet();

// Gives a secondary dialog the frame they all share: its object name, a fixed size without a
// help button, the program's icon and the style sheet above.
void setUpSecondaryDialog(QDialog* dialog, const QString& objectName);

// Makes sure the compiled-in images and style sheets of the wizard are registered. Safe to call
// more than once; the widgets of this library call it themselves.
void initPortavoResources();

// The address of a help page given by its path ("/kavo/profiles/en"): on the installation's
// help host when one is set, else the page of that path shipped with the program. A path
// ending in "/en" is asked for in the wizard's language (uiLanguage()).
QString helpPageUrl(const QString& path);
