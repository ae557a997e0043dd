// Handles for tests of code that moves bytes over pipe handles: a packet pipe whose far end
// the test reads and writes, and a handle that takes only part of the next write.
#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace testing_support {

class PacketPipe {
public:
    PacketPipe();
    ~PacketPipe();
    PacketPipe(const PacketPipe&) = delete;
    PacketPipe& operator=(const PacketPipe&) = delete;

    // The end handed to the code under test; the code closes it itself.
    HANDLE NearEnd() const { return m_near; }
    // The packets written to the near end so far, each as one string; never blocks.
    std::vector<std::string> TakePackets();
    // Queues one packet that the near end can read.
    void Send(const std::string& packet);
    // Closes the far end, so that the near end's transfers fail or read nothing.
    void CloseFarEnd();

private:
    HANDLE m_near;
    HANDLE m_far;
};

// A handle on which write(2) takes exactly `accepted` bytes (1 to 4095) of a larger write and
// fails every write after that.
HANDLE CreateShortWriteHandle(unsigned accepted);

bool IsHandleOpen(HANDLE handle);
int CountOpenHandles();

}  // namespace testing_support
