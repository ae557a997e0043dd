#include "platform/model/ModelBackend.h"

#include <algorithm>

#include "platform/Kernel.h"
#include "platform/ui/User.h"

namespace win {

namespace {

bool IsDue(DWORD at, DWORD now) {
    return static_cast<int32_t>(now - at) >= 0;
}

// A modal dialog that ignores its close command this often is stuck; the model gives up.
constexpr int kCloseAttemptsBeforeQuit = 3;

}  // namespace

void ModelBackend::Script(UserAction action) {
    const auto later = std::find_if(
        m_script.begin(), m_script.end(),
        [&](const UserAction& queued) { return static_cast<int32_t>(queued.at - action.at) > 0; });
    m_script.insert(later, std::move(action));
}

bool ModelBackend::CreateDialogWindow(HWND /*dialog*/) {
    if (!m_creationAllowed) {
        return false;
    }
    ++m_dialogsCreated;
    return true;
}

void ModelBackend::DestroyDialogWindow(HWND /*dialog*/) {}

void ModelBackend::ShowDialogWindow(HWND dialog, bool show) {
    if (show) {
        NotifyWindowShown(dialog);
    }
}

void ModelBackend::WindowChanged(HWND /*window*/, WindowChange /*change*/) {}

void ModelBackend::PollInput() {
    const DWORD now = GetTickCount();
    while (!m_script.empty() && IsDue(m_script.front().at, now)) {
        const UserAction action = m_script.front();
        m_script.pop_front();
        Perform(action);
    }
}

void ModelBackend::Perform(const UserAction& action) {
    HWND active = GetActiveWindow();
    switch (action.kind) {
        case UserActionKind::ClickButton: {
            // A click lands on the newest visible dialog that has such a button.
            const auto dialogs = TopLevelWindows();
            for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
                HWND button = GetDlgItem(*it, static_cast<int>(action.value));
                if ((*it)->visible && button != nullptr && button->visible) {
                    if ((*it)->enabled && button->enabled) {
                        PostMessage(button, BM_CLICK, 0, 0);
                    } else {
                        ++m_lostInputs;
                    }
                    return;
                }
            }
            ++m_lostInputs;
            return;
        }
        case UserActionKind::PressKey:
            if (active == nullptr) {
                ++m_lostInputs;
                return;
            }
            PostMessage(active->focus != nullptr ? active->focus : active, WM_KEYDOWN, action.value,
                        0);
            return;
        case UserActionKind::SystemCommand:
            if (active == nullptr) {
                ++m_lostInputs;
                return;
            }
            PostMessage(active, WM_SYSCOMMAND, action.value, 0);
            return;
        case UserActionKind::Probe:
            action.probe();
            return;
    }
}

void ModelBackend::WaitForInput(HWND modalDialog) {
    if (!m_script.empty()) {
        const DWORD now = GetTickCount();
        const DWORD next = m_script.front().at;
        if (!IsDue(next, now)) {
            if (m_clock != nullptr) {
                m_clock->Advance(next - now);
            } else {
                Sleep(next - now);
            }
        }
        return;
    }
    // The script is played: the user closes the window in front.
    if (modalDialog == m_lastClosed) {
        ++m_closeAttempts;
    } else {
        m_lastClosed = modalDialog;
        m_closeAttempts = 1;
    }
    if (m_closeAttempts > kCloseAttemptsBeforeQuit) {
        m_forcedQuit = true;
        PostQuitMessage(1);
        return;
    }
    PostMessage(modalDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void ModelBackend::DrawIcon(HWND dialog, int x, int y, HICON icon) {
    m_icons.push_back({dialog, x, y, icon});
}

int ModelBackend::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                                 UINT type) {
    const WORD ownerTemplate =
        owner != nullptr && owner->IsDialog() ? owner->DialogData()->id : WORD{0};
    m_boxes.push_back({owner, ownerTemplate, text, caption, type, GetTickCount()});
    return IDOK;
}

}  // namespace win
