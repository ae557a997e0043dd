#include "platform/testing/win32/NativeHandles.h"

#include <atomic>

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
    constexpr DWORD kBufferBytes = 64 * 1024;
    static std::atomic<unsigned> pipes{0};
    const std::string name = "\\\\.\\pipe\\rxt9-test-" + std::to_string(::GetCurrentProcessId()) +
                             "-" + std::to_string(++pipes);
    HANDLE server = ::CreateNamedPipeA(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
        kBufferBytes, kBufferBytes, 0, nullptr);
    if (server == INVALID_HANDLE_VALUE) {
        return false;
    }
    HANDLE client = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (client == INVALID_HANDLE_VALUE ||
        !::SetNamedPipeHandleState(client, &mode, nullptr, nullptr)) {
        if (client != INVALID_HANDLE_VALUE) {
            ::CloseHandle(client);
        }
        ::CloseHandle(server);
        return false;
    }
    nearEnd = reinterpret_cast<intptr_t>(client);
    farEnd = reinterpret_cast<intptr_t>(server);
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
