#pragma once

#include "IKavoIPCCallback.h"
#include "IRefCounted.h"

#include <cstdint>
#include <string>

namespace kvds {

// Short named messages between the processes of one user. Names are UTF-8 (or
// UTF-16 in the wide forms), 1 to 256 characters.
class IKavoIPC : public kvtl::IRefCounted
{
public:
    // Adds subscriber under name; every message whose name starts with name
    // reaches it. keepExisting false first drops the subscribers already held
    // under that name. False for an empty name or a null subscriber.
    virtual bool Subscribe(const std::u16string& name, IKavoIPCCallback* subscriber,
                           bool keepExisting) = 0;
    virtual bool Subscribe(const char* name, IKavoIPCCallback* subscriber, bool keepExisting) = 0;

    // Hands the message synchronously to every participating process, this
    // one included. *count (when count is non-null) receives the number of
    // subscribers called in all of them. False for an empty or too long name,
    // a non-zero size without payload, or a payload too large to frame.
    virtual bool Send(const std::u16string& applicationName, const std::u16string& messageName,
                      uint32_t payloadSize, const void* payload, uint32_t* count) = 0;
    virtual bool Send(const char* applicationName, const char* messageName, uint32_t payloadSize,
                      const void* payload, uint32_t* count) = 0;
};

// Creates a started endpoint. On success *ipc holds one reference (the caller
// releases it) and true is returned; on failure *ipc is left null.
bool CreateKavoIPC(IKavoIPC** ipc);

} // namespace kvds
