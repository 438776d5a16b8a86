#include "CancelFlag.h"

#include <chrono>
#include <csignal>

namespace kvt::worker {

std::atomic<bool> CancelFlag::s_cancelled{false};

static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

namespace {
extern "C" void onCancelSignal(int)
{
    CancelFlag::cancel();
}
} // namespace

void CancelFlag::installSignalHandlers()
{
    struct sigaction action = {};
    action.sa_handler = onCancelSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a blocking read returns EINTR and the loop sees the flag.
    action.sa_flags = 0;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // A closed progress pipe must not kill the worker before it cleans up;
    // the failed write is noticed instead.
    signal(SIGPIPE, SIG_IGN);
}

int CancelFlag::interruptCallback(void* opaque)
{
    if (isCancelled())
        return 1;
    const auto* deadline = static_cast<const std::chrono::steady_clock::time_point*>(opaque);
    return deadline && std::chrono::steady_clock::now() > *deadline ? 1 : 0;
}

} // namespace kvt::worker
