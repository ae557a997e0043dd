// The base of every window object: owns the link between a window record and the object that
// handles its messages.
#pragma once

#include <string>

#include "platform/ui/Menu.h"
#include "platform/ui/Messages.h"
#include "platform/ui/User.h"
#include "platform/ui/Window.h"

namespace win {

struct RECT {
    LONG left, top, right, bottom;
};

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    CWnd* GetDlgItem(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    CMenu* GetSystemMenu(BOOL revert);
    HICON SetIcon(HICON icon, BOOL bigIcon);
    void GetClientRect(RECT* rect) const;
    CWnd* GetOwner() const;

    // Binds this object to an existing window, so that it receives the window's messages.
    void Attach(HWND window);
    HWND Detach();

    static CWnd* FromHandle(HWND window);

    HWND m_hWnd = nullptr;

private:
    CMenu m_systemMenu;
};

// Paints into a window between WM_PAINT's begin and end.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* window) : m_window(window) {}
    WPARAM GetSafeHdc() const;
    void DrawIcon(int x, int y, HICON icon);

private:
    CWnd* m_window;
};

constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
int GetSystemMetrics(int index);

}  // namespace win
