// The support trace that RXT9_USB_TRACE asks for: one line per entry point call and per
// transfer, appended to the file (docs/usb-trace.md describes the lines).
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

namespace zelusb {

class CallTrace {
public:
    // Appends to the file RXT9_USB_TRACE names; writes nothing when it is unset or empty, or
    // when the file cannot be opened.
    CallTrace();

    bool Enabled() const { return m_out.is_open(); }

    // "12:03:04.512345 UsbOpenBulk PIPE00 device 0: handle 2147483649, bus 1 port 2"
    void Call(std::string_view call, const std::string& detail);
    // "12:03:04.513000 WriteFile PIPE00 ep 01 asked 10 moved 10 ok: 1B 47 44 30 ..."
    void Transfer(std::string_view call, std::string_view pipe, uint8_t endpoint, uint32_t asked,
                  uint32_t moved, std::string_view result, std::span<const uint8_t> bytes);

private:
    void Line(const std::string& text);

    std::ofstream m_out;
};

}  // namespace zelusb
