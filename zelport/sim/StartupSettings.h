// What the environment asks of a simulated library when it starts: the configuration file
// named by RXT9_SIM_CONFIG (unset or empty: the built-in printer), the state file and the
// trace.
#pragma once

#include <optional>
#include <string>

namespace zelsim {

struct StartupSettings {
    // The configuration file's text; none for the built-in configuration.
    std::optional<std::string> configText;
    // "RXT9_SIM_CONFIG <path>" or "built-in configuration", for messages.
    std::string origin = "built-in configuration";
    // Why the file that RXT9_SIM_CONFIG names is refused; empty when it is not.
    std::string refusal;
    std::optional<std::string> statePath;
    // RXT9_SIM_TRACE; null or empty for no trace.
    const char* tracePath = nullptr;

    // The state file is RXT9_SIM_STATE's, or rxt9-sim/state under the directory that the
    // variable `stateHome` names (XDG_STATE_HOME; LOCALAPPDATA on Windows), or else
    // .local/state/rxt9-sim/state under the one that `home` names (null: none).
    static StartupSettings FromEnvironment(const char* stateHome, const char* home);
};

}  // namespace zelsim
