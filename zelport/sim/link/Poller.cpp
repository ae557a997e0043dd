#include "zelport/sim/link/Poller.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace devlink {

Poller::Poller() {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) == 0) {
        m_wakeRead = ends[0];
        m_wakeWrite = ends[1];
    }
}

Poller::~Poller() {
    if (m_wakeRead >= 0) {
        close(m_wakeRead);
        close(m_wakeWrite);
    }
}

std::vector<Poller::Ready> Poller::Wait(std::span<const int> descriptors, int timeoutMs) {
    std::vector<pollfd> polled;
    polled.reserve(descriptors.size() + 1);
    polled.push_back({m_wakeRead, POLLIN, 0});
    for (int descriptor : descriptors) {
        polled.push_back({descriptor, POLLIN, 0});
    }
    std::vector<Ready> ready;
    const int count = poll(polled.data(), polled.size(), timeoutMs);
    if (count <= 0) {
        return ready;
    }
    if ((polled[0].revents & POLLIN) != 0) {
        char drain[64];
        while (read(m_wakeRead, drain, sizeof drain) > 0) {
        }
    }
    for (size_t i = 1; i < polled.size(); ++i) {
        const short events = polled[i].revents;
        if (events != 0) {
            ready.push_back({polled[i].fd, (events & POLLIN) != 0,
                             (events & (POLLHUP | POLLERR | POLLNVAL)) != 0});
        }
    }
    return ready;
}

void Poller::Wake() {
    const char signal = 1;
    // A full channel already holds a wake-up, so a failed send loses nothing.
    [[maybe_unused]] const ssize_t sent =
        send(m_wakeWrite, &signal, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
}

}  // namespace devlink
