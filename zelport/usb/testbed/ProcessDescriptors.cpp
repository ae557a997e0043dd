#include "zelport/usb/testbed/ProcessDescriptors.h"

#include <dirent.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace zelusb {

int CountDescriptorsBesideSockets() {
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir("/proc/self/fd"), closedir);
    if (!directory) {
        return -1;
    }
    const int own = dirfd(directory.get());
    int count = 0;
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.' || name == std::to_string(own)) {
            continue;
        }
        std::string target(64, '\0');
        const ssize_t length =
            readlink(("/proc/self/fd/" + name).c_str(), target.data(), target.size());
        if (length > 0 && target.compare(0, 7, "socket:") == 0) {
            continue;
        }
        ++count;
    }
    return count;
}

}  // namespace zelusb
