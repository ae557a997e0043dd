#include "platform/win32/NativeWindows.h"

#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <utility>

#include "platform/win32/SystemLibrary.h"

namespace win32 {

namespace {

NativeDialogEvents* EventsOf(HWND dialog) {
    return reinterpret_cast<NativeDialogEvents*>(::GetWindowLongPtrA(dialog, DWLP_USER));
}

// An exception of a handler, held while user32's frames are on the stack (no exception may
// unwind through them) and thrown again once the call into user32 has returned.
std::exception_ptr g_carried;

void ThrowCarried() {
    if (g_carried) {
        std::rethrow_exception(std::exchange(g_carried, nullptr));
    }
}

INT_PTR HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    NativeDialogEvents* events = EventsOf(dialog);
    if (events == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_COMMAND:
            events->OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            // The frame's own commands (move, size, ...) stay with user32; closing and the
            // program's own items go to the framework.
            if ((wParam & 0xFFF0) == SC_CLOSE || (wParam & 0xFFF0) < 0xF000) {
                events->OnSysCommand(static_cast<uint32_t>(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            events->OnClose();
            return TRUE;
        case WM_QUERYENDSESSION:
            ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, events->OnQueryEndSession() ? TRUE : FALSE);
            return TRUE;
        case WM_ENDSESSION:
            events->OnEndSession(wParam != FALSE);
            ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_SHOWWINDOW:
            if (wParam != FALSE) {
                events->OnShown();
            }
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_carried) {
        return FALSE;  // the handlers wait until the exception has reached the program's code
    }
    try {
        return HandleDialogMessage(dialog, message, wParam, lParam);
    } catch (...) {
        g_carried = std::current_exception();
        return TRUE;
    }
}

HICON ProgramIcon(uint16_t iconId, bool big) {
    const int side = ::GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON);
    return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId),
                                           IMAGE_ICON, side, side, LR_SHARED));
}

}  // namespace

void NativeWindows::InitialiseControls() {
    // Loaded for the rest of the process, as its window classes serve every dialog.
    static const SystemLibrary comctl32("comctl32.dll");
    using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initialise = reinterpret_cast<Initialise>(comctl32.Proc("InitCommonControlsEx"));
    if (initialise != nullptr) {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        initialise(&controls);
    }
}

NativeWindow NativeWindows::CreateDialogWindow(const std::vector<uint8_t>& dialogTemplate,
                                               NativeWindow owner, NativeDialogEvents* events) {
    // The template must be DWORD-aligned; a vector's storage is.
    return ::CreateDialogIndirectParamA(
        ::GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
        static_cast<HWND>(owner), DialogProc, reinterpret_cast<LPARAM>(events));
}

std::vector<NativeWindow> NativeWindows::Controls(NativeWindow dialog) {
    std::vector<NativeWindow> controls;
    for (HWND child = ::GetWindow(static_cast<HWND>(dialog), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(child);
    }
    return controls;
}

void NativeWindows::Destroy(NativeWindow window) {
    ::SetWindowLongPtrA(static_cast<HWND>(window), DWLP_USER, 0);
    ::DestroyWindow(static_cast<HWND>(window));
}

void NativeWindows::SetText(NativeWindow window, const std::string& text) {
    ::SetWindowTextA(static_cast<HWND>(window), text.c_str());
}

std::string NativeWindows::WindowText(NativeWindow window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(static_cast<HWND>(window))) + 1,
                     '\0');
    text.resize(static_cast<size_t>(
        ::GetWindowTextA(static_cast<HWND>(window), text.data(), static_cast<int>(text.size()))));
    return text;
}

void NativeWindows::Enable(NativeWindow window, bool enable) {
    ::EnableWindow(static_cast<HWND>(window), enable ? TRUE : FALSE);
}

void NativeWindows::Show(NativeWindow window, bool show) {
    ::ShowWindow(static_cast<HWND>(window), show ? SW_SHOW : SW_HIDE);
}

void NativeWindows::Minimise(NativeWindow window, bool minimise) {
    ::ShowWindow(static_cast<HWND>(window), minimise ? SW_MINIMIZE : SW_RESTORE);
}

void NativeWindows::Focus(NativeWindow window) {
    ::SetFocus(static_cast<HWND>(window));
}

void NativeWindows::SetProgress(NativeWindow bar, int lower, int upper, int position, int step) {
    // Posted, not sent: a bar whose position changes repaints itself before the message returns,
    // 1.4 ms under Wine, and the waits would add that after each of their slices. Posted, the
    // bar repaints in the next pass of the message pump, inside the wait's own time.
    HWND control = static_cast<HWND>(bar);
    ::PostMessageA(control, PBM_SETRANGE32, static_cast<WPARAM>(lower), upper);
    ::PostMessageA(control, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
    ::PostMessageA(control, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void NativeWindows::SetIcon(NativeWindow window, uint16_t iconId, bool big) {
    ::SendMessageA(static_cast<HWND>(window), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                   reinterpret_cast<LPARAM>(ProgramIcon(iconId, big)));
}

void NativeWindows::AppendSystemMenu(NativeWindow window,
                                     const std::vector<NativeMenuItem>& items) {
    HMENU menu = ::GetSystemMenu(static_cast<HWND>(window), FALSE);
    if (menu == nullptr) {
        return;
    }
    for (const NativeMenuItem& item : items) {
        if (item.separator) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuA(menu, MF_STRING, item.id, item.text.c_str());
        }
    }
}

void NativeWindows::DrawIcon(NativeWindow window, int x, int y, uint16_t iconId) {
    HDC context = ::GetDC(static_cast<HWND>(window));
    if (context != nullptr) {
        ::DrawIcon(context, x, y, ProgramIcon(iconId, true));
        ::ReleaseDC(static_cast<HWND>(window), context);
    }
}

bool NativeWindows::PumpPending() {
    MSG msg{};
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            return false;
        }
        HWND root = msg.hwnd != nullptr ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        NativeDialogEvents* events = root != nullptr ? EventsOf(root) : nullptr;
        if (events != nullptr && msg.message == WM_KEYDOWN &&
            (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
            events->OnDialogKey(static_cast<int>(msg.wParam));
            continue;
        }
        // The rest of the dialog keyboard (Tab, arrows, Space) only moves the focus or
        // presses an enabled control, which the waits' handlers keep disabled.
        if (events != nullptr && ::IsDialogMessageA(root, &msg)) {
            ThrowCarried();
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        ThrowCarried();
    }
    return true;
}

void NativeWindows::WaitForMessages() {
    ::WaitMessage();
}

void NativeWindows::BlockShutdown(NativeWindow window, const wchar_t* reason) {
    using BlockReasonCreate = BOOL(WINAPI*)(HWND, LPCWSTR);
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    const auto create = reinterpret_cast<BlockReasonCreate>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "ShutdownBlockReasonCreate")));
    if (create != nullptr) {
        create(static_cast<HWND>(window), reason);
    }
}

void NativeWindows::UnblockShutdown(NativeWindow window) {
    using BlockReasonDestroy = BOOL(WINAPI*)(HWND);
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    const auto destroy = reinterpret_cast<BlockReasonDestroy>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "ShutdownBlockReasonDestroy")));
    if (destroy != nullptr) {
        destroy(static_cast<HWND>(window));
    }
}

int NativeWindows::ShowMessageBox(NativeWindow owner, const std::string& text,
                                  const std::string& caption, uint32_t type) {
    const int answer = ::MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), type);
    ThrowCarried();
    return answer;
}

}  // namespace win32
