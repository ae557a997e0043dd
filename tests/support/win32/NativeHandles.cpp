#include "tests/support/win32/NativeHandles.h"

#include "zelport/simdll/MessagePipe.h"

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

bool CreateMessagePipe(intptr_t& nearEnd, intptr_t& farEnd) {
    MessagePipeEnds ends;
    if (OpenMessagePipe("rxt9-test", false, kMessagePipeBufferBytes, ends) != 0) {
        return false;
    }
    nearEnd = reinterpret_cast<intptr_t>(ends.client);
    farEnd = reinterpret_cast<intptr_t>(ends.server);
    return true;
}

std::vector<std::string> TakeMessages(intptr_t end) {
    HANDLE handle = reinterpret_cast<HANDLE>(end);
    std::vector<std::string> messages;
    DWORD available = 0;
    DWORD messageBytes = 0;
    while (::PeekNamedPipe(handle, nullptr, 0, nullptr, &available, &messageBytes) &&
           available > 0) {
        std::string message(messageBytes, '\0');
        DWORD read = 0;
        if (!::ReadFile(handle, message.data(), messageBytes, &read, nullptr)) {
            break;
        }
        message.resize(read);
        messages.push_back(std::move(message));
    }
    return messages;
}

bool WriteMessage(intptr_t end, const std::string& message) {
    DWORD written = 0;
    return ::WriteFile(reinterpret_cast<HANDLE>(end), message.data(),
                       static_cast<DWORD>(message.size()), &written, nullptr) &&
           written == message.size();
}

}  // namespace win32
