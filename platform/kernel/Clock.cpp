// The installed clock and the virtual one; the real clock of each platform is defined apart
// (RealClock.cpp here, platform/win32/Win32Clock.cpp on Windows).
#include "platform/Kernel.h"
#include "platform/RealClock.h"
#include "platform/VirtualClock.h"

namespace win {

namespace {

RealClock g_realClock;
Clock* g_clock = &g_realClock;

}  // namespace

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
