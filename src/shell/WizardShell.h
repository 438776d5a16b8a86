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
    // The wizard inside run()'s event loop, or null.
    static TransferWizardController* runningController();

private:
    static void setUpPluginPaths();
    static void installTranslations();
};
