#include "zelport/sim/link/HostIo.h"

#include <unistd.h>

#include "zelport/zelport.h"

extern "C" const ZELPORT_FILE_OPERATIONS ZelportFileOperations;

namespace devlink {

namespace {

// The library's own handles go through its file operations, as the tool's file calls do.
bool Served(intptr_t handle) {
    return ZelportFileOperations.owns(handle) != 0;
}

// The bytes moved, or -1 when `transfer` reports an error.
template <typename Transfer>
intptr_t Moved(const Transfer& transfer) {
    uint32_t moved = 0;
    const uint32_t error = transfer(&moved);
    return error == 0 ? static_cast<intptr_t>(moved) : -1;
}

}  // namespace

intptr_t HostIo::Read(intptr_t handle, void* buffer, size_t size) {
    if (Served(handle)) {
        return Moved([&](uint32_t* moved) {
            return ZelportFileOperations.read(handle, buffer, static_cast<uint32_t>(size), moved);
        });
    }
    return read(static_cast<int>(handle), buffer, size);
}

intptr_t HostIo::Write(intptr_t handle, const void* bytes, size_t size) {
    if (Served(handle)) {
        return Moved([&](uint32_t* moved) {
            return ZelportFileOperations.write(handle, bytes, static_cast<uint32_t>(size), moved);
        });
    }
    return write(static_cast<int>(handle), bytes, size);
}

bool HostIo::Close(intptr_t handle) {
    if (Served(handle)) {
        return ZelportFileOperations.close(handle) == 0;
    }
    return close(static_cast<int>(handle)) == 0;
}

}  // namespace devlink
