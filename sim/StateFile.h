// Keeps the simulated printers' firmware between processes, so that the next start of the
// tool sees what an update wrote.
//
// Text, one block per printer:
//   printer <position> <identity as 12 hex digits>
//   <area letter> <version as 12 hex digits> <checksum as 4 hex digits>     (five lines)
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/PrinterState.h"

namespace sim {

class StateFile {
public:
    explicit StateFile(std::string path) : m_path(std::move(path)) {}

    // The file named by RXT9_SIM_STATE (an empty value: none), else
    // $XDG_STATE_HOME/rxt9-sim/state, else $HOME/.local/state/rxt9-sim/state; the arguments
    // are those variables' values or null.
    static std::optional<std::string> ResolvePath(const char* stateVariable,
                                                  const char* xdgStateHome, const char* home);

    // Every printer the file describes; a missing or unreadable file describes none, and a
    // block that cannot be read is skipped.
    std::vector<PrinterState> Load() const;
    // Replaces the blocks of these printers and keeps the others, writing a temporary file
    // beside the file and renaming it over the file. Creates the directory. False when the
    // file cannot be written.
    bool Store(const std::vector<PrinterState>& printers) const;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace sim
