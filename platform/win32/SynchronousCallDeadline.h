// A limit on the calling thread's blocking file call. A vendor library's ReadFile or WriteFile
// reaches its driver, which may never complete a transfer to a printer that stopped answering:
// the call would hold the program's one thread, and with it every window, for good. Once the
// limit has passed, a thread of the system's pool cancels the call (CancelSynchronousIo), which
// then fails with ERROR_OPERATION_ABORTED as a failed transfer does. An entry point of the
// library that itself never returns is no file call and cannot be cancelled.
#pragma once

#include <cstdint>

namespace win32 {

class SynchronousCallDeadline {
public:
    // Armed for the calling thread from now on; without a timer (out of resources) the call
    // goes on unbounded, as it would have before.
    explicit SynchronousCallDeadline(uint32_t limitMs);
    // Disarmed: a cancel that has already begun is waited for, so that it can never reach the
    // thread's next call.
    ~SynchronousCallDeadline();
    SynchronousCallDeadline(const SynchronousCallDeadline&) = delete;
    SynchronousCallDeadline& operator=(const SynchronousCallDeadline&) = delete;

private:
    static void __stdcall Expire(void* deadline, unsigned char timerFired);

    void* m_thread = nullptr;
    void* m_timer = nullptr;
};

}  // namespace win32
