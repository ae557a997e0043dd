// A handle of a file that the code under test never opened, such as a misbehaving vendor
// library might hand out for a printer's pipe.
#pragma once

#include "platform/WinTypes.h"

namespace testing_support {

// INVALID_HANDLE_VALUE when the file cannot be opened; the receiver closes the handle.
HANDLE OpenForeignFile(const char* path, bool forWriting);

}  // namespace testing_support
