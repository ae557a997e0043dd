#include "bench/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

thread_local AllocationCounter::Counts t_counts;

void* Allocate(size_t size) {
    AllocationCounter::Record(size);
    if (void* memory = std::malloc(size != 0 ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

void* AllocateOrNull(size_t size) noexcept {
    AllocationCounter::Record(size);
    return std::malloc(size != 0 ? size : 1);
}

}  // namespace

AllocationCounter::Counts AllocationCounter::OfThisThread() {
    return t_counts;
}

void AllocationCounter::Record(size_t bytes) {
    ++t_counts.allocations;
    t_counts.bytes += bytes;
}

// The replaceable global allocation functions; the aligned forms keep their defaults.
void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
