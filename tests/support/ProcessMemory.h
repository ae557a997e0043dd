// The memory of the running process as the kernel and the allocator count it, for tests and
// benchmarks that check what a long run or a whole Download costs.
#pragma once

#include <cstddef>

namespace testing_support {

struct ProcessMemory {
    size_t residentBytes = 0;      // resident now
    size_t fileBackedBytes = 0;    // of that, pages backed by files (the program's own included)
    size_t peakResidentBytes = 0;  // the most that was resident at once since the start
    // What the program's live allocations hold, of every thread; unlike the resident size it
    // does not count what the allocator keeps after a free. Under AddressSanitizer its own
    // count, as its quarantine holds freed blocks back on purpose.
    size_t heapInUseBytes = 0;

    size_t AnonymousBytes() const { return residentBytes - fileBackedBytes; }

    // Read from /proc/self/statm, /proc/self/status and the allocator; zero where a figure
    // cannot be read.
    static ProcessMemory Current();
    // True under AddressSanitizer, whose quarantine keeps freed blocks resident: the resident
    // size then says little about what the program holds.
    static bool ResidentHoldsFreedMemory();
};

}  // namespace testing_support
