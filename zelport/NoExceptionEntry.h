// The body of a C entry point, run so that no exception leaves the library: a call whose work
// cannot get the memory it needs fails as any other failed call of its kind does.
#pragma once

#include <new>

namespace zelport {

template <typename Result, typename Work>
Result NoExceptionEntry(Result failure, Work&& work) noexcept {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return failure;
    }
}

}  // namespace zelport
