#include "tests/support/ProcessMemory.h"

#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define RXT9_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RXT9_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef RXT9_ADDRESS_SANITIZER
// The sanitizer runtime's count of live heap bytes (declared here: GCC ships no header for it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace testing_support {

namespace {

constexpr bool kAddressSanitizer =
#ifdef RXT9_ADDRESS_SANITIZER
    true;
#else
    false;
#endif

size_t HeapInUse() {
#ifdef RXT9_ADDRESS_SANITIZER
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
#endif
}

}  // namespace

ProcessMemory ProcessMemory::Current() {
    ProcessMemory memory;
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    std::ifstream statm("/proc/self/statm");
    size_t totalPages = 0;
    size_t residentPages = 0;
    size_t sharedPages = 0;
    if (statm >> totalPages >> residentPages >> sharedPages) {
        memory.residentBytes = residentPages * page;
        memory.fileBackedBytes = sharedPages * page;
    }
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            size_t kilobytes = 0;
            fields >> kilobytes;
            memory.peakResidentBytes = kilobytes * 1024;
        }
    }
    memory.heapInUseBytes = HeapInUse();
    return memory;
}

bool ProcessMemory::ResidentHoldsFreedMemory() {
    return kAddressSanitizer;
}

}  // namespace testing_support
