#include "platform/testing/PacketPipe.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <stdexcept>

namespace testing_support {

PacketPipe::PacketPipe() {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        throw std::runtime_error("socketpair failed");
    }
    m_near = ends[0];
    m_far = ends[1];
    // A test that waits for a reply nobody sends fails instead of hanging.
    const timeval limit{2, 0};
    setsockopt(ends[0], SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    setsockopt(ends[0], SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
}

PacketPipe::~PacketPipe() {
    CloseFarEnd();
}

std::vector<std::string> PacketPipe::TakePackets() {
    std::vector<std::string> packets;
    std::string buffer(65536, '\0');
    for (;;) {
        const ssize_t count =
            recv(static_cast<int>(m_far), buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (count <= 0) {
            break;
        }
        packets.emplace_back(buffer.data(), static_cast<size_t>(count));
    }
    return packets;
}

void PacketPipe::Send(const std::string& packet) {
    if (send(static_cast<int>(m_far), packet.data(), packet.size(), 0) !=
        static_cast<ssize_t>(packet.size())) {
        throw std::runtime_error("send failed");
    }
}

void PacketPipe::CloseFarEnd() {
    if (m_far >= 0) {
        close(static_cast<int>(m_far));
        m_far = -1;
    }
}

HANDLE CreateShortWriteHandle(unsigned accepted) {
    // A sealed memory file that cannot grow: a write that starts `accepted` bytes before its
    // end fills it and stops there, on a page boundary, with the count written so far.
    constexpr unsigned kPage = 4096;
    const int fd = memfd_create("short-write", MFD_ALLOW_SEALING | MFD_CLOEXEC);
    if (fd < 0 || accepted == 0 || accepted >= kPage || ftruncate(fd, kPage) != 0 ||
        fcntl(fd, F_ADD_SEALS, F_SEAL_GROW | F_SEAL_SHRINK) != 0 ||
        lseek(fd, kPage - accepted, SEEK_SET) < 0) {
        throw std::runtime_error("cannot make a short-write handle");
    }
    return fd;
}

bool IsHandleOpen(HANDLE handle) {
    return fcntl(static_cast<int>(handle), F_GETFD) != -1;
}

int CountOpenHandles() {
    DIR* directory = opendir("/proc/self/fd");
    if (directory == nullptr) {
        return -1;
    }
    int count = 0;
    while (const dirent* entry = readdir(directory)) {
        if (entry->d_name[0] != '.') {
            ++count;
        }
    }
    closedir(directory);
    return count - 1;  // the directory's own descriptor
}

}  // namespace testing_support
