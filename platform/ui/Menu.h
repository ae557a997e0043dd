// A window's system menu, to which a program may append items.
#pragma once

#include <string>

#include "platform/ui/Window.h"

namespace win {

class CMenu {
public:
    explicit CMenu(HWND window = nullptr) : m_window(window) {}

    BOOL AppendMenu(UINT flags, UINT id = 0, LPCSTR text = nullptr);
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    std::string GetMenuString(int position) const;

private:
    HWND m_window;
};

}  // namespace win
