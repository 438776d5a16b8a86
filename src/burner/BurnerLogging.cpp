#include "BurnerLogging.h"

Q_LOGGING_CATEGORY(lcBurner, "portavo.burner")
Q_LOGGING_CATEGORY(lcStorage, "portavo.storage")
