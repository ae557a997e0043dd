// The kernel32 calls behind the handle helpers for tests, in plain C++ types, for sources
// that cannot include <windows.h> beside the platform's own Windows names.
#pragma once

#include <cstdint>

namespace win32 {

bool KernelHandleOpen(intptr_t handle);
// Kernel handles the process holds; -1 when the system does not tell.
int ProcessHandleCount();

}  // namespace win32
