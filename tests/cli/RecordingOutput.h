// A ConsoleOutput that keeps what the presenters write, as a terminal of a given width or as
// a pipe.
#pragma once

#include <string>
#include <utility>

#include "platform/console/ConsoleOutput.h"

namespace clitest {

class RecordingOutput final : public console::ConsoleOutput {
public:
    explicit RecordingOutput(bool terminal = false) : m_terminal(terminal) {}

    void Write(std::string_view text) override { written.append(text); }
    void WriteError(std::string_view text) override { errors.append(text); }
    void WriteProgress(std::string_view text) override { written.append(text); }
    bool OutputIsTerminal() const override { return m_terminal; }
    int Columns() const override { return columns; }
    // What was written since the last call.
    std::string Take() { return std::exchange(written, {}); }

    std::string written;
    std::string errors;
    int columns = 80;

private:
    bool m_terminal;
};

}  // namespace clitest
