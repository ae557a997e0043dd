// The clocks of Clock.h on Windows: the real clock reads the steady clock (the performance
// counter: GetTickCount itself moves in steps of the 15.6 ms system tick) and sleeps with the
// real Sleep, with the system timer at its finest period, so that the waits' 1 ms passes take
// about 1 ms rather than a whole tick.
#include <chrono>

#include "platform/Kernel.h"
#include "platform/RealClock.h"
#include "platform/VirtualClock.h"
#include "platform/win32/NativeKernel.h"

namespace win {

namespace {

RealClock g_realClock;
Clock* g_clock = &g_realClock;

}  // namespace

DWORD RealClock::Now() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void RealClock::Sleep(DWORD milliseconds) {
    static const bool fineTimer = win32::RequestFineTimer();
    (void)fineTimer;
    win32::SleepFor(milliseconds);
}

DWORD VirtualClock::Now() {
    const DWORD step = m_perReading.load();
    if (step != 0) {
        return m_now.fetch_add(step) + step;
    }
    return m_now.load();
}

void VirtualClock::Sleep(DWORD milliseconds) {
    m_slept.fetch_add(milliseconds);
    m_now.fetch_add(milliseconds);
}

void SetClock(Clock* clock) {
    g_clock = clock != nullptr ? clock : &g_realClock;
}
Clock& CurrentClock() {
    return *g_clock;
}

DWORD GetTickCount() {
    return g_clock->Now();
}
void Sleep(DWORD milliseconds) {
    g_clock->Sleep(milliseconds);
}

}  // namespace win
