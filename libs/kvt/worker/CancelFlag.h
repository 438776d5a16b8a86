#pragma once

#include <atomic>

namespace kvt::worker {

// Cancellation by SIGTERM or SIGINT. The signal handler only sets an atomic
// flag; the conversion loop and FFmpeg's blocking I/O (through the interrupt
// callback) poll it and unwind normally, so the temporary output is removed.
class CancelFlag
{
public:
    // Installs the handlers for SIGTERM and SIGINT. Call before any work.
    static void installSignalHandlers();

    static bool isCancelled() { return s_cancelled.load(std::memory_order_relaxed); }
    static void cancel() { s_cancelled.store(true, std::memory_order_relaxed); }

    // For AVIOInterruptCB::callback: non-zero aborts the blocking call. opaque is null or a
    // std::chrono::steady_clock::time_point after which the call is abandoned too.
    static int interruptCallback(void* opaque);

private:
    static std::atomic<bool> s_cancelled;
};

} // namespace kvt::worker
