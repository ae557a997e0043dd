#include "tests/update/FailingAllocator.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

thread_local bool t_counting = false;
thread_local long t_allocations = 0;
thread_local long t_failing = -1;

}  // namespace

FailingAllocator::Scope::Scope(bool counting) : m_previous(t_counting) {
    t_counting = counting;
}

FailingAllocator::Scope::~Scope() {
    t_counting = m_previous;
}

void FailingAllocator::Start(long failing) {
    t_allocations = 0;
    t_failing = failing;
}

long FailingAllocator::Counted() {
    return t_allocations;
}

// The replaceable allocation functions; the array, nothrow and aligned forms keep their
// defaults, which come here.
void* operator new(std::size_t size) {
    if (t_counting && t_allocations++ == t_failing) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}
