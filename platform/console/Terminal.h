// The process's standard streams: output that never fails the program, and keys from
// standard input. When standard input is a terminal in the foreground, it is switched to
// single keys without echo for the life of the object, so that Enter, q and Esc act at once
// and typing does not spoil the progress line.
#pragma once

#include <termios.h>

#include <string>

#include "platform/console/ConsoleOutput.h"

namespace console {

enum class Key { Enter, Escape, Quit, EndOfInput, Signal };

class Terminal final : public ConsoleOutput {
public:
    Terminal();
    ~Terminal() override;
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    void Write(std::string_view text) override;
    void WriteError(std::string_view text) override;
    bool OutputIsTerminal() const override { return m_outputIsTerminal; }
    int Columns() const override;

    bool InputIsTerminal() const { return m_inputIsTerminal; }
    // Forgets keys typed on the terminal before now, e.g. while a download ran.
    void DiscardTypeAhead();
    // Blocks until a key that means something, the end of input, or a signal pending on
    // signalDescriptor. Other keys and a terminal's escape sequences (arrow keys) are skipped.
    Key WaitForKey(int signalDescriptor);
    // Gives the terminal its settings back; also before the process ends at once.
    void RestoreMode();

private:
    bool m_inputIsTerminal;
    bool m_outputIsTerminal;
    bool m_modeChanged = false;
    bool m_inputEnded = false;
    termios m_savedMode{};
    std::string m_pending;  // bytes read and not yet taken as keys
};

}  // namespace console
