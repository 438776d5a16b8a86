#include "TranscodeLogging.h"

Q_LOGGING_CATEGORY(lcTranscode, "portavo.transcode")
