// The model backend on a terminal: dialogs live in the framework's records, while the user's
// keys come from the terminal and pending signals wake every wait for them. What a front-end
// shows of the windows and how it answers them is left to a class derived from it.
#pragma once

#include "platform/console/Terminal.h"
#include "platform/kernel/EndSignals.h"
#include "platform/model/ModelBackend.h"

namespace console {

class ConsoleBackend : public win::ModelBackend {
public:
    ConsoleBackend(Terminal& terminal, win::EndSignals& signals)
        : m_terminal(terminal), m_signals(signals) {}

protected:
    static bool IsDialogOf(win::HWND dialog, WORD templateId);
    // Blocks until a key that means something, the end of input, or a pending signal.
    Key WaitForKey() { return m_terminal.WaitForKey(m_signals.Descriptor()); }
    // The user's actions, played at the dialog's next look for input.
    void PressButton(UINT id);
    void CloseWindow();

    Terminal& m_terminal;
    win::EndSignals& m_signals;
};

}  // namespace console
