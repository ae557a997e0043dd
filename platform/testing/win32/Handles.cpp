#include "platform/testing/Handles.h"

#include "platform/testing/win32/NativeHandles.h"

namespace testing_support {

bool IsHandleOpen(HANDLE handle) {
    return win32::KernelHandleOpen(handle);
}

int CountOpenHandles() {
    return win32::ProcessHandleCount();
}

}  // namespace testing_support
