// The readable log of every transfer that RXT9_SIM_TRACE asks for: time since the library
// started, direction, pipe, length, outcome and the first bytes.
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

namespace zelsim {

class TransferTrace {
public:
    // Truncates the file. A trace that cannot be opened writes nothing.
    explicit TransferTrace(const std::string& path);

    // "  0.012345 PIPE00 host->printer 0  512 bytes, taken 500: 1B 66 73 70 00 00 ..."
    void Transfer(std::string_view pipe, std::string_view direction, size_t printer,
                  std::span<const uint8_t> bytes, std::string_view outcome);
    // Opens, closes and other events: "  0.000120 open PIPE00 printer 0: handle 803".
    void Event(const std::string& text);

private:
    std::string Stamp() const;

    std::ofstream m_out;
    std::chrono::steady_clock::time_point m_start;
};

}  // namespace zelsim
