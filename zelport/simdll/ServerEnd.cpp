#include "zelport/simdll/ServerEnd.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace zelsim {

namespace {

constexpr DWORD kBufferBytes = 64 * 1024;

}  // namespace

ServerEnd::ServerEnd(void* server)
    : m_server(server),
      m_event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_buffer(kBufferBytes) {}

ServerEnd::~ServerEnd() {
    if (m_event != nullptr) {
        ::CloseHandle(m_event);
    }
}

uint32_t ServerEnd::Read(void* buffer, uint32_t size, uint32_t& moved,
                         const std::function<uint32_t()>& whileWaiting) {
    moved = 0;
    if (m_event == nullptr) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_event;
    ::ResetEvent(m_event);
    DWORD error = ERROR_SUCCESS;
    if (!::ReadFile(m_server, buffer, size, nullptr, &overlapped)) {
        error = ::GetLastError();
    }
    if (error == ERROR_IO_PENDING) {
        DWORD waitMs = whileWaiting ? whileWaiting() : INFINITE;
        while (::WaitForSingleObject(m_event, waitMs) == WAIT_TIMEOUT) {
            waitMs = whileWaiting();
        }
    }
    // A read that failed at once never started: it has no result to wait for.
    if (error != ERROR_SUCCESS && error != ERROR_IO_PENDING && error != ERROR_MORE_DATA) {
        return error;
    }
    DWORD done = 0;
    error = ::GetOverlappedResult(m_server, &overlapped, &done, TRUE) ? ERROR_SUCCESS
                                                                      : ::GetLastError();
    moved = done;
    return error;
}

uint32_t ServerEnd::Next(bool lookOnly, std::vector<uint8_t>& message,
                         const std::function<uint32_t()>& whileWaiting) {
    message.clear();
    uint32_t moved = 0;
    uint32_t error = Read(m_buffer.data(), lookOnly ? 0 : kBufferBytes, moved, whileWaiting);
    message.insert(message.end(), m_buffer.begin(), m_buffer.begin() + moved);
    if (!lookOnly) {
        while (error == ERROR_MORE_DATA) {
            error = Read(m_buffer.data(), kBufferBytes, moved, nullptr);
            message.insert(message.end(), m_buffer.begin(), m_buffer.begin() + moved);
        }
        return error;
    }
    if (error == ERROR_SUCCESS) {
        return error;  // an empty message, taken by the read
    }
    if (error != ERROR_MORE_DATA) {
        return error;
    }
    // The message waits in the pipe; peeking copies it without taking it.
    DWORD peeked = 0;
    DWORD left = 0;
    do {
        message.resize(message.size() + left);
        if (message.empty()) {
            message.resize(kBufferBytes);
        }
        if (!::PeekNamedPipe(m_server, message.data(), static_cast<DWORD>(message.size()), &peeked,
                             nullptr, &left)) {
            message.clear();
            return ::GetLastError();
        }
    } while (left > 0);
    message.resize(peeked);
    return ERROR_SUCCESS;
}

bool ServerEnd::Take() {
    uint32_t moved = 0;
    uint32_t error = ERROR_MORE_DATA;
    while (error == ERROR_MORE_DATA) {
        error = Read(m_buffer.data(), kBufferBytes, moved, nullptr);
    }
    return error == ERROR_SUCCESS;
}

}  // namespace zelsim
