// Handles for tests of code that moves bytes over pipe handles, and a look at what the
// process holds open.
#pragma once

#include "platform/WinTypes.h"

namespace testing_support {

// A handle on which write(2) takes exactly `accepted` bytes (1 to 4095) of a larger write and
// fails every write after that. Throws where the system has none (Windows).
HANDLE CreateShortWriteHandle(unsigned accepted);

bool IsHandleOpen(HANDLE handle);
int CountOpenHandles();

}  // namespace testing_support
