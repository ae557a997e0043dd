#include "zelport/sim/link/HostIo.h"

#include <unistd.h>

namespace devlink {

intptr_t HostIo::Read(intptr_t handle, void* buffer, size_t size) {
    return read(static_cast<int>(handle), buffer, size);
}

intptr_t HostIo::Write(intptr_t handle, const void* bytes, size_t size) {
    return write(static_cast<int>(handle), bytes, size);
}

bool HostIo::Close(intptr_t handle) {
    return close(static_cast<int>(handle)) == 0;
}

}  // namespace devlink
