#include "platform/ui/Wnd.h"

#include "platform/ui/Framework.h"
#include "platform/ui/User.h"

namespace win {

CWnd::~CWnd() {
    if (IsWindow(m_hWnd) && m_hWnd->object == this) {
        m_hWnd->object = nullptr;
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::DestroyWindow() {
    if (!IsWindow(m_hWnd)) {
        return FALSE;
    }
    HWND window = m_hWnd;
    if (!window->IsDialog()) {
        return FALSE;
    }
    SendMessage(WM_DESTROY);
    Framework& framework = Framework::Instance();
    framework.Backend().DestroyDialogWindow(window);
    for (auto& child : window->children) {
        if (child->object != nullptr) {
            child->object->m_hWnd = nullptr;
        }
    }
    window->object = nullptr;
    m_hWnd = nullptr;
    framework.RemoveDialog(window);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return win::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return win::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SetWindowText(const std::string& text) {
    win::SetWindowText(m_hWnd, text);
}
std::string CWnd::GetWindowText() const {
    return win::GetWindowText(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL enable) {
    return win::EnableWindow(m_hWnd, enable);
}
BOOL CWnd::IsWindowEnabled() const {
    return win::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::ShowWindow(int command) {
    return win::ShowWindow(m_hWnd, command);
}
BOOL CWnd::IsWindowVisible() const {
    return win::IsWindowVisible(m_hWnd);
}
BOOL CWnd::IsIconic() const {
    return win::IsIconic(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(win::GetDlgItem(m_hWnd, id));
}

void CWnd::SetDlgItemText(int id, const std::string& text) {
    win::SetWindowText(win::GetDlgItem(m_hWnd, id), text);
}

std::string CWnd::GetDlgItemText(int id) const {
    return win::GetWindowText(win::GetDlgItem(m_hWnd, id));
}

CMenu* CWnd::GetSystemMenu(BOOL /*revert*/) {
    if (!IsWindow(m_hWnd) || !m_hWnd->IsDialog() || (m_hWnd->Style() & WS_SYSMENU) == 0) {
        return nullptr;
    }
    m_systemMenu = CMenu(m_hWnd);
    return &m_systemMenu;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon != FALSE ? 1 : 0, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::GetClientRect(RECT* rect) const {
    *rect = {0, 0, 0, 0};
    if (!IsWindow(m_hWnd)) {
        return;
    }
    const DialogTemplate* dialog = m_hWnd->DialogData();
    if (dialog != nullptr) {
        rect->right = dialog->cx;
        rect->bottom = dialog->cy;
    } else {
        rect->right = m_hWnd->ControlData()->cx;
        rect->bottom = m_hWnd->ControlData()->cy;
    }
}

CWnd* CWnd::GetOwner() const {
    if (!IsWindow(m_hWnd)) {
        return nullptr;
    }
    HWND owner = m_hWnd->IsDialog() ? m_hWnd->owner : m_hWnd->parent;
    return FromHandle(owner);
}

void CWnd::Attach(HWND window) {
    m_hWnd = window;
    window->object = this;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    if (IsWindow(window) && window->object == this) {
        window->object = nullptr;
    }
    m_hWnd = nullptr;
    return window;
}

CWnd* CWnd::FromHandle(HWND window) {
    if (!IsWindow(window)) {
        return nullptr;
    }
    if (window->object != nullptr) {
        return window->object;
    }
    if (!window->wrapper) {
        // A plain control is handed out through a wrapper that only forwards to the defaults.
        window->wrapper = std::make_unique<CWnd>();
        window->wrapper->m_hWnd = window;
    }
    return window->wrapper.get();
}

WPARAM CPaintDC::GetSafeHdc() const {
    return reinterpret_cast<WPARAM>(m_window->m_hWnd);
}

void CPaintDC::DrawIcon(int x, int y, HICON icon) {
    Framework::Instance().Backend().DrawIcon(m_window->m_hWnd, x, y, icon);
}

int GetSystemMetrics(int index) {
    return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
}

}  // namespace win
