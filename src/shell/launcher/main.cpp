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

// A file argument ("file:///home/a/My%20Clip.avi") as the path the wizard would name it by.
static std::string localPath(const std::string& url)
{
    std::string text = url;
    if (text.rfind("file://", 0) == 0)
        text.erase(0, 7);
    std::string path;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit((unsigned char)text[i + 1]) &&
            std::isxdigit((unsigned char)text[i + 2])) {
            path += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += text[i];
        }
    }
    return path;
}

// One field of a per-file line: tab, newline, carriage return and backslash escaped as the
// unattended run escapes them.
static std::string escapedField(const std::string& field)
{
    std::string out;
    for (char c : field) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The refusal of an unattended run: the reason on standard error, a "not started" line per
// file on standard output, as every other refusal.
static int refuseUnattended(const std::vector<std::string>& arguments, const char* reason)
{
    std::fprintf(stderr, "portavo: nothing was transferred: %s\n", reason);
    for (size_t i = 1; i + 1 < arguments.size(); ++i) {
        std::string word = arguments[i];
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (word != "-file")
            continue;
        const std::string file = localPath(arguments[++i]);
        std::printf("%s\tnot started\t%s\n", escapedField(file).c_str(),
                    escapedField(reason).c_str());
    }
    std::fflush(stdout);
    return 3;
}

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv, argv + argc);
    // Asking an open wizard with an empty command line changes nothing there.
    if (isUnattended(arguments) &&
        LauncherChannel::send(LauncherChannel::defaultSocketPath(), {}, 2000) !=
            LauncherChannel::Delivery::NoListener) {
        return refuseUnattended(arguments, "a wizard is already running; close it first.");
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
