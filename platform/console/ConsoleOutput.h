// Where the presenters write: standard output, the error stream, and what standard output is.
#pragma once

#include <string_view>

namespace console {

class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;

    // Failures (a closed pipe, a terminal that went away) are ignored: the run goes on.
    virtual void Write(std::string_view text) = 0;
    virtual void WriteError(std::string_view text) = 0;
    virtual bool OutputIsTerminal() const = 0;
    // The width of the terminal on standard output, read afresh each time.
    virtual int Columns() const = 0;
};

}  // namespace console
