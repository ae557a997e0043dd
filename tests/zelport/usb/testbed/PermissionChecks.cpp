#include "tests/zelport/usb/testbed/PermissionChecks.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cstdint>

namespace zelusb {

namespace {

constexpr uint32_t kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3> data{};

    bool Get() { return syscall(SYS_capget, &header, data.data()) == 0; }
    bool Set() { return syscall(SYS_capset, &header, data.data()) == 0; }
};

// Capabilities belong to the thread: the pid 0 of the header names the calling one.
bool ChangeOverrides(bool raise) {
    Capabilities capabilities;
    if (!capabilities.Get()) {
        return false;
    }
    const bool present = (capabilities.data[0].effective & kOverrides) != 0;
    if (present == raise) {
        return false;
    }
    if (raise) {
        capabilities.data[0].effective |= capabilities.data[0].permitted & kOverrides;
    } else {
        capabilities.data[0].effective &= ~kOverrides;
    }
    return capabilities.Set();
}

}  // namespace

PermissionChecks::PermissionChecks() : m_lowered(ChangeOverrides(false)) {}

PermissionChecks::~PermissionChecks() {
    if (m_lowered) {
        ChangeOverrides(true);
    }
}

}  // namespace zelusb
