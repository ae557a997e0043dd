#include "zelport/sim/link/PacketPipe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace devlink {

namespace {

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<PacketPipe> PacketPipe::Create(uint32_t timeLimitMs, std::string& error) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        error = SystemError("socketpair");
        return nullptr;
    }
    const int host = ends[0];
    const int device = ends[1];
    timeval limit{};
    limit.tv_sec = static_cast<time_t>(timeLimitMs / 1000);
    limit.tv_usec = static_cast<suseconds_t>((timeLimitMs % 1000) * 1000);
    if (setsockopt(host, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0 ||
        setsockopt(host, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) != 0) {
        error = SystemError("setsockopt");
        close(host);
        close(device);
        return nullptr;
    }
    return std::unique_ptr<PacketPipe>(new PacketPipe(host, device));
}

PacketPipe::~PacketPipe() {
    if (m_hostEndOwned) {
        close(m_hostEnd);
    }
    CloseDeviceEnd();
}

intptr_t PacketPipe::TakeHostEnd() {
    m_hostEndOwned = false;
    return m_hostEnd;
}

PacketPipe::ReceiveResult PacketPipe::Receive(std::vector<uint8_t>& packet) {
    // MSG_TRUNC with MSG_PEEK gives the size of the next packet without taking it.
    uint8_t probe = 0;
    const ssize_t size = recv(m_deviceEnd, &probe, 1, MSG_PEEK | MSG_TRUNC | MSG_DONTWAIT);
    if (size < 0) {
        return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? ReceiveResult::Empty
                                                                           : ReceiveResult::Closed;
    }
    if (size == 0) {
        // An empty packet and the end of the stream read alike; the hang-up tells them apart.
        pollfd state{m_deviceEnd, POLLIN, 0};
        if (poll(&state, 1, 0) == 1 && (state.revents & POLLHUP) != 0) {
            return ReceiveResult::Closed;
        }
    }
    packet.resize(static_cast<size_t>(size));
    const ssize_t got = recv(m_deviceEnd, packet.data(), packet.size(), MSG_DONTWAIT);
    if (got < 0) {
        return ReceiveResult::Empty;
    }
    packet.resize(static_cast<size_t>(got));
    return ReceiveResult::Packet;
}

PacketPipe::SendResult PacketPipe::Send(std::span<const uint8_t> packet) {
    const ssize_t sent =
        send(m_deviceEnd, packet.data(), packet.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent >= 0) {
        return SendResult::Sent;
    }
    return (errno == EAGAIN || errno == EWOULDBLOCK) ? SendResult::Full : SendResult::Closed;
}

void PacketPipe::EndTowardsHost() {
    shutdown(m_deviceEnd, SHUT_WR);
}

void PacketPipe::CloseDeviceEnd() {
    if (m_deviceEnd >= 0) {
        close(m_deviceEnd);
        m_deviceEnd = -1;
    }
}

}  // namespace devlink
