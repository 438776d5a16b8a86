#pragma once

#include <QString>

class TransferWizardController;

// The two entry points of the wizard library. run() owns the application object for the whole
// wizard; forwardCommandLine() hands a later launch's arguments to the running wizard and may
// be called on any thread.
class WizardShell
{
public:
    // Sets up the toolkit, parses the command line and runs the wizard until its window
    // closes. Always returns 0, also when the command line is rejected (then nothing shows).
    static int run(int& argc, char** argv);
    // Ignored unless run() is inside its event loop.
    static void forwardCommandLine(int argc, const char* const* argv);
    // What the wizard's own command line takes, for a person: printed to the standard error
    // stream when it is rejected (the launcher has its own, wider usage text).
    static QString usageText();
    // The wizard inside run()'s event loop, or null.
    static TransferWizardController* runningController();

    // Where the wizard's translations are: "i18n" beside the program, else the installation's
    // data folder.
    static QString translationsDir();

private:
    static void setUpPluginPaths();
    static void installTranslations();
};
