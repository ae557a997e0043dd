#include "platform/ui/Menu.h"

#include "platform/ui/Framework.h"
#include "platform/ui/Messages.h"

namespace win {

BOOL CMenu::AppendMenu(UINT flags, UINT id, LPCSTR text) {
    if (!IsWindow(m_window)) {
        return FALSE;
    }
    m_window->systemMenu.push_back({flags, (flags & MF_SEPARATOR) != 0 ? 0 : id,
                                    (flags & MF_SEPARATOR) != 0 || text == nullptr ? "" : text});
    return TRUE;
}

int CMenu::GetMenuItemCount() const {
    return IsWindow(m_window) ? static_cast<int>(m_window->systemMenu.size()) : -1;
}

UINT CMenu::GetMenuItemID(int position) const {
    if (position < 0 || position >= GetMenuItemCount()) {
        return 0xFFFFFFFF;
    }
    return m_window->systemMenu[static_cast<size_t>(position)].id;
}

std::string CMenu::GetMenuString(int position) const {
    if (position < 0 || position >= GetMenuItemCount()) {
        return {};
    }
    return m_window->systemMenu[static_cast<size_t>(position)].text;
}

}  // namespace win
