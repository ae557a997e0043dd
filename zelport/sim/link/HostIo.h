// The tool's side of a pipe handle, as the platform's ReadFile, WriteFile and CloseHandle use
// it: through the library's file operations for its own handles, else one read(2), write(2)
// or close(2). For tests that stand in for the tool.
#pragma once

#include <cstddef>
#include <cstdint>

namespace devlink {

class HostIo {
public:
    // Bytes moved, or -1 on failure.
    static intptr_t Read(intptr_t handle, void* buffer, size_t size);
    static intptr_t Write(intptr_t handle, const void* bytes, size_t size);
    static bool Close(intptr_t handle);
};

}  // namespace devlink
