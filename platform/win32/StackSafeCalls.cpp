#include "platform/win32/StackSafeCalls.h"

#include <mutex>

#if defined(__i386__)
extern "C" {
// In StackSafeThunks.S: stub n calls rxt9_stack_safe_targets[n].
extern void* rxt9_stack_safe_targets[];
extern void* const rxt9_stack_safe_stubs[];
}
#endif

namespace win32 {

void* StackSafeCalls::EntryFor(void* function) {
#if defined(__i386__)
    if (function == nullptr) {
        return nullptr;
    }
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    // The same function gets the same stub again; a stub is never re-aimed, so a pointer that
    // the tool still holds keeps calling what it was looked up for.
    for (unsigned i = 0; i < kStubs; ++i) {
        if (rxt9_stack_safe_targets[i] == function) {
            return rxt9_stack_safe_stubs[i];
        }
        if (rxt9_stack_safe_targets[i] == nullptr) {
            rxt9_stack_safe_targets[i] = function;
            return rxt9_stack_safe_stubs[i];
        }
    }
    return nullptr;
#else
    return function;
#endif
}

}  // namespace win32
