// The kernel32 calls behind the handle helpers for tests, in plain C++ types, for sources
// that cannot include <windows.h> beside the platform's own Windows names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace win32 {

bool KernelHandleOpen(intptr_t handle);
// Kernel handles the process holds; -1 when the system does not tell.
int ProcessHandleCount();

// A connected message-mode named pipe, both ends in message read mode: each write is one
// message. False, with nothing open, when the system refuses.
bool CreateMessagePipe(intptr_t& nearEnd, intptr_t& farEnd);
// The messages waiting at an end, taken without waiting for more.
std::vector<std::string> TakeMessages(intptr_t end);
bool WriteMessage(intptr_t end, const std::string& message);

}  // namespace win32
