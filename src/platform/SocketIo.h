#pragma once

#include <chrono>
#include <cstddef>
#include <string>

struct sockaddr_un;

// Socket I/O bounded by one deadline for a whole exchange (not per read), shared by the
// launcher channel and the messaging. Works on blocking and non-blocking descriptors alike.
class SocketIo
{
public:
    using Clock = std::chrono::steady_clock;
    using Deadline = Clock::time_point;

    static Deadline After(int ms);
    // Milliseconds until the deadline, rounded up, for poll(); 0 once it has passed.
    static int MillisecondsLeft(Deadline deadline);

    // Waits until the descriptor reports one of events (or a hang-up or error). False at the
    // deadline or on a failed poll.
    static bool WaitFor(int fd, short events, Deadline deadline);
    // Move exactly size bytes. False on an error, a closed peer or the deadline.
    static bool WriteAll(int fd, const void* data, size_t size, Deadline deadline);
    static bool ReadAll(int fd, void* data, size_t size, Deadline deadline);

    // Connects a non-blocking, close-on-exec stream socket to the Unix-domain socket at path.
    // Returns the descriptor, or -1 with *error set: ECONNREFUSED or ENOENT when nobody
    // listens there, ETIMEDOUT when a listener stayed too busy to take the connection.
    static int ConnectLocal(const std::string& path, Deadline deadline, int* error);
    // False when path does not fit an address.
    static bool FillAddress(const std::string& path, sockaddr_un* address);

    static void PutU32(unsigned char* p, unsigned v);
    static unsigned GetU32(const unsigned char* p);
};
