#include "ShellLogging.h"

Q_LOGGING_CATEGORY(lcShell, "portavo.shell")
