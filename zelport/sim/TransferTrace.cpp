#include "zelport/sim/TransferTrace.h"

#include <iomanip>
#include <sstream>

#include "sim/HexText.h"

namespace zelsim {

namespace {

constexpr size_t kBytesShown = 16;

}  // namespace

void TransferTrace::Restart(const char* path) {
    m_out = std::ofstream();
    if (path != nullptr && *path != '\0') {
        m_out.open(path, std::ios::trunc);
        m_start = std::chrono::steady_clock::now();
    }
}

void TransferTrace::Transfer(std::string_view pipe, std::string_view direction, size_t printer,
                             std::span<const uint8_t> bytes, std::string_view outcome) {
    if (!IsOn()) {
        return;
    }
    std::string line = Stamp() + ' ' + std::string(pipe) + ' ' + std::string(direction) + ' ' +
                       std::to_string(printer) + ' ' + std::to_string(bytes.size()) + " bytes";
    if (!outcome.empty()) {
        line += ", ";
        line += outcome;
    }
    if (!bytes.empty()) {
        line += ':';
    }
    for (size_t i = 0; i < bytes.size() && i < kBytesShown; ++i) {
        line += ' ' + sim::HexText(bytes[i], 2);
    }
    if (bytes.size() > kBytesShown) {
        line += " ...";
    }
    m_out << line << '\n' << std::flush;
}

void TransferTrace::HostWrite(size_t printer, std::span<const uint8_t> bytes,
                              const sim::SimulatedPrinter::WriteResult& result, bool showTaken) {
    using Outcome = sim::SimulatedPrinter::WriteResult::Outcome;
    if (!IsOn()) {
        return;
    }
    std::string outcome;
    switch (result.outcome) {
        case Outcome::Taken:
            break;
        case Outcome::TakenShort:
            outcome = "taken short";
            if (showTaken) {
                outcome += ", " + std::to_string(result.taken) + " bytes";
            }
            break;
        case Outcome::Failed:
            outcome = "failed";
            break;
        case Outcome::Gone:
            outcome = "failed, printer unplugged";
            break;
        case Outcome::TimedOut:
            outcome = "failed, time limit";
            break;
    }
    Transfer("PIPE00", "host->printer", printer, bytes, outcome);
}

void TransferTrace::WriteEvent(const std::string& text) {
    m_out << Stamp() << ' ' << text << '\n' << std::flush;
}

std::string TransferTrace::Stamp() const {
    const auto elapsed = std::chrono::steady_clock::now() - m_start;
    const double seconds = std::chrono::duration<double>(elapsed).count();
    std::ostringstream stamp;
    stamp << std::fixed << std::setprecision(6) << std::setw(11) << seconds;
    return stamp.str();
}

}  // namespace zelsim
