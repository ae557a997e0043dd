#include "zelport/simdll/ServerPipes.h"

#include <algorithm>
#include <iostream>

#include "zelport/simdll/MessagePipe.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace zelsim {

namespace {

constexpr char kWho[] = "ZELPORT.dll (simulated printers): ";

}  // namespace

bool ServerPipes::ClientGone(void* server) {
    if (::PeekNamedPipe(server, nullptr, 0, nullptr, nullptr, nullptr)) {
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
}

std::shared_ptr<ServerPipes::Pipe> ServerPipes::Open(Pipe pipe, void*& client) {
    // Only the out-pipe's reader waits with a time limit, which needs overlapped reads. When
    // the library serves writes, the out-pipe buffers nothing, so that each write waits in the
    // pipe until the library takes or fails it. Otherwise the writes run ahead of the printer
    // by up to the pipe's buffer.
    const DWORD inBuffer =
        pipe.kind == Kind::Out && pipe.writesServed ? 0 : win32::kMessagePipeBufferBytes;
    win32::MessagePipeEnds ends;
    const uint32_t error =
        win32::OpenMessagePipe("rxt9-sim", pipe.kind == Kind::Out, inBuffer, ends);
    if (error != 0) {
        std::cerr << std::string(kWho) + "cannot open a pipe (error " + std::to_string(error) +
                         ")\n";
        return nullptr;
    }
    client = ends.client;
    pipe.server = ends.server;
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
