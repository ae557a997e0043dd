// The command line of rxt9-update-cli: the front-end's own options, and the arguments that
// reach the system's code.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct ConsoleOptions {
    bool download = false;     // press Download once after the start-up check, then close
    bool check = false;        // the start-up check alone: report what it found, then close
    bool wait = false;         // wait for a printer to be plugged in instead of closing
    unsigned waitSeconds = 0;  // how long at most; 0: for as long as it takes
    bool assumeYes = false;    // acknowledge message boxes at once
    bool json = false;         // one JSON object a line instead of text
    bool help = false;
    bool version = false;
    // The command line for the system: the program name, then "-frcdlm" when it was given.
    std::vector<std::string> systemArguments;
    std::string error;  // set when the command line is refused

    // Parses argv. "-frcdlm" is accepted anywhere and always reaches the system first, since
    // the system only looks at its first argument.
    static ConsoleOptions Parse(int argc, const char* const* argv);
    // The one-line synopsis, and the full text of --help.
    static std::string Usage(const std::string& program);
    static std::string Help(const std::string& program);
};

}  // namespace cli
