#include "platform/testing/win32/NativeHandles.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace win32 {

bool KernelHandleOpen(intptr_t handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(reinterpret_cast<HANDLE>(handle), &flags) != 0;
}

int ProcessHandleCount() {
    DWORD count = 0;
    return ::GetProcessHandleCount(::GetCurrentProcess(), &count) ? static_cast<int>(count) : -1;
}

}  // namespace win32
