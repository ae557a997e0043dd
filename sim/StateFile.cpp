#include "sim/StateFile.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "sim/AreaLayout.h"
#include "sim/HexText.h"

namespace sim {

namespace {

std::string HexBytes(const std::array<uint8_t, 6>& bytes) {
    std::string text;
    for (uint8_t b : bytes) {
        text += HexText(b, 2);
    }
    return text;
}

bool ParseHex(const std::string& text, size_t digits, uint64_t& value) {
    if (text.size() != digits) {
        return false;
    }
    value = 0;
    for (char c : text) {
        const int digit = (c >= '0' && c <= '9')   ? c - '0'
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                   : -1;
        if (digit < 0) {
            return false;
        }
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return true;
}

bool ParseBytes(const std::string& text, std::array<uint8_t, 6>& bytes) {
    uint64_t value = 0;
    if (!ParseHex(text, 12, value)) {
        return false;
    }
    for (size_t i = bytes.size(); i-- > 0; value >>= 8) {
        bytes[i] = static_cast<uint8_t>(value & 0xFF);
    }
    return true;
}

bool SamePrinter(const PrinterState& a, const PrinterState& b) {
    return a.position == b.position && a.identity == b.identity;
}

}  // namespace

std::optional<std::string> StateFile::ResolvePath(const char* stateVariable,
                                                  const char* xdgStateHome, const char* home) {
    if (stateVariable != nullptr) {
        if (*stateVariable == '\0') {
            return std::nullopt;
        }
        return std::string(stateVariable);
    }
    if (xdgStateHome != nullptr && *xdgStateHome != '\0') {
        return std::string(xdgStateHome) + "/rxt9-sim/state";
    }
    if (home != nullptr && *home != '\0') {
        return std::string(home) + "/.local/state/rxt9-sim/state";
    }
    return std::nullopt;
}

std::vector<PrinterState> StateFile::Load() const {
    std::vector<PrinterState> printers;
    std::ifstream in(m_path);
    std::string line;
    // The block being read, kept only once all five areas have been read.
    std::optional<PrinterState> block;
    size_t areasRead = 0;
    auto closeBlock = [&] {
        if (block && areasRead == AreaLayout::All().size()) {
            printers.push_back(*block);
        }
        block.reset();
    };
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        std::string second;
        std::string third;
        words >> first >> second >> third;
        uint64_t number = 0;
        if (first == "printer") {
            closeBlock();
            PrinterState state;
            if (!second.empty() && second.size() < 10 &&
                second.find_first_not_of("0123456789") == std::string::npos &&
                ParseBytes(third, state.identity)) {
                state.position = std::stoul(second);
                block = state;
                areasRead = 0;
            }
            continue;
        }
        const AreaLayout* area = first.size() == 1 ? AreaLayout::ByLetter(first[0]) : nullptr;
        ItemFirmware firmware;
        if (block && area != nullptr && ParseBytes(second, firmware.version) &&
            ParseHex(third, 4, number)) {
            firmware.checksum = static_cast<uint16_t>(number);
            block->firmware[area->Index()] = firmware;
            ++areasRead;
        } else if (!first.empty() && first[0] != '#') {
            block.reset();
        }
    }
    closeBlock();
    return printers;
}

bool StateFile::Store(const std::vector<PrinterState>& printers) const {
    std::vector<PrinterState> all = Load();
    for (const PrinterState& printer : printers) {
        bool replaced = false;
        for (PrinterState& kept : all) {
            if (SamePrinter(kept, printer)) {
                kept = printer;
                replaced = true;
            }
        }
        if (!replaced) {
            all.push_back(printer);
        }
    }

    std::error_code error;
    const std::filesystem::path path(m_path);
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
    }
    std::random_device random;
    std::ostringstream suffix;
    suffix << ".tmp-" << std::hex << random() << random();
    const std::filesystem::path temporary = m_path + suffix.str();
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "# Firmware of the simulated RX-T9 printers (ZELPORT.so). Delete to start afresh.\n";
        for (const PrinterState& printer : all) {
            out << "printer " << printer.position << ' ' << HexBytes(printer.identity) << '\n';
            for (const AreaLayout& area : AreaLayout::All()) {
                const ItemFirmware& firmware = printer.firmware[area.Index()];
                out << area.letter << ' ' << HexBytes(firmware.version) << ' '
                    << HexText(firmware.checksum, 4) << '\n';
            }
        }
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace sim
