#pragma once

#include "IRefCounted.h"

#include <cstdint>

namespace kvds {

// Subscriber of the messaging endpoint. OnMessage runs on the endpoint's own
// serving thread, never on the thread that subscribed, and without any lock
// of the endpoint held: it may subscribe, send (its own endpoint's subscribers
// are then called directly, on this same thread) and even release the last
// reference to the endpoint. While it runs, that endpoint serves no other
// message, so it should return promptly (senders wait at most 5 s).
class IKavoIPCCallback : public kvtl::IRefCounted
{
public:
    // payload is null when payloadSize is 0. The result is not used.
    virtual int OnMessage(const char* applicationName, const char* messageName,
                          uint32_t payloadSize, const void* payload) = 0;
};

} // namespace kvds
