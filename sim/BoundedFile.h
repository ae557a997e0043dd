// Reading the simulator's own files (its configuration, its state) only when they are regular
// files of a sensible size: a FIFO would block the reader for ever, a device such as /dev/zero
// would never end, and replacing a device with a file of ours would damage the system.
#pragma once

#include <cstddef>
#include <string>

namespace sim {

class BoundedFile {
public:
    static constexpr size_t kLimit = 1 << 20;

    // Empty when `path` is a regular file of at most kLimit bytes, or does not exist
    // (`exists` then says which); otherwise why it is refused.
    static std::string Refusal(const std::string& path, bool& exists);
    // The whole file, when Refusal has nothing against it and it can be read.
    static bool Read(const std::string& path, std::string& text, std::string& refusal);
};

}  // namespace sim
