#include "platform/ui/User.h"

#include <algorithm>

#include "platform/Kernel.h"
#include "platform/ui/Framework.h"
#include "platform/ui/Wnd.h"

namespace win {

namespace {

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0) {
        return true;
    }
    return message >= filterMin && message <= filterMax;
}

bool BelongsTo(HWND window, HWND filter) {
    return filter == nullptr || window == filter || (window != nullptr && window->parent == filter);
}

HWND TopLevelOf(HWND window) {
    return window->parent != nullptr ? window->parent : window;
}

void Notify(HWND window, WindowChange change) {
    Framework::Instance().Backend().WindowChanged(window, change);
}

LRESULT ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ProgressState& bar = window->progress;
    switch (message) {
        case PBM_SETRANGE: {
            const ProgressState before = bar;
            const int previous =
                MAKELPARAM(static_cast<WORD>(bar.lower), static_cast<WORD>(bar.upper));
            bar.lower = static_cast<short>(LOWORD(static_cast<uintptr_t>(lParam)));
            bar.upper = static_cast<short>(HIWORD(static_cast<uintptr_t>(lParam)));
            bar.position = std::clamp(bar.position, bar.lower, std::max(bar.lower, bar.upper));
            if (bar != before) {
                Notify(window, WindowChange::Progress);
            }
            return previous;
        }
        case PBM_SETPOS: {
            const int previous = bar.position;
            bar.position = std::clamp(static_cast<int>(static_cast<intptr_t>(wParam)), bar.lower,
                                      std::max(bar.lower, bar.upper));
            if (bar.position != previous) {
                Notify(window, WindowChange::Progress);
            }
            return previous;
        }
        case PBM_SETSTEP: {
            const int previous = bar.step;
            bar.step = static_cast<int>(static_cast<intptr_t>(wParam));
            if (bar.step != previous) {
                Notify(window, WindowChange::Progress);
            }
            return previous;
        }
        case PBM_GETPOS:
            return bar.position;
        default:
            return 0;
    }
}

}  // namespace

LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr) {
        return 0;
    }
    if (!window->IsDialog()) {
        const ControlTemplate* control = window->ControlData();
        if (control->kind == ControlKind::ProgressBar && message >= PBM_SETRANGE &&
            message <= PBM_GETPOS) {
            return ProgressProc(window, message, wParam, lParam);
        }
        if (message == BM_CLICK && control->kind == ControlKind::Button) {
            if (window->enabled && window->visible && window->parent->enabled) {
                SendMessage(window->parent, WM_COMMAND,
                            MAKEWPARAM(static_cast<WORD>(control->id), BN_CLICKED),
                            reinterpret_cast<LPARAM>(window));
            }
            return 0;
        }
    }
    switch (message) {
        case WM_SETTEXT:
            SetWindowText(window, reinterpret_cast<const char*>(lParam));
            return TRUE;
        case WM_SETICON: {
            HICON icon = reinterpret_cast<HICON>(lParam);
            HICON previous = wParam != 0 ? window->bigIcon : window->smallIcon;
            (wParam != 0 ? window->bigIcon : window->smallIcon) = icon;
            Notify(window, WindowChange::Icon);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    SendMessage(window, WM_CLOSE, 0, 0);
                    return 0;
                case SC_MINIMIZE:
                    ShowWindow(window, SW_MINIMIZE);
                    return 0;
                case SC_RESTORE:
                    ShowWindow(window, SW_RESTORE);
                    return 0;
                default:
                    return 0;
            }
        case WM_CLOSE:
            if (window->object != nullptr) {
                window->object->DestroyWindow();
            }
            return 0;
        default:
            return 0;
    }
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && !Framework::Instance().Contains(window)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Framework::Instance().Queue().push_back({window, message, wParam, lParam, GetTickCount()});
    return TRUE;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Framework::Instance().Contains(window)) {
        return 0;
    }
    if (window->object != nullptr) {
        return window->object->WindowProc(message, wParam, lParam);
    }
    return DefaultWindowProc(window, message, wParam, lParam);
}

