// A pipe of the fake vendor library: the near end goes to the code under test, which closes
// it itself, and the test reads and writes the far end. Each write is one packet, as on the
// printer's pipes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "tests/support/NonCopyable.h"

class FakePipe : testing_support::NonCopyable {
public:
    FakePipe();
    ~FakePipe();

    HANDLE NearEnd() const { return m_near; }
    // The packets written to the near end so far, each as one string; never blocks.
    std::vector<std::string> TakePackets();
    // Queues one packet that the near end can read.
    void Send(const std::string& packet);
    // The near end's reads end once the packets queued so far are read.
    void EndTowardsNear();
    // Closes the far end, so that the near end's transfers fail or read nothing.
    void CloseFarEnd();

private:
    // The far end on this system.
    struct FarEnd;

    std::unique_ptr<FarEnd> m_far;
    HANDLE m_near = INVALID_HANDLE_VALUE;
};
