// Counts the allocations that the calling thread makes through operator new, so that a
// benchmark can show what the tool's side allocates (the simulated printer's thread keeps
// counts of its own). The benchmark program replaces the global operator new to feed it.
#pragma once

#include <cstddef>

class AllocationCounter {
public:
    struct Counts {
        size_t allocations = 0;
        size_t bytes = 0;
    };

    // The calling thread's counts since it started.
    static Counts OfThisThread();
    static void Record(size_t bytes);
};
