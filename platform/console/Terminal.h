// The process's standard streams: output that never blocks or fails the program, and keys
// from standard input. When standard input is a terminal in the foreground, it is switched to
// single keys without echo for the life of the object, so that Enter, q and Esc act at once
// and typing does not spoil the progress line.
#pragma once

#include <termios.h>

#include <string>

#include "platform/console/ConsoleOutput.h"
#include "platform/console/OutputSpool.h"

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
    void WriteProgress(std::string_view text) override;
    bool OutputIsTerminal() const override { return m_outputIsTerminal; }
    int Columns() const override;

    // Waits until all output given so far is written, a signal is pending on
    // signalDescriptor, or limitMs (-1: no limit) has passed. True when all was written.
    bool DrainOutput(int signalDescriptor, int limitMs = -1);
    // Why standard output could not be written (an errno), or 0.
    int OutputError() const { return m_spool.ErrorOf(kOutput); }

    bool InputIsTerminal() const { return m_inputIsTerminal; }
    // Forgets keys typed on the terminal before now, e.g. while a download ran.
    void DiscardTypeAhead();
    // Blocks until a key that means something, the end of input, or a signal pending on
    // signalDescriptor. Other keys and a terminal's escape sequences (arrow keys) are skipped.
    Key WaitForKey(int signalDescriptor);
    // Gives the terminal its settings back; also before the process ends at once.
    void RestoreMode();

private:
    static constexpr int kOutput = 1;
    static constexpr int kError = 2;

    OutputSpool m_spool;
    bool m_inputIsTerminal;
    bool m_outputIsTerminal;
    bool m_modeChanged = false;
    bool m_inputEnded = false;
    termios m_savedMode{};
    std::string m_pending;  // bytes read and not yet taken as keys
};

}  // namespace console
