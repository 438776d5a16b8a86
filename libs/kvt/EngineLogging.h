#pragma once

#include <QLoggingCategory>

// Diagnostics of this library ("portavo.engine"): the trace file gets them all; the terminal only
// when asked (--debug, or QT_LOGGING_RULES).
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
