// A clock for tests: time moves only when slept on or advanced, so a run that waits minutes
// takes no real time. Any thread may advance it (a simulated device charges link time here).
#pragma once

#include <atomic>

#include "platform/Clock.h"

namespace win {

class VirtualClock final : public Clock {
public:
    explicit VirtualClock(DWORD start = 0) : m_now(start) {}

    DWORD Now() override;
    void Sleep(DWORD milliseconds) override;

    void Advance(DWORD milliseconds) { m_now.fetch_add(milliseconds); }
    void Set(DWORD now) { m_now.store(now); }
    // Every later reading of the clock first moves it on by this much (0: off). Lets a test
    // place the passing of time exactly between two operations that read the clock.
    void SetAdvancePerReading(DWORD milliseconds) { m_perReading.store(milliseconds); }
    DWORD SleptTotal() const { return m_slept.load(); }

private:
    std::atomic<DWORD> m_now;
    std::atomic<DWORD> m_perReading{0};
    std::atomic<DWORD> m_slept{0};
};

}  // namespace win
