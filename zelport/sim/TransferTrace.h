// The readable log of every transfer that RXT9_SIM_TRACE asks for: time since the trace
// started, direction, pipe, length, outcome and the first bytes. When off, a call costs a test
// and no more: event texts are built only when the trace is on.
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

#include "sim/SimulatedPrinter.h"

namespace zelsim {

class TransferTrace {
public:
    // Writes to `path` from now on, truncating the file; off for a null or empty path or a
    // file that cannot be opened.
    void Restart(const char* path);
    bool IsOn() const { return m_out.is_open(); }

    // "  0.012345 PIPE01 printer->host 0 16 bytes: 1B 66 73 ..."; an outcome other than ""
    // follows the length: "lost, the in-pipe is full".
    void Transfer(std::string_view pipe, std::string_view direction, size_t printer,
                  std::span<const uint8_t> bytes, std::string_view outcome);
    // A write to PIPE00 that the printer handled, with what became of it. `showTaken` adds
    // how many bytes a write taken short took: "taken short, 500 bytes".
    void HostWrite(size_t printer, std::span<const uint8_t> bytes,
                   const sim::SimulatedPrinter::WriteResult& result, bool showTaken);
    // Opens, closes and other events: "  0.000120 open PIPE00 printer 0: handle 803".
    // `describe` returns the text and is called only when the trace is on.
    template <typename Describe>
    void Event(const Describe& describe) {
        if (IsOn()) {
            WriteEvent(describe());
        }
    }

private:
    void WriteEvent(const std::string& text);
    std::string Stamp() const;

    std::ofstream m_out;
    std::chrono::steady_clock::time_point m_start;
};

}  // namespace zelsim
