#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Keeps the wizard single-instance per user. The first launch listens on a Unix-domain socket
// in the user's private runtime folder; a later launch connects, hands over its arguments and
// exits. The listener calls the handler on its own thread (never the GUI thread).
//
// Frame, all integers 32-bit little-endian: "KVLA", the body length, then the body: the
// argument count and, per argument, its length and bytes. The listener answers one byte:
// Taken once the handler returned, Refused for a frame it will not take (too large, malformed).
class LauncherChannel
{
public:
    using Handler = std::function<void(const std::vector<std::string>& arguments)>;

    enum class Role
    {
        Forwarded,  // another instance took the arguments; this process should exit
        Serving,    // this process is the instance; the listener runs
        Standalone, // no channel could be set up; run without one
        Unanswered  // an instance holds the socket but did not take the arguments: exit
                    // without starting a second wizard (failure() says why)
    };

    enum class Delivery
    {
        Taken,      // the instance acknowledged the arguments
        NoListener, // nothing listens at the path (refused or missing)
        Refused,    // the instance answered that it will not take them
        NoAnswer    // connected, but no answer in time
    };

    // The largest command line Linux passes to a program is 3/4 of 8 MiB of strings, each
    // argument at most 128 KiB; a frame costs no more than the strings and their pointers did.
    static constexpr size_t kMaxArgumentBytes = 128 * 1024;
    static constexpr size_t kMaxBodyBytes = 8 * 1024 * 1024;
    static constexpr char kTaken = 1;
    static constexpr char kRefused = 2;

    // socketPath empty: the default path in the private runtime folder.
    explicit LauncherChannel(std::string socketPath = {});
    ~LauncherChannel();

    LauncherChannel(const LauncherChannel&) = delete;
    LauncherChannel& operator=(const LauncherChannel&) = delete;

    // Hands the arguments to a running instance, or becomes the instance and starts
    // listening. Two launches at the same moment are serialised by a lock file.
    Role acquire(const std::vector<std::string>& arguments, Handler handler);
    // Stops listening and removes the socket. Called by the destructor too.
    void stop();
    // Why the last acquire returned Unanswered, in plain words.
    const std::string& failure() const { return m_failure; }

    const std::string& socketPath() const { return m_socketPath; }
    static std::string defaultSocketPath();

    // Sends the arguments to the instance listening at path within timeoutMs in all.
    static Delivery send(const std::string& path, const std::vector<std::string>& arguments,
                         int timeoutMs);

    // The frame for arguments (header and body), and the arguments of a received body; false
    // for a body that is malformed or breaks the limits.
    static std::string buildFrame(const std::vector<std::string>& arguments);
    static bool parseBody(const unsigned char* body, size_t length,
                          std::vector<std::string>* arguments);

private:
    void serve();

    std::string m_socketPath;
    std::string m_failure;
    Handler m_handler;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
    std::mutex m_stopMutex;
};
