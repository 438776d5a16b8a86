#pragma once

#include "FrameServer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The message block and its frame. Block, little-endian: application name
// (260 bytes, NUL-terminated), message name (260 bytes, NUL-terminated),
// payload size (4), payload (n), reserved zero (4): 528 + n bytes. Frame: the
// tag and the block length as two 32-bit words, then the block.
class KavoIPCBlock
{
public:
    static constexpr uint32_t kTag = 0x4B495043;
    static constexpr size_t kFrameHeaderSize = 8;
    static constexpr size_t kNameFieldSize = 260;
    static constexpr size_t kMaxNameLength = 256;
    static constexpr size_t kPayloadSizeOffset = 520;
    static constexpr size_t kPayloadOffset = 524;
    static constexpr size_t kOverhead = 528;
    // Receivers refuse longer blocks without reading them.
    static constexpr uint32_t kMaxPayloadSize = 16u * 1024u * 1024u;

    struct Message
    {
        const char* applicationName = nullptr;
        const char* messageName = nullptr;
        uint32_t payloadSize = 0;
        const void* payload = nullptr; // null when payloadSize is 0
    };

    // Checks the arguments of a send: names of 1 to 256 bytes, a payload for
    // a non-zero size, at most kMaxPayloadSize bytes.
    static bool IsValidSend(const char* applicationName, const char* messageName,
                            uint32_t payloadSize, const void* payload);
    // The whole frame (header and block) for a valid send.
    static std::vector<unsigned char> BuildFrame(const char* applicationName,
                                                 const char* messageName, uint32_t payloadSize,
                                                 const void* payload);
    // What a receiver takes: the tag, and a block of 528 .. 528 + kMaxPayloadSize bytes.
    static FrameServer::Limits FrameLimits();
    // Reads the 8-byte frame header, as the receiver does. False for a wrong tag or a block length
    // outside 528 .. 528 + kMaxPayloadSize.
    static bool ParseFrameHeader(const unsigned char* header, uint32_t* blockLength);
    // Interprets a received block of exactly length bytes without reading
    // past it. False when a name is empty or longer than 256 characters,
    // or when the stated payload size exceeds length - 528. The pointers of
    // message point into block.
    static bool ParseBlock(const unsigned char* block, size_t length, Message* message);

    static void PutU32(unsigned char* p, uint32_t v);
    static uint32_t GetU32(const unsigned char* p);
};
