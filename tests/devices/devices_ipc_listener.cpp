// Subscribes to "Device/" on its own messaging endpoint and prints every
// message it receives as one line: application|message|payload in hex.
// Prints "READY" once subscribed and runs until its standard input closes.
#include "IKavoIPC.h"
#include "RefCountedPtr.h"

#include <cstdio>
#include <mutex>

namespace {

class PrintingSubscriber : public kvtl::RefCountedImpl<kvds::IKavoIPCCallback>
{
public:
    int OnMessage(const char* applicationName, const char* messageName, uint32_t payloadSize,
                  const void* payload) override
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        std::printf("%s|%s|", applicationName, messageName);
        const auto* bytes = static_cast<const unsigned char*>(payload);
        for (uint32_t i = 0; i < payloadSize && bytes; ++i)
            std::printf("%02x", bytes[i]);
        std::printf("\n");
        std::fflush(stdout);
        return 0;
    }

private:
    std::mutex m_mutex;
};

} // namespace

int main()
{
    kvds::IKavoIPC* raw = nullptr;
    if (!kvds::CreateKavoIPC(&raw)) {
        std::fprintf(stderr, "no messaging endpoint\n");
        return 1;
    }
    kvtl::RefCountedPtr<kvds::IKavoIPC> ipc(raw);
    raw->Release();

    kvtl::RefCountedPtr<PrintingSubscriber> subscriber(new PrintingSubscriber);
    if (!ipc->Subscribe("Device/", subscriber.get(), true)) {
        std::fprintf(stderr, "subscribe failed\n");
        return 1;
    }
    std::printf("READY\n");
    std::fflush(stdout);

    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}
