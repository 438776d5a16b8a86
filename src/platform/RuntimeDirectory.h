#pragma once

#include <string>

// Where this user's per-session files (lock files, sockets) live:
// $XDG_RUNTIME_DIR when it is a directory owned by the user, otherwise a
// private directory /tmp/kavo-<uid> (mode 0700, owned by the user, not a
// link), and when another user holds that name, <cache home>/Kavo/run.
// Read on every call, so a changed environment takes effect.
class RuntimeDirectory
{
public:
    // Empty when no usable directory exists.
    static std::string Base();
    // Base() + "/" + name, created with mode 0700 when absent and checked to
    // be a private directory of the user. Empty on failure.
    static std::string Subdirectory(const std::string& name);
    // True when path is a directory (not a link) owned by the user whose mode
    // grants nothing to group or others; tightens the mode when it can.
    static bool EnsurePrivateDirectory(const std::string& path);
};
