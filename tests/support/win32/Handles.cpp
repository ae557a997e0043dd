#include "tests/support/Handles.h"

#include <stdexcept>

#include "tests/support/win32/NativeHandles.h"

namespace testing_support {

HANDLE CreateShortWriteHandle(unsigned /*accepted*/) {
    throw std::runtime_error(
        "no handle takes a write short on Windows: a pipe's WriteFile moves all or nothing");
}

bool IsHandleOpen(HANDLE handle) {
    return win32::KernelHandleOpen(handle);
}

int CountOpenHandles() {
    return win32::ProcessHandleCount();
}

}  // namespace testing_support
