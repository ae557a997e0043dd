// A pipe of the fake vendor library: the near end goes to the code under test, which closes
// it itself, and the test reads and writes the far end.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "zelport/sim/link/PacketPipe.h"

class FakePipe {
public:
    FakePipe();

    HANDLE NearEnd() const { return m_near; }
    // The packets written to the near end so far, each as one string; never blocks.
    std::vector<std::string> TakePackets();
    // Queues one packet that the near end can read.
    void Send(const std::string& packet);
    // The near end's reads get end of file once the packets queued so far are read.
    void EndTowardsNear() { m_pipe->EndTowardsHost(); }
    // Closes the far end, so that the near end's transfers fail or read nothing.
    void CloseFarEnd() { m_pipe->CloseDeviceEnd(); }

private:
    std::unique_ptr<devlink::PacketPipe> m_pipe;
    HANDLE m_near;
};
