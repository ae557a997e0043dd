// Waits that process the thread's window messages, so that the windows keep working while the
// printer needs time, and that advance the progress window by elapsed time.
#include "app/ProgressDlg.h"
#include "app/UpdateDlg.h"
#include "platform/Kernel.h"
#include "platform/ui/User.h"

namespace {

constexpr DWORD kDefaultSlice = 100;

}  // namespace

void CUpdateDlg::PumpMessagesFor(DWORD milliseconds, UINT filterMin, UINT filterMax) {
    DWORD start = win::GetTickCount();
    for (;;) {
        win::MSG msg{};
        while (win::PeekMessage(&msg, nullptr, filterMin, filterMax, win::PM_REMOVE)) {
            win::TranslateMessage(&msg);
            win::DispatchMessage(&msg);
        }
        win::Sleep(1);
        const DWORD now = win::GetTickCount();
        if (now < start) {
            start = now;  // the tick count wrapped: count again from here
        }
        if (now - start >= milliseconds) {
            return;
        }
    }
}

BOOL CUpdateDlg::CloseRequested() {
    win::MSG msg{};
    while (win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
        win::TranslateMessage(&msg);
        win::DispatchMessage(&msg);
    }
    return IsModalLoopEnded();
}

void CUpdateDlg::WaitWithProgress(DWORD milliseconds, CProgressDlg* progress, DWORD slice) {
    if (progress == nullptr) {
        PumpMessagesFor(milliseconds);
        return;
    }
    WaitInSlices(milliseconds, progress, slice);
}

void CUpdateDlg::WaitInSlices(DWORD milliseconds, CProgressDlg* progress, DWORD slice) {
    if (slice == 0) {
        slice = kDefaultSlice;
    }
    const DWORD slices = milliseconds / slice;
    for (DWORD i = 0; i < slices; ++i) {
        PumpMessagesFor(slice);
        if (progress != nullptr) {
            progress->AdvanceByTime();
        }
    }
}
