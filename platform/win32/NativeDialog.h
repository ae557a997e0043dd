// The real dialog behind one of the framework's dialog records: it keeps the real window and
// its controls, and turns what the user does in them into messages posted to the record, so
// that the framework's handlers run from its own queue, never inside user32's calls. Only the
// show notice is sent at once, as user32 sends it inside ShowWindow: what a window posts when
// it is shown (the start-up check) then stands in the queue before any input to the window.
#pragma once

#include <vector>

#include "platform/ui/Window.h"
#include "platform/win32/NativeWindows.h"

namespace win {

class Win32Backend;

class NativeDialog final : public win32::NativeDialogEvents {
public:
    NativeDialog(HWND dialog, Win32Backend& backend) : m_dialog(dialog), m_backend(backend) {}
    ~NativeDialog() override;
    NativeDialog(const NativeDialog&) = delete;
    NativeDialog& operator=(const NativeDialog&) = delete;

    // Builds the real dialog from the record's template; false when user32 refuses it.
    bool Create(NativeDialog* owner);
    win32::NativeWindow Native() const { return m_native; }
    // The real window of the record's control `control`, or of the dialog itself.
    win32::NativeWindow NativeOf(HWND window) const;
    // The system menu items that the program appended since the last call.
    void AppendNewMenuItems();

    void OnCommand(int id, int code) override;
    void OnDialogKey(int key) override;
    void OnSysCommand(uint32_t command) override;
    void OnClose() override;
    void OnShown() override;
    bool OnQueryEndSession() override;
    void OnEndSession(bool ending) override;

private:
    HWND m_dialog;
    Win32Backend& m_backend;
    win32::NativeWindow m_native = nullptr;
    std::vector<win32::NativeWindow> m_controls;
    size_t m_menuItemsSeen = 0;
};

}  // namespace win
