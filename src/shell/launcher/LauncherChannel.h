#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Keeps the wizard single-instance per user. The first launch listens on a Unix-domain socket
// in the user's private runtime folder; a later launch connects, hands over its arguments and
// exits. The listener calls the handler on its own thread (never the GUI thread).
//
// Frame, all integers 32-bit little-endian: "KVLA", argument count, then per argument its
// length and bytes. The listener answers one byte (1) once the handler returned.
class LauncherChannel
{
public:
    using Handler = std::function<void(const std::vector<std::string>& arguments)>;

    enum class Role
    {
        Forwarded, // another instance took the arguments; this process should exit
        Serving,   // this process is the instance; the listener runs
        Standalone // no channel could be set up; run without one
    };

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

    const std::string& socketPath() const { return m_socketPath; }
    static std::string defaultSocketPath();

    // Sends the arguments to the instance listening at path; true once it acknowledged.
    static bool send(const std::string& path, const std::vector<std::string>& arguments,
                     int timeoutMs);

private:
    void serve();
    void handleConnection(int fd);

    std::string m_socketPath;
    Handler m_handler;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
    std::mutex m_stopMutex;
};
