#include "DataLogging.h"

Q_LOGGING_CATEGORY(lcData, "portavo.data")
