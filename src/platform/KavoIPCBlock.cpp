#include "KavoIPCBlock.h"

#include "SocketIo.h"

#include <cstring>

void KavoIPCBlock::PutU32(unsigned char* p, uint32_t v)
{
    SocketIo::PutU32(p, v);
}

uint32_t KavoIPCBlock::GetU32(const unsigned char* p)
{
    return SocketIo::GetU32(p);
}

bool KavoIPCBlock::IsValidSend(const char* applicationName, const char* messageName,
                               uint32_t payloadSize, const void* payload)
{
    if (!applicationName || !messageName)
        return false;
    const size_t appLength = std::strlen(applicationName);
    const size_t msgLength = std::strlen(messageName);
    if (appLength == 0 || appLength > kMaxNameLength || msgLength == 0 ||
        msgLength > kMaxNameLength)
        return false;
    if (payloadSize != 0 && !payload)
        return false;
    return payloadSize <= kMaxPayloadSize;
}

std::vector<unsigned char> KavoIPCBlock::BuildFrame(const char* applicationName,
                                                    const char* messageName, uint32_t payloadSize,
                                                    const void* payload)
{
    const size_t blockLength = kOverhead + payloadSize;
    std::vector<unsigned char> frame(kFrameHeaderSize + blockLength, 0);
    PutU32(frame.data(), kTag);
    PutU32(frame.data() + 4, static_cast<uint32_t>(blockLength));
    unsigned char* block = frame.data() + kFrameHeaderSize;
    std::memcpy(block, applicationName, std::strlen(applicationName));
    std::memcpy(block + kNameFieldSize, messageName, std::strlen(messageName));
    PutU32(block + kPayloadSizeOffset, payloadSize);
    if (payloadSize)
        std::memcpy(block + kPayloadOffset, payload, payloadSize);
    return frame;
}

FrameServer::Limits KavoIPCBlock::FrameLimits()
{
    FrameServer::Limits limits;
    limits.tag = kTag;
    limits.minLength = kOverhead;
    limits.maxLength = kOverhead + kMaxPayloadSize;
    return limits;
}

bool KavoIPCBlock::ParseFrameHeader(const unsigned char* header, uint32_t* blockLength)
{
    return FrameServer::ParseHeader(header, FrameLimits(), blockLength);
}

bool KavoIPCBlock::ParseBlock(const unsigned char* block, size_t length, Message* message)
{
    if (!block || length < kOverhead)
        return false;
    const auto* app = reinterpret_cast<const char*>(block);
    const auto* msg = reinterpret_cast<const char*>(block + kNameFieldSize);
    // Names of 1 to 256 characters, as a sender writes them.
    if (!std::memchr(app, 0, kMaxNameLength + 1) || !std::memchr(msg, 0, kMaxNameLength + 1))
        return false;
    if (app[0] == 0 || msg[0] == 0)
        return false;
    const uint32_t size = GetU32(block + kPayloadSizeOffset);
    if (size > length - kOverhead)
        return false;
    message->applicationName = app;
    message->messageName = msg;
    message->payloadSize = size;
    message->payload = size ? block + kPayloadOffset : nullptr;
    return true;
}
