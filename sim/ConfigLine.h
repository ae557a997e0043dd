// One line of the simulator configuration: its key and values, and readers that check a value
// and, when it is wrong, describe the fault with the line number and the key in a ConfigError.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/AreaLayout.h"
#include "sim/ConfigError.h"

namespace sim {

class ConfigLine {
public:
    // Splits `text` into words at blanks; a word that begins with '#' starts a comment. The
    // first word is the key.
    ConfigLine(uint32_t number, std::string_view text, ConfigError& error);

    bool IsEmpty() const { return m_key.empty(); }
    const std::string& Key() const { return m_key; }
    const std::vector<std::string>& Values() const { return m_values; }

    bool ExpectValues(size_t least, size_t most);
    // Decimal, or hexadecimal after "0x".
    bool Number(size_t index, uint64_t most, uint64_t& value);
    // Exactly `digits` hexadecimal digits, "0x" allowed before them.
    bool Hex(size_t index, size_t digits, uint64_t& value);
    bool YesNo(size_t index, bool& value);
    bool Area(size_t index, const AreaLayout*& area);
    bool Version(size_t index, std::array<uint8_t, 6>& version);
    // Which occurrence of something a fault hits, counted from 1.
    bool Occurrence(size_t index, uint32_t& occurrence);
    // Every value joined into one run of two hexadecimal digits for each of `bytes`.
    bool JoinedHexBytes(std::span<uint8_t> bytes);
    // Describes the fault in the error; always false.
    bool Fail(const std::string& message);

private:
    uint32_t m_number;
    std::string m_key;
    std::vector<std::string> m_values;
    ConfigError& m_error;
};

}  // namespace sim
