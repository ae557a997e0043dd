// The real clock on Windows (platform/kernel/Clock.cpp holds the rest): it reads the steady
// clock (the performance counter: GetTickCount itself moves in steps of the 15.6 ms system
// tick) and sleeps with the real Sleep, with the system timer at its finest period, so that
// the waits' 1 ms passes take about 1 ms rather than a whole tick.
#include <chrono>

#include "platform/RealClock.h"
#include "platform/win32/NativeKernel.h"

namespace win {

DWORD RealClock::Now() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void RealClock::Sleep(DWORD milliseconds) {
    static const bool fineTimer = win32::RequestFineTimer();
    (void)fineTimer;
    win32::SleepFor(milliseconds);
}

}  // namespace win
