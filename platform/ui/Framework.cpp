#include "platform/ui/Framework.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Wnd.h"

namespace win {

Window::Window(const DialogTemplate* dialog, const ControlTemplate* control, Window* parentWindow)
    : parent(parentWindow), m_dialog(dialog), m_control(control) {
    if (control != nullptr) {
        text = control->text;
        visible = (control->style & WS_VISIBLE) != 0;
        enabled = (control->style & WS_DISABLED) == 0;
        return;
    }
    text = dialog->caption;
    enabled = (dialog->style & WS_DISABLED) == 0;
    if ((dialog->style & WS_SYSMENU) != 0) {
        systemMenu = {{MF_STRING, SC_MOVE, "&Move"}, {MF_STRING, SC_CLOSE, "&Close"}};
    }
    children.reserve(dialog->controls.size());
    for (const ControlTemplate& child : dialog->controls) {
        children.push_back(std::make_unique<Window>(nullptr, &child, this));
    }
}

Window::~Window() {
    if (object != nullptr && object->m_hWnd == this) {
        object->m_hWnd = nullptr;
    }
}

DWORD Window::Style() const {
    return m_control != nullptr ? m_control->style : m_dialog->style;
}

Framework& Framework::Instance() {
    static Framework framework;
    return framework;
}

HWND Framework::AddDialog(std::unique_ptr<Window> dialog) {
    m_dialogs.push_back(std::move(dialog));
    return m_dialogs.back().get();
}

void Framework::RemoveDialog(HWND dialog) {
    m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(),
                                 [dialog](const MSG& msg) {
                                     return msg.hwnd == dialog ||
                                            (msg.hwnd != nullptr && msg.hwnd->parent == dialog);
                                 }),
                  m_queue.end());
    m_dialogs.erase(std::remove_if(m_dialogs.begin(), m_dialogs.end(),
                                   [dialog](const std::unique_ptr<Window>& window) {
                                       return window.get() == dialog;
                                   }),
                    m_dialogs.end());
}

bool Framework::Contains(HWND window) const {
    if (window == nullptr) {
        return false;
    }
    for (const auto& dialog : m_dialogs) {
        if (dialog.get() == window) {
            return true;
        }
        for (const auto& child : dialog->children) {
            if (child.get() == window) {
                return true;
            }
        }
    }
    return false;
}

std::vector<HWND> Framework::Dialogs() const {
    std::vector<HWND> dialogs;
    dialogs.reserve(m_dialogs.size());
    for (const auto& dialog : m_dialogs) {
        dialogs.push_back(dialog.get());
    }
    return dialogs;
}

UiBackend& Framework::Backend() {
    if (m_backend == nullptr) {
        std::cerr << "The dialog framework has no backend installed.\n";
        std::abort();
    }
    return *m_backend;
}

void SetUiBackend(UiBackend* backend) {
    Framework::Instance().SetBackend(backend);
}
UiBackend& CurrentUiBackend() {
    return Framework::Instance().Backend();
}

void NotifyWindowShown(HWND dialog) {
    if (Framework::Instance().Contains(dialog)) {
        SendMessage(dialog, WM_SHOWWINDOW, TRUE, 0);
    }
}

std::vector<HWND> TopLevelWindows() {
    return Framework::Instance().Dialogs();
}

namespace {

std::vector<const DialogTemplate*>& TemplateRegistry() {
    static std::vector<const DialogTemplate*> templates;
    return templates;
}

}  // namespace

DialogTable::DialogTable(const DialogTemplate* templates, size_t count)
    : m_templates(templates), m_count(count) {
    for (size_t i = 0; i < count; ++i) {
        TemplateRegistry().push_back(&templates[i]);
    }
}

DialogTable::~DialogTable() {
    auto& registry = TemplateRegistry();
    registry.erase(std::remove_if(registry.begin(), registry.end(),
                                  [this](const DialogTemplate* entry) {
                                      return entry >= m_templates && entry < m_templates + m_count;
                                  }),
                   registry.end());
}

const DialogTemplate* FindDialogTemplate(WORD id) {
    for (const DialogTemplate* entry : TemplateRegistry()) {
        if (entry->id == id) {
            return entry;
        }
    }
    return nullptr;
}

}  // namespace win
