// The wizard library's only exports.
#include "WizardShell.h"

extern "C" __attribute__((visibility("default"))) int kavomain(int argc, char** argv)
{
    // The application object refers to the count; it lives until run() returns.
    return WizardShell::run(argc, argv);
}

extern "C" __attribute__((visibility("default"))) void commandline(int argc, char** argv)
{
    WizardShell::forwardCommandLine(argc, argv);
}
