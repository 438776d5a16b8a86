#pragma once

#include <QString>
#include <QtGlobal>

// Text helpers shared by the file list, the dialogs and the error pages.

// "%1 KB" below 1000 KiB (never less than 1), "%1 MB" below 1000 MiB, else "%1 GB", the last
// two with two decimals. Translated in the context "::SetFileSize()".
QString fileSizeText(quint64 bytes);

// A figure with the given number of decimals in the user's locale ("1,50" in German), without
// digit grouping: a size has at most four integer digits and reads better without.
QString decimalText(double value, int decimals);

// The path as the user should see it, with this system's separators.
QString nativePath(const QString& path);

// The user's locale code for help pages ("en-us" unless the installation names another).
QString currentLocale();

// Where the help page of a conversion error lives: on the help host when the installation names
// one, else a page shipped with the program.
QString errorHelpUrl(int code);

// The language of the wizard's texts, two letters ("en" until start-up sets the language of the
// translation it loaded). Help pages are asked for in this language.
QString uiLanguage();
void setUiLanguage(const QString& language);

// The folder holding the shipped help pages: $KAVO_HELP_DIR, beside the program (a build tree),
// or the installed data folder relative to it.
QString localHelpDir();
