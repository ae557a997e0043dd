#include "tests/zelport/usb/testbed/ProcessDescriptors.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace zelusb {

std::vector<std::string> DescriptorsBesideSocketsAndEvents() {
    std::vector<std::string> descriptors;
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir("/proc/self/fd"), closedir);
    if (!directory) {
        return {"/proc/self/fd cannot be read"};
    }
    const int own = dirfd(directory.get());
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.' || name == std::to_string(own)) {
            continue;
        }
        std::string target(64, '\0');
        const ssize_t length =
            readlink(("/proc/self/fd/" + name).c_str(), target.data(), target.size());
        if (length <= 0) {
            continue;  // closed by another thread since the directory was read
        }
        const std::string link = target.substr(0, static_cast<size_t>(length));
        if (link.rfind("socket:", 0) == 0 || link == "anon_inode:[eventfd]") {
            continue;
        }
        std::string described = name;
        described += " -> ";
        described += link;
        descriptors.push_back(std::move(described));
    }
    std::sort(descriptors.begin(), descriptors.end());
    return descriptors;
}

}  // namespace zelusb
