// A named pipe in message mode with both of its ends open in this process: each write is one
// message and each read takes one. It stands in for a driver's pipe handle, in the simulated
// vendor library and in the tests' fake pipes alike.
#pragma once

#include <cstdint>
#include <string>

namespace win32 {

// What each end buffers of the other's writes, unless told otherwise.
constexpr uint32_t kMessagePipeBufferBytes = 64 * 1024;

struct MessagePipeEnds {
    void* server = nullptr;
    void* client = nullptr;
};

// Creates the pipe under a name of its own that starts with `prefix`, and connects its client
// end in message read mode. An overlapped server end can wait with time limits; `serverInBytes` is
// what the server end buffers of the client's writes. Returns 0, or the system's error code with
// nothing left open.
uint32_t OpenMessagePipe(const std::string& prefix, bool overlappedServer, uint32_t serverInBytes,
                         MessagePipeEnds& ends);

}  // namespace win32
