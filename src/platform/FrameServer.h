#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Serves frames on a listening Unix-domain socket. A frame is an 8-byte header (a tag and the
// body length, two 32-bit little-endian words) and then the body. Connections are read side by
// side, each with one deadline for its whole frame, so a silent or trickling peer never delays
// another. Only peers of this user are served. A frame is never read past its stated length.
class FrameServer
{
public:
    struct Limits
    {
        uint32_t tag = 0;
        uint32_t minLength = 0;
        uint32_t maxLength = 0;
        int frameTimeoutMs = 0;
        // Beyond this many open connections the oldest is dropped.
        size_t maxConnections = 32;
    };
    // Called on the serving thread with each complete body. Returns the answer to send back;
    // setting *stop ends serving at once (without touching anything the handler may have freed).
    using Handler =
        std::function<std::string(const unsigned char* body, size_t length, bool* stop)>;

    // Serves until wakeFd becomes readable, poll fails or the handler stops it. A frame whose
    // header is refused (wrong tag, length outside the limits) is answered with refusal and
    // closed unread. Returns true when the handler stopped it. Closes the connections it
    // accepted, never listenFd or wakeFd.
    static bool Serve(int listenFd, int wakeFd, const Limits& limits, const std::string& refusal,
                      const Handler& handler);
    // The check Serve applies to each 8-byte header: the tag, and a body length within the
    // limits (returned in *length).
    static bool ParseHeader(const unsigned char* header, const Limits& limits, uint32_t* length);
};
