// KavoEngine: converts one source file for a device profile and reports
// progress on stdout. See WorkerOptions.h for the command line and
// ProgressReporter.h for the output lines.

#include "CancelFlag.h"
#include "ProfileTable.h"
#include "ProgressReporter.h"
#include "Transcoder.h"
#include "WorkerOptions.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdlib>

using namespace kvt::worker;

int main(int argc, char** argv)
{
    CancelFlag::installSignalHandlers();
    // FFmpeg's own chatter goes to stderr; only real errors are worth a line there.
    av_log_set_level(AV_LOG_ERROR);

    ProgressReporter reporter;
    WorkerOptions options;
    WorkerError error = WorkerOptions::parse(argc, argv, options);
    const kvt::DeviceProfileSpec* device = nullptr;
    if (!error.isError()) {
        device = kvt::findDeviceProfile(options.profile);
        if (!device)
            error = WorkerError(kvt::ENG_OUTOFRANGE_ERR,
                                "unknown device profile " + std::to_string(options.profile));
    }
    if (!error.isError()) {
        Transcoder transcoder(options.input, options.output, *device, reporter);
        transcoder.setRequestedSize(options.width, options.height);
        error = transcoder.run();
        if (error.code() == kvt::Aborted) {
            // The temporary file is gone already. Closing an encoder waits for
            // its threads to finish frames nobody wants, which would keep the
            // wizard waiting for the cancel; the kernel frees the rest.
            reporter.error(error.code(), error.message());
            std::_Exit(error.exitStatus());
        }
    }
    if (error.isError()) {
        reporter.error(error.code(), error.message());
        return error.exitStatus();
    }
    return 0;
}
