// Reads the line-based simulator configuration (format in docs/simulator.md).
//
// Each line is a key followed by its values, separated by blanks; a word that begins with '#'
// starts a comment. Keys before the first "printer" line are global; each "printer" line
// starts the next printer, whose keys follow it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/ConfigError.h"
#include "sim/SimConfig.h"

namespace sim {

class ConfigParser {
public:
    // Parses the whole text. On the first fault returns false and describes it in `error`;
    // `config` is then unspecified.
    static bool Parse(std::string_view text, SimConfig& config, ConfigError& error);

private:
    ConfigParser(SimConfig& config, ConfigError& error) : m_config(config), m_error(error) {}

    bool ParseLine(std::string_view line);
    bool ParseGlobal();
    bool ParsePrinter(PrinterConfig& printer);
    bool ParseWriteFault(PrinterConfig& printer, WriteFault::Action action);
    bool ParseReplyFault(PrinterConfig& printer, bool header);
    bool ParseReportOverride(PrinterConfig& printer);
    bool ParseFirmware(PrinterConfig& printer);
    bool ParseIdentityHex(PrinterConfig& printer);

    bool ExpectValues(size_t least, size_t most);
    bool Number(size_t index, uint64_t most, uint64_t& value);
    bool Hex(size_t index, size_t digits, uint64_t& value);
    bool YesNo(size_t index, bool& value);
    bool Area(size_t index, const AreaLayout*& area);
    bool Version(size_t index, std::array<uint8_t, 6>& version);
    bool Fail(const std::string& message);

    SimConfig& m_config;
    ConfigError& m_error;
    uint32_t m_lineNumber = 0;
    std::string m_key;
    std::vector<std::string> m_values;
    // Which ids each printer set itself; the others take the global ids at the end.
    std::vector<bool> m_printerSetVendor;
    std::vector<bool> m_printerSetProduct;
};

}  // namespace sim
