// The clock behind GetTickCount and Sleep: 32-bit unsigned milliseconds that wrap.
#pragma once

#include "platform/WinTypes.h"

namespace win {

class Clock {
public:
    virtual ~Clock() = default;
    virtual DWORD Now() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

// Installs the clock that GetTickCount and Sleep use from now on; null restores the real one.
// The caller keeps the clock alive while it is installed.
void SetClock(Clock* clock);
Clock& CurrentClock();

}  // namespace win
