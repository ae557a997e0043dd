#include "tests/support/Handles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <stdexcept>

namespace testing_support {

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
