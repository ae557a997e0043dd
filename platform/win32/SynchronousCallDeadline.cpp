#include "platform/win32/SynchronousCallDeadline.h"

#include <windows.h>

namespace win32 {

SynchronousCallDeadline::SynchronousCallDeadline(uint32_t limitMs) {
    // GetCurrentThread is a pseudo handle that means the pool's thread there: the real one is
    // needed, with the right that CancelSynchronousIo asks for.
    HANDLE thread = nullptr;
    if (::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                          &thread, THREAD_TERMINATE, FALSE, 0) == FALSE) {
        return;
    }
    m_thread = thread;
    HANDLE timer = nullptr;
    if (::CreateTimerQueueTimer(&timer, nullptr, Expire, this, limitMs, 0, WT_EXECUTEONLYONCE) !=
        FALSE) {
        m_timer = timer;
    }
}

SynchronousCallDeadline::~SynchronousCallDeadline() {
    const DWORD error = ::GetLastError();  // the file call's, for its caller
    if (m_timer != nullptr) {
        ::DeleteTimerQueueTimer(nullptr, m_timer, INVALID_HANDLE_VALUE);
    }
    if (m_thread != nullptr) {
        ::CloseHandle(m_thread);
    }
    ::SetLastError(error);
}

void __stdcall SynchronousCallDeadline::Expire(void* deadline, unsigned char /*timerFired*/) {
    ::CancelSynchronousIo(static_cast<SynchronousCallDeadline*>(deadline)->m_thread);
}

}  // namespace win32
