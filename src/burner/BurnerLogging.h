#pragma once

#include <QLoggingCategory>

// Diagnostics of this library ("portavo.burner"): the trace file gets them all; the terminal only
// when asked (--debug, or QT_LOGGING_RULES).
Q_DECLARE_LOGGING_CATEGORY(lcBurner)
// The storage library's own lines, which the burner passes on.
Q_DECLARE_LOGGING_CATEGORY(lcStorage)
