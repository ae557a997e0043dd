// The in-memory backend of the dialog framework. It keeps every window in the framework's
// records only, records each message box and answers it with OK, and plays a script of user
// actions at given tick counts. The tests of the system's windows and sequences, and the
// terminal front-end, run on it.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/VirtualClock.h"
#include "platform/ui/UiBackend.h"

namespace win {

struct MessageBoxRecord {
    HWND owner;
    WORD ownerTemplate;  // the dialog template of the owner, 0 without owner
    std::string text;
    std::string caption;
    UINT type;
    DWORD time;
};

enum class UserActionKind { ClickButton, PressKey, SystemCommand, Probe };

struct UserAction {
    DWORD at;  // tick count at which the user acts
    UserActionKind kind;
    UINT value;                   // control id, virtual key or system command
    std::function<void()> probe;  // for Probe: a look at the windows at that moment
};

struct DrawnIcon {
    HWND dialog;
    int x, y;
    HICON icon;
};

class ModelBackend : public UiBackend {
public:
    // With a virtual clock the model moves it on to the next scripted action when the program
    // has nothing else to do; with none it sleeps on the installed clock.
    explicit ModelBackend(VirtualClock* clock = nullptr) : m_clock(clock) {}

    // Actions run in the order of their tick counts, when the program next looks for input
    // at or after that time. Input for a disabled window is lost, as it is on Windows.
    void Script(UserAction action);
    void ClickButton(DWORD at, UINT id) { Script({at, UserActionKind::ClickButton, id, {}}); }
    void PressKey(DWORD at, UINT key) { Script({at, UserActionKind::PressKey, key, {}}); }
    void SystemCommand(DWORD at, UINT command) {
        Script({at, UserActionKind::SystemCommand, command, {}});
    }
    void Probe(DWORD at, std::function<void()> probe) {
        Script({at, UserActionKind::Probe, 0, std::move(probe)});
    }

    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_boxes; }
    const std::vector<DrawnIcon>& DrawnIcons() const { return m_icons; }
    int LostInputs() const { return m_lostInputs; }
    int DialogsCreated() const { return m_dialogsCreated; }
    // Set when the model had to end a modal loop that would not close: a program fault.
    bool ForcedQuit() const { return m_forcedQuit; }
    // When false, every new dialog fails to be created, as on a host that refuses a window.
    void SetCreationAllowed(bool allowed) { m_creationAllowed = allowed; }

    bool CreateDialogWindow(HWND dialog) override;
    void DestroyDialogWindow(HWND dialog) override;
    void ShowDialogWindow(HWND dialog, bool show) override;
    void WindowChanged(HWND window, WindowChange change) override;
    void PollInput() override;
    void WaitForInput(HWND modalDialog) override;
    void DrawIcon(HWND dialog, int x, int y, HICON icon) override;
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;

private:
    void Perform(const UserAction& action);

    VirtualClock* m_clock;
    std::deque<UserAction> m_script;
    std::vector<MessageBoxRecord> m_boxes;
    std::vector<DrawnIcon> m_icons;
    int m_lostInputs = 0;
    int m_dialogsCreated = 0;
    bool m_creationAllowed = true;
    bool m_forcedQuit = false;
    HWND m_lastClosed = nullptr;
    int m_closeAttempts = 0;
};

}  // namespace win
