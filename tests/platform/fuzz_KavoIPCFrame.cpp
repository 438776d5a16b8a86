// libFuzzer target for a received messaging frame: whatever the bytes, the header and block
// checks must not read outside the frame, and an accepted block must carry terminated names
// and a payload inside it, and build back into the same fields.
#include "KavoIPCBlock.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < KavoIPCBlock::kFrameHeaderSize)
        return 0;
    uint32_t length = 0;
    if (!KavoIPCBlock::ParseFrameHeader(data, &length))
        return 0;
    if (length < KavoIPCBlock::kOverhead ||
        length - KavoIPCBlock::kOverhead > KavoIPCBlock::kMaxPayloadSize)
        std::abort(); // a header beyond the limits was accepted
    // The receiver hands over exactly the announced length; a short input is a truncated frame.
    const size_t available = size - KavoIPCBlock::kFrameHeaderSize;
    if (available < length)
        return 0;
    // A copy of exactly that length, so ASan sees any read past it.
    const std::vector<unsigned char> block(data + KavoIPCBlock::kFrameHeaderSize,
                                           data + KavoIPCBlock::kFrameHeaderSize + length);
    KavoIPCBlock::Message message;
    if (!KavoIPCBlock::ParseBlock(block.data(), block.size(), &message))
        return 0;
    const size_t appLength = std::strlen(message.applicationName);
    const size_t msgLength = std::strlen(message.messageName);
    if (message.payloadSize > length - KavoIPCBlock::kOverhead ||
        (message.payloadSize == 0) != (message.payload == nullptr) ||
        !KavoIPCBlock::IsValidSend(message.applicationName, message.messageName,
                                   message.payloadSize, message.payload))
        std::abort();
    const std::vector<unsigned char> frame = KavoIPCBlock::BuildFrame(
        message.applicationName, message.messageName, message.payloadSize, message.payload);
    KavoIPCBlock::Message again;
    if (!KavoIPCBlock::ParseBlock(frame.data() + KavoIPCBlock::kFrameHeaderSize,
                                  frame.size() - KavoIPCBlock::kFrameHeaderSize, &again) ||
        std::strcmp(again.applicationName, message.applicationName) != 0 ||
        std::strcmp(again.messageName, message.messageName) != 0 ||
        again.payloadSize != message.payloadSize ||
        (message.payloadSize &&
         std::memcmp(again.payload, message.payload, message.payloadSize) != 0) ||
        appLength == 0 || msgLength == 0)
        std::abort();
    return 0;
}
