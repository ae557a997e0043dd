// Reads the line-based simulator configuration (format in docs/simulator.md).
//
// Each line is a key followed by its values, separated by blanks; a word that begins with '#'
// starts a comment. Keys before the first "printer" line are global; each "printer" line
// starts the next printer, whose keys follow it. Each section looks its keys up in a table
// that says how many values a key takes and how they are read.
#pragma once

#include <string_view>

#include "sim/ConfigError.h"
#include "sim/SimConfig.h"

namespace sim {

class ConfigParser {
public:
    // Parses the whole text. On the first fault returns false and describes it in `error`;
    // `config` is then unspecified.
    static bool Parse(std::string_view text, SimConfig& config, ConfigError& error);
};

}  // namespace sim
