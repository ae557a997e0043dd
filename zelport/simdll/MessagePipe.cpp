#include "zelport/simdll/MessagePipe.h"

#include <atomic>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace win32 {

uint32_t OpenMessagePipe(const std::string& prefix, bool overlappedServer, uint32_t serverInBytes,
                         MessagePipeEnds& ends) {
    static std::atomic<unsigned> pipes{0};
    const std::string name = "\\\\.\\pipe\\" + prefix + "-" +
                             std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(++pipes);
    HANDLE server = ::CreateNamedPipeA(
        name.c_str(),
        PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE |
            (overlappedServer ? FILE_FLAG_OVERLAPPED : 0),
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
        kMessagePipeBufferBytes, serverInBytes, 0, nullptr);
    if (server == INVALID_HANDLE_VALUE) {
        return ::GetLastError();
    }
    HANDLE client = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (client == INVALID_HANDLE_VALUE ||
        !::SetNamedPipeHandleState(client, &mode, nullptr, nullptr)) {
        const DWORD error = ::GetLastError();
        if (client != INVALID_HANDLE_VALUE) {
            ::CloseHandle(client);
        }
        ::CloseHandle(server);
        return error;
    }
    ends = {server, client};
    return 0;
}

}  // namespace win32
