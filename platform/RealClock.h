// The machine's steady clock, truncated to 32-bit milliseconds.
#pragma once

#include "platform/Clock.h"

namespace win {

class RealClock final : public Clock {
public:
    DWORD Now() override;
    void Sleep(DWORD milliseconds) override;
};

}  // namespace win
