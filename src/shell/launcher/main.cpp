// The portavo launcher: starts the wizard, or hands the command line to the one already
// running for this user.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "LauncherChannel.h"

extern "C" int kavomain(int argc, char** argv);
extern "C" void commandline(int argc, char** argv);

// "-to" and "-start": a script's unattended run, which must report its own outcome and so
// never hands its command line over to an open wizard.
static bool isUnattended(const std::vector<std::string>& arguments)
{
    bool to = false;
    bool start = false;
    for (std::string a : arguments) {
        std::transform(a.begin(), a.end(), a.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        to = to || a == "-to";
        start = start || a == "-start";
    }
    return to && start;
}

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv, argv + argc);
    // Asking an open wizard with an empty command line changes nothing there.
    if (isUnattended(arguments) &&
        LauncherChannel::send(LauncherChannel::defaultSocketPath(), {}, 2000) !=
            LauncherChannel::Delivery::NoListener) {
        std::fprintf(stderr, "portavo: nothing was transferred: a wizard is already running; "
                             "close it first.\n");
        return 3;
    }
    LauncherChannel channel;
    const LauncherChannel::Role role =
        channel.acquire(arguments, [](const std::vector<std::string>& received) {
            std::vector<char*> pointers;
            pointers.reserve(received.size() + 1);
            for (const std::string& a : received)
                pointers.push_back(const_cast<char*>(a.c_str()));
            pointers.push_back(nullptr);
            commandline(int(received.size()), pointers.data());
        });
    if (role == LauncherChannel::Role::Forwarded)
        return 0;
    if (role == LauncherChannel::Role::Unanswered) {
        // A wizard runs, so a second one must not start (it would share the settings, the
        // device library and the temporary files).
        std::fprintf(stderr, "portavo: a wizard is already running, but %s.\n",
                     channel.failure().c_str());
        return 1;
    }
    const int result = kavomain(argc, argv);
    channel.stop();
    return result;
}
