// Starts a program on the X display named by $DISPLAY and measures, from the moment before it
// is started, the time until its first top-level window is mapped, then its resident memory a
// while later. Prints one line: "window_ms RSS_MB PEAK_MB", and ends the program with SIGTERM.
//   startup_window SETTLE_MS PROGRAM [ARGUMENT]...
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

double statusMegabytes(pid_t pid, const char* field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::strtod(line.c_str() + std::strlen(field), nullptr) / 1024.0;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_window SETTLE_MS PROGRAM [ARGUMENT]...\n");
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "startup_window: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    // A round trip, so the server applies the mask before the program can map anything.
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        std::fprintf(stderr, "startup_window: %s: %s\n", argv[2], std::strerror(errno));
        _exit(127);
    }
    double windowMs = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
        free(event);
        if (mapped) {
            windowMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            break;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_window: the program ended without a window\n");
            return 1;
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const double rss = statusMegabytes(pid, "VmRSS:");
    const double peak = statusMegabytes(pid, "VmHWM:");
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    xcb_disconnect(connection);
    if (windowMs < 0)
        return 1;
    std::printf("%.1f %.1f %.1f\n", windowMs, rss, peak);
    return 0;
}
