#include "platform/win32/NativeDialog.h"

#include "platform/ui/Messages.h"
#include "platform/ui/UiBackend.h"
#include "platform/ui/User.h"
#include "platform/win32/DialogTemplateBytes.h"
#include "platform/win32/Win32Backend.h"

namespace win {

namespace {

// The frame's own commands, which the real system menu already carries.
constexpr UINT kFirstFrameCommand = 0xF000;

}  // namespace

NativeDialog::~NativeDialog() {
    if (m_native != nullptr) {
        win32::NativeWindows::Destroy(m_native);
    }
}

bool NativeDialog::Create(NativeDialog* owner) {
    m_native = win32::NativeWindows::CreateDialogWindow(
        win32::DialogTemplateBytes::Build(*m_dialog->DialogData()),
        owner != nullptr ? owner->Native() : nullptr, this);
    if (m_native == nullptr) {
        return false;
    }
    m_controls = win32::NativeWindows::Controls(m_native);
    // The framework's menu starts with the frame's commands; only later items are the
    // program's.
    m_menuItemsSeen = m_dialog->systemMenu.size();
    return m_controls.size() == m_dialog->children.size();
}

win32::NativeWindow NativeDialog::NativeOf(HWND window) const {
    if (window == m_dialog) {
        return m_native;
    }
    for (size_t i = 0; i < m_dialog->children.size() && i < m_controls.size(); ++i) {
        if (m_dialog->children[i].get() == window) {
            return m_controls[i];
        }
    }
    return nullptr;
}

void NativeDialog::AppendNewMenuItems() {
    std::vector<win32::NativeMenuItem> items;
    const std::vector<MenuItem>& menu = m_dialog->systemMenu;
    for (size_t i = m_menuItemsSeen; i < menu.size(); ++i) {
        const bool separator = (menu[i].flags & MF_SEPARATOR) != 0;
        if (separator || menu[i].id < kFirstFrameCommand) {
            items.push_back({separator, menu[i].id, menu[i].text});
        }
    }
    m_menuItemsSeen = menu.size();
    if (!items.empty()) {
        win32::NativeWindows::AppendSystemMenu(m_native, items);
    }
}

void NativeDialog::OnCommand(int id, int code) {
    HWND control = GetDlgItem(m_dialog, id);
    PostMessage(m_dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(control));
}

void NativeDialog::OnDialogKey(int key) {
    PostMessage(m_dialog, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
}

void NativeDialog::OnSysCommand(uint32_t command) {
    PostMessage(m_dialog, WM_SYSCOMMAND, command, 0);
}

void NativeDialog::OnClose() {
    PostMessage(m_dialog, WM_CLOSE, 0, 0);
}

void NativeDialog::OnShown() {
    NotifyWindowShown(m_dialog);
}

bool NativeDialog::OnQueryEndSession() {
    return m_backend.QueryEndSession();
}

void NativeDialog::OnEndSession(bool ending) {
    if (ending) {
        m_backend.EndSession();
    } else {
        m_backend.EndSessionCancelled();
    }
}

}  // namespace win
