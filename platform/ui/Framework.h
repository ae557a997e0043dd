// The framework's state on its one thread: the windows that exist, the message queue and the
// installed backend. Internal to the dialog framework.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "platform/ui/UiBackend.h"
#include "platform/ui/User.h"

namespace win {

// The default processing of a message for a window: the control classes and the frame.
LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class Framework {
public:
    static Framework& Instance();

    HWND AddDialog(std::unique_ptr<Window> dialog);
    void RemoveDialog(HWND dialog);
    bool Contains(HWND window) const;
    std::vector<HWND> Dialogs() const;

    std::deque<MSG>& Queue() { return m_queue; }
    UiBackend& Backend();
    void SetBackend(UiBackend* backend) { m_backend = backend; }

private:
    std::vector<std::unique_ptr<Window>> m_dialogs;
    std::deque<MSG> m_queue;
    UiBackend* m_backend = nullptr;
};

}  // namespace win
