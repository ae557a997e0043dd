// The program's allocations on one thread, counted, and one of them failing on demand as in a
// process out of memory. The library's calls are left out by running them Uncounted.
#pragma once

class FailingAllocator {
public:
    // Counts (or leaves out) the allocations of this thread for its lifetime.
    class Scope {
    public:
        explicit Scope(bool counting);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        bool m_previous;
    };

    // Restarts the count of this thread; the counted allocation of the given number (from 0)
    // will throw std::bad_alloc, none if it is negative.
    static void Start(long failing);
    static long Counted();
};
