// The window functions of the Windows platform: the thread's message queue and pump, posted
// and sent messages, window state and message boxes.
#pragma once

#include <string>

#include "platform/ui/Messages.h"
#include "platform/ui/Window.h"

namespace win {

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
};

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
BOOL IsDialogMessage(HWND dialog, MSG* msg);
void PostQuitMessage(int exitCode);

BOOL IsWindow(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);
BOOL SetWindowText(HWND window, const std::string& text);
std::string GetWindowText(HWND window);
HWND GetDlgItem(HWND dialog, int id);
HWND GetFocus();
HWND SetFocus(HWND window);
HWND GetActiveWindow();

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

HICON LoadIcon(WORD id);

// The dialogs that exist, in the order they were created.
std::vector<HWND> TopLevelWindows();

}  // namespace win
