// The framework's record of one window: a dialog or one of its controls. HWND points at it.
// The framework owns every record; a backend renders them and keeps its own data beside.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "platform/ui/DialogTemplate.h"

namespace win {

class CWnd;
class Window;
using HWND = Window*;
using HICON = const ResourceEntry*;

struct MenuItem {
    UINT flags;
    UINT id;
    std::string text;
};

struct ProgressState {
    int lower = 0;
    int upper = 100;
    int position = 0;
    int step = 10;

    bool operator==(const ProgressState&) const = default;
};

class Window {
public:
    Window(const DialogTemplate* dialog, const ControlTemplate* control, Window* parent);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool IsDialog() const { return m_dialog != nullptr; }
    const DialogTemplate* DialogData() const { return m_dialog; }
    const ControlTemplate* ControlData() const { return m_control; }
    int Id() const { return m_control != nullptr ? m_control->id : 0; }
    DWORD Style() const;

    Window* parent = nullptr;       // the dialog of a control
    Window* owner = nullptr;        // the owner window of a dialog
    CWnd* object = nullptr;         // receives the window's messages; null for plain controls
    std::unique_ptr<CWnd> wrapper;  // the CWnd that GetDlgItem hands out for a plain control
    std::vector<std::unique_ptr<Window>> children;

    std::string text;
    bool enabled = true;
    bool visible = false;
    bool minimised = false;
    Window* focus = nullptr;  // the focused control of a dialog
    ProgressState progress;
    std::vector<MenuItem> systemMenu;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    void* backendData = nullptr;

private:
    const DialogTemplate* m_dialog;
    const ControlTemplate* m_control;
};

}  // namespace win
