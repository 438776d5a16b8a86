#pragma once

#include <QString>
#include <QtGlobal>

// Text helpers shared by the file list, the dialogs and the error pages.

// "%1 KB" below 1000 KiB (never less than 1), "%1 MB" below 1000 MiB, else "%1 GB", the last
// two with two decimals. Translated in the context "::SetFileSize()".
QString fileSizeText(quint64 bytes);

// The path as the user should see it, with this system's separators.
QString nativePath(const QString& path);

// The user's locale code for help pages ("en-us" unless the installation names another).
QString currentLocale();

// Where the help page of a conversion error lives: on the help host when the installation names
// one, else a page shipped with the program.
QString errorHelpUrl(int code);

// The folder holding the shipped help pages: $KAVO_HELP_DIR, beside the program (a build tree),
// or the installed data folder relative to it.
QString localHelpDir();
