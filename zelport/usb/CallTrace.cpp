#include "zelport/usb/CallTrace.h"

#include <sys/time.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>

namespace zelusb {

namespace {

constexpr uint8_t kEscape = 0x1B;
// Commands and replies are short; the 512-byte start command is zeros after its first four.
constexpr size_t kMessageBytesShown = 64;
constexpr size_t kImageBytesShown = 16;

std::string Two(unsigned number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

std::string Hex(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const uint8_t byte : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

// Wall-clock time of day with microseconds, so that a trace lines up with the system's logs.
std::string TimeOfDay() {
    timeval now{};
    gettimeofday(&now, nullptr);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    std::string micros = std::to_string(now.tv_usec);
    micros.insert(0, 6 - micros.size(), '0');
    return Two(static_cast<unsigned>(local.tm_hour)) + ":" +
           Two(static_cast<unsigned>(local.tm_min)) + ":" +
           Two(static_cast<unsigned>(local.tm_sec)) + "." + micros;
}

std::string Shown(std::span<const uint8_t> bytes, bool write) {
    if (bytes.empty()) {
        return "";
    }
    const bool image = write && bytes[0] != kEscape;
    const size_t limit = image ? kImageBytesShown : kMessageBytesShown;
    if (bytes.size() <= limit && !image) {
        return ": " + Hex(bytes);
    }
    const std::string first = Hex(bytes.first(std::min(limit, bytes.size())));
    if (image) {
        return ": image block of " + std::to_string(bytes.size()) + " bytes, first " + first;
    }
    return ": " + first + " ... (" + std::to_string(bytes.size() - limit) + " more)";
}

}  // namespace

CallTrace::CallTrace() {
    const char* path = std::getenv("RXT9_USB_TRACE");
    if (path != nullptr && *path != '\0') {
        m_out.open(path, std::ios::app);
    }
}

void CallTrace::Line(const std::string& text) {
    m_out << TimeOfDay() << ' ' << text << '\n';
    m_out.flush();
}

void CallTrace::Call(std::string_view call, const std::string& detail) {
    if (Enabled()) {
        Line(std::string(call) + " " + detail);
    }
}

void CallTrace::Transfer(std::string_view call, std::string_view pipe, uint8_t endpoint,
                         uint32_t asked, uint32_t moved, std::string_view result,
                         std::span<const uint8_t> bytes) {
    if (!Enabled()) {
        return;
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::string endpointText{kDigits[endpoint >> 4], kDigits[endpoint & 0x0F]};
    Line(std::string(call) + " " + std::string(pipe) + " ep " + endpointText + " asked " +
         std::to_string(asked) + " moved " + std::to_string(moved) + " " + std::string(result) +
         Shown(bytes, call == "WriteFile"));
}

}  // namespace zelusb
