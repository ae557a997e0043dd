// Where the presenters write: standard output, the error stream, and what standard output is.
#pragma once

#include <string_view>

namespace console {

class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;

    // Never blocks, and failures (a closed pipe, a terminal that went away) never stop the
    // run. Text is written in the order given.
    virtual void Write(std::string_view text) = 0;
    virtual void WriteError(std::string_view text) = 0;
    // A state of progress, which a newer one replaces while the output cannot take it yet.
    virtual void WriteProgress(std::string_view text) = 0;
    virtual bool OutputIsTerminal() const = 0;
    // The width of the terminal on standard output, read afresh each time.
    virtual int Columns() const = 0;
};

}  // namespace console