BOOL PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    Framework& framework = Framework::Instance();
    framework.Backend().PollInput();
    auto& queue = framework.Queue();
    const auto found = std::find_if(queue.begin(), queue.end(), [&](const MSG& queued) {
        return BelongsTo(queued.hwnd, window) && InRange(queued.message, filterMin, filterMax);
    });
    if (found == queue.end()) {
        return FALSE;
    }
    *msg = *found;
    if ((removeFlags & PM_REMOVE) != 0) {
        queue.erase(found);
    }
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (msg->message != WM_KEYDOWN || (msg->wParam != VK_RETURN && msg->wParam != VK_ESCAPE)) {
        return FALSE;
    }
    PostMessage(msg->hwnd, WM_CHAR, msg->wParam, msg->lParam);
    return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg->hwnd == nullptr) {
        return 0;
    }
    return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL IsDialogMessage(HWND dialog, MSG* msg) {
    if (dialog == nullptr || msg->hwnd == nullptr || !Framework::Instance().Contains(dialog) ||
        TopLevelOf(msg->hwnd) != dialog) {
        return FALSE;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        const LRESULT defId = SendMessage(dialog, DM_GETDEFID, 0, 0);
        const int id = HIWORD(static_cast<uintptr_t>(defId)) == DC_HASDEFID
                           ? LOWORD(static_cast<uintptr_t>(defId))
                           : IDOK;
        HWND button = GetDlgItem(dialog, id);
        if (button == nullptr || (button->enabled && button->visible)) {
            SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                        reinterpret_cast<LPARAM>(button));
        }
        return TRUE;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return TRUE;
    }
    DispatchMessage(msg);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    PostMessage(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

BOOL IsWindow(HWND window) {
    return Framework::Instance().Contains(window) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    if (!IsWindow(window)) {
        return FALSE;
    }
    const BOOL wasDisabled = window->enabled ? FALSE : TRUE;
    if (window->enabled != (enable != FALSE)) {
        window->enabled = enable != FALSE;
        Notify(window, WindowChange::Enabled);
        SendMessage(window, WM_ENABLE, enable != FALSE ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    return IsWindow(window) && window->enabled ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command) {
    if (!IsWindow(window)) {
        return FALSE;
    }
    const BOOL wasVisible = window->visible ? TRUE : FALSE;
    if (command == SW_MINIMIZE || command == SW_RESTORE) {
        const bool minimise = command == SW_MINIMIZE;
        if (window->minimised != minimise) {
            window->minimised = minimise;
            Notify(window, WindowChange::Minimised);
        }
        return wasVisible;
    }
    const bool show = command != SW_HIDE;
    if (window->visible != show) {
        window->visible = show;
        if (window->IsDialog()) {
            Framework::Instance().Backend().ShowDialogWindow(window, show);
        } else {
            Notify(window, WindowChange::Visible);
        }
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND window) {
    return IsWindow(window) && window->visible ? TRUE : FALSE;
}
BOOL IsIconic(HWND window) {
    return IsWindow(window) && window->minimised ? TRUE : FALSE;
}

BOOL SetWindowText(HWND window, const std::string& text) {
    if (!IsWindow(window)) {
        return FALSE;
    }
    if (window->text != text) {
        window->text = text;
        Notify(window, WindowChange::Text);
    }
    return TRUE;
}

std::string GetWindowText(HWND window) {
    return IsWindow(window) ? window->text : std::string();
}

HWND GetDlgItem(HWND dialog, int id) {
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    for (const auto& child : dialog->children) {
        if (child->Id() == id) {
            return child.get();
        }
    }
    return nullptr;
}

HWND GetActiveWindow() {
    // The newest visible dialog that takes input: the one the user is working in.
    const auto dialogs = Framework::Instance().Dialogs();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
        if ((*it)->visible && (*it)->enabled) {
            return *it;
        }
    }
    return nullptr;
}

HWND GetFocus() {
    HWND active = GetActiveWindow();
    return active != nullptr ? active->focus : nullptr;
}

HWND SetFocus(HWND window) {
    if (!IsWindow(window)) {
        return nullptr;
    }
    HWND dialog = TopLevelOf(window);
    HWND previous = dialog->focus;
    dialog->focus = window == dialog ? nullptr : window;
    Notify(window, WindowChange::Focus);
    return previous;
}

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    // A message box is modal to its owner: the owner takes no input until it is answered. A
    // host box that disables its owner itself also enables it before the box goes, so that
    // the owner, not another program, is active again; the record then stays as it is.
    UiBackend& backend = Framework::Instance().Backend();
    const bool disableOwner = !backend.BoxDisablesItsOwner() && IsWindow(owner) && owner->enabled;
    if (disableOwner) {
        EnableWindow(owner, FALSE);
    }
    const int result =
        backend.ShowMessageBox(IsWindow(owner) ? owner : nullptr, text != nullptr ? text : "",
                               caption != nullptr ? caption : "Error", type);
    if (disableOwner) {
        EnableWindow(owner, TRUE);
    }
    return result;
}

HICON LoadIcon(WORD id) {
    return FindResourceA(nullptr, id, "ICON");
}

}  // namespace win
