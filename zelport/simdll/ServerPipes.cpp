#include "zelport/simdll/ServerPipes.h"

#include <algorithm>
#include <iostream>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace zelsim {

namespace {

constexpr DWORD kPipeBufferBytes = 64 * 1024;
constexpr char kWho[] = "ZELPORT.dll (simulated printers): ";

}  // namespace

bool ServerPipes::ClientGone(void* server) {
    if (::PeekNamedPipe(server, nullptr, 0, nullptr, nullptr, nullptr)) {
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
}

std::shared_ptr<ServerPipes::Pipe> ServerPipes::Open(Pipe pipe, const std::string& name,
                                                     void*& client) {
    // Only the out-pipe's reader waits with a time limit, which needs overlapped reads. When
    // the library serves writes, the out-pipe buffers nothing, so that each write waits in the
    // pipe until the library takes or fails it. Otherwise the writes run ahead of the printer
    // by up to the pipe's buffer.
    const DWORD overlapped = pipe.kind == Kind::Out ? FILE_FLAG_OVERLAPPED : 0;
    const DWORD inBuffer = pipe.kind == Kind::Out && pipe.writesServed ? 0 : kPipeBufferBytes;
    HANDLE server = ::CreateNamedPipeA(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | overlapped,
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
        kPipeBufferBytes, inBuffer, 0, nullptr);
    if (server == INVALID_HANDLE_VALUE) {
        std::cerr << std::string(kWho) + "cannot create " + name + " (error " +
                         std::to_string(::GetLastError()) + ")\n";
        return nullptr;
    }
    client = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (client == INVALID_HANDLE_VALUE ||
        !::SetNamedPipeHandleState(client, &mode, nullptr, nullptr)) {
        std::cerr << std::string(kWho) + "cannot open " + name + " (error " +
                         std::to_string(::GetLastError()) + ")\n";
        if (client != INVALID_HANDLE_VALUE) {
            ::CloseHandle(client);
        }
        ::CloseHandle(server);
        return nullptr;
    }
    pipe.server = server;
    auto entry = std::make_shared<Pipe>(pipe);
    m_pipes.push_back(entry);
    return entry;
}

void ServerPipes::Close(const std::shared_ptr<Pipe>& pipe) {
    ::CloseHandle(pipe->server);
    std::erase(m_pipes, pipe);
}

void ServerPipes::CloseAllButOut() {
    std::erase_if(m_pipes, [](const auto& pipe) {
        if (pipe->kind == Kind::Out) {
            return false;
        }
        ::CloseHandle(pipe->server);
        return true;
    });
}

void ServerPipes::Deliver(size_t printer, uint64_t generation, const std::vector<uint8_t>& reply) {
    for (auto it = m_pipes.rbegin(); it != m_pipes.rend(); ++it) {
        const Pipe& in = **it;
        if (in.kind == Kind::In && in.printer == printer && in.generation == generation) {
            DWORD written = 0;
            ::WriteFile(in.server, reply.data(), static_cast<DWORD>(reply.size()), &written,
                        nullptr);
            return;
        }
    }
}

void ServerPipes::Break(size_t printer, Kind kind, uint64_t generation) {
    std::erase_if(m_pipes, [&](const auto& pipe) {
        if (pipe->kind != kind || pipe->printer != printer || pipe->generation != generation) {
            return false;
        }
        ::CloseHandle(pipe->server);
        return true;
    });
}

void ServerPipes::CloseAbandoned() {
    std::erase_if(m_pipes, [](const auto& pipe) {
        if (pipe->kind == Kind::Out || !ClientGone(pipe->server)) {
            return false;
        }
        ::CloseHandle(pipe->server);
        return true;
    });
}

uint32_t ServerPipes::OpenOnToolSide() const {
    return static_cast<uint32_t>(
        std::count_if(m_pipes.begin(), m_pipes.end(),
                      [](const auto& pipe) { return !ClientGone(pipe->server); }));
}

uint32_t ServerPipes::UntakenBytes() const {
    uint32_t untaken = 0;
    for (const auto& pipe : m_pipes) {
        DWORD available = 0;
        if (pipe->kind == Kind::Out &&
            ::PeekNamedPipe(pipe->server, nullptr, 0, nullptr, &available, nullptr)) {
            untaken += available;
        }
    }
    return untaken;
}

}  // namespace zelsim
