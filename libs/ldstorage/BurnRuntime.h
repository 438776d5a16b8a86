#pragma once

#include <string>

namespace ld {

// libburn, libisofs and libisoburn, started once for the process and finished at its end.
class BurnRuntime
{
public:
    // Starts the libraries on first use; false (with the reason logged) when they cannot start.
    static bool ensure();
    // The messages libburn and libisofs queued since the last call, one per line: the reason
    // behind a failed call, for the log and the caller's error text.
    static std::string takeMessages();

private:
    BurnRuntime();
    ~BurnRuntime();
    bool ok_ = false;
};

} // namespace ld
