#include "fuzz/FuzzClock.h"

#include "platform/Clock.h"

win::VirtualClock g_fuzzClock;

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    win::SetClock(&g_fuzzClock);
    return 0;
}
