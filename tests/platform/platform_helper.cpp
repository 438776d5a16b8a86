// Second process of the platform tests.
//   lock <name>            take the named mutex, say "locked", then sleep until killed
//   lock-once <name>       take the named mutex, say "locked", release it and exit
//   ipc-listen <prefix>... subscribe to each prefix, say "ready <socket>", print
//                          each message as "msg <app> <name> <size> <payload in hex>",
//                          and run until standard input closes
//   ipc-send <app> <name> <payload>  send once and print "count <n>"
#include "IKavoIPC.h"
#include "KavoIPC.h"
#include "NamedMutex.h"
#include "RefCountedPtr.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

std::mutex g_outputMutex;

void say(const std::string& line)
{
    std::lock_guard<std::mutex> lock(g_outputMutex);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

class Printer : public kvtl::RefCountedImpl<kvds::IKavoIPCCallback>
{
public:
    int OnMessage(const char* app, const char* msg, uint32_t size, const void* payload) override
    {
        std::string hex = payload ? "" : "-";
        for (uint32_t i = 0; payload && i < size; ++i) {
            char byte[3];
            std::snprintf(byte, sizeof byte, "%02x", static_cast<const unsigned char*>(payload)[i]);
            hex += byte;
        }
        say("msg " + std::string(app) + " " + msg + " " + std::to_string(size) + " " + hex);
        return 0;
    }
};

int lockAndSleep(const char* name, bool once)
{
    NamedMutex mutex(name);
    if (!mutex.Lock())
        return 2;
    say("locked");
    if (once) {
        mutex.Unlock();
        return 0;
    }
    for (;;)
        ::pause();
}

int listen(int argc, char** argv)
{
    kvds::IKavoIPC* raw = nullptr;
    if (!kvds::CreateKavoIPC(&raw))
        return 2;
    kvtl::RefCountedPtr<kvds::IKavoIPC> ipc(raw);
    raw->Release(); // the handle holds the one reference now
    kvtl::RefCountedPtr<Printer> printer(new Printer);
    for (int i = 2; i < argc; ++i)
        ipc->Subscribe(argv[i], printer.get(), true);
    say("ready " + static_cast<KavoIPC*>(ipc.get())->SocketPath());
    char buffer[256];
    while (::read(0, buffer, sizeof buffer) > 0) {
    }
    return 0;
}

int sendOnce(const char* app, const char* msg, const char* payload)
{
    kvds::IKavoIPC* raw = nullptr;
    if (!kvds::CreateKavoIPC(&raw))
        return 2;
    uint32_t count = 0;
    const bool ok =
        raw->Send(app, msg, static_cast<uint32_t>(std::strlen(payload)), payload, &count);
    raw->Release();
    say("count " + std::to_string(count));
    return ok ? 0 : 3;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "lock" && argc == 3)
        return lockAndSleep(argv[2], false);
    if (mode == "lock-once" && argc == 3)
        return lockAndSleep(argv[2], true);
    if (mode == "ipc-listen")
        return listen(argc, argv);
    if (mode == "ipc-send" && argc == 5)
        return sendOnce(argv[2], argv[3], argv[4]);
    std::fprintf(stderr, "usage: platform_helper lock|lock-once|ipc-listen|ipc-send ...\n");
    return 1;
}
