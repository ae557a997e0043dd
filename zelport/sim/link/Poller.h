// Waits for the library thread's descriptors: input or hang-up on any of them, a wake-up from
// another thread, or a time-out.
#pragma once

#include <span>
#include <vector>

namespace devlink {

class Poller {
public:
    struct Ready {
        int descriptor;
        bool readable;
        bool hungUp;
    };

    Poller();
    ~Poller();
    Poller(const Poller&) = delete;
    Poller& operator=(const Poller&) = delete;

    // False when the wake-up channel could not be created.
    bool IsValid() const { return m_wakeRead >= 0; }
    // Waits for input on the descriptors (hang-ups are always reported), for Wake, or for
    // `timeoutMs` (negative: no limit). Returns the descriptors that are ready; a wake-up is
    // consumed and not listed.
    std::vector<Ready> Wait(std::span<const int> descriptors, int timeoutMs);
    // Ends the current or next Wait early; callable from any thread.
    void Wake();

private:
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
};

}  // namespace devlink
