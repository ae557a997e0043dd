#include "sim/ConfigParser.h"

#include <cctype>

namespace sim {

namespace {

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
        }
        if (i == line.size() || line[i] == '#') {
            break;
        }
        const size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
        }
        words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper >= 'A' && upper <= 'F') {
        return upper - 'A' + 10;
    }
    return -1;
}

std::string_view WithoutHexPrefix(std::string_view word) {
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        return word.substr(2);
    }
    return word;
}

struct InquiryName {
    std::string_view name;
    CommandKind kind;
};

constexpr InquiryName kInquiries[] = {
    {"status", CommandKind::StatusInquiry},
    {"identity", CommandKind::IdentityRead},
    {"version", CommandKind::VersionInquiry},
};

struct CommandName {
    std::string_view name;
    CommandKind kind;
    bool takesArea;
};

constexpr CommandName kWriteKinds[] = {
    {"download-mode", CommandKind::DownloadMode, false},
    {"restart", CommandKind::Restart, false},
    {"prepare", CommandKind::PrepareArea, true},
    {"start-write", CommandKind::StartWrite, true},
    {"version-inquiry", CommandKind::VersionInquiry, false},
    {"status-inquiry", CommandKind::StatusInquiry, false},
    {"identity-read", CommandKind::IdentityRead, false},
    {"image", CommandKind::Unknown, true},
};

}  // namespace

bool ConfigParser::Parse(std::string_view text, SimConfig& config, ConfigError& error) {
    config = SimConfig{};
    error = ConfigError{};
    ConfigParser parser(config, error);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ++parser.m_lineNumber;
        if (!parser.ParseLine(text.substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    for (size_t i = 0; i < config.printers.size(); ++i) {
        if (!parser.m_printerSetVendor[i]) {
            config.printers[i].vendorId = config.vendorId;
        }
        if (!parser.m_printerSetProduct[i]) {
            config.printers[i].productId = config.productId;
        }
    }
    return true;
}

bool ConfigParser::ParseLine(std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) {
        return true;
    }
    m_key = words.front();
    m_values.assign(words.begin() + 1, words.end());
    if (m_key == "printer") {
        if (!ExpectValues(0, 0)) {
            return false;
        }
        PrinterConfig printer;
        printer.NameAfterPosition(m_config.printers.size());
        m_config.printers.push_back(printer);
        m_printerSetVendor.push_back(false);
        m_printerSetProduct.push_back(false);
        return true;
    }
    if (m_config.printers.empty()) {
        return ParseGlobal();
    }
    return ParsePrinter(m_config.printers.back());
}

bool ConfigParser::ParseGlobal() {
    uint64_t value = 0;
    if (m_key == "vendor-id" || m_key == "product-id") {
        if (!ExpectValues(1, 1) || !Hex(0, 4, value)) {
            return false;
        }
        (m_key == "vendor-id" ? m_config.vendorId : m_config.productId) =
            static_cast<uint16_t>(value);
        return true;
    }
    if (m_key == "time-limit-ms") {
        if (!ExpectValues(1, 1) || !Number(0, 600000, value)) {
            return false;
        }
        if (value == 0) {
            return Fail("the time limit must be at least 1 ms");
        }
        m_config.timeLimitMs = static_cast<uint32_t>(value);
        return true;
    }
    if (m_key == "refuse-vendor-id") {
        return ExpectValues(1, 1) && YesNo(0, m_config.refuseVendorId);
    }
    return Fail("unknown key before the first \"printer\" line");
}

bool ConfigParser::ParsePrinter(PrinterConfig& printer) {
    uint64_t value = 0;
    if (m_key == "vendor-id" || m_key == "product-id") {
        if (!ExpectValues(1, 1) || !Hex(0, 4, value)) {
            return false;
        }
        const bool vendor = m_key == "vendor-id";
        (vendor ? printer.vendorId : printer.productId) = static_cast<uint16_t>(value);
        (vendor ? m_printerSetVendor : m_printerSetProduct).back() = true;
        return true;
    }
    if (m_key == "model-code") {
        if (!ExpectValues(1, 1) || !Hex(0, 2, value)) {
            return false;
        }
        printer.modelCode = static_cast<uint8_t>(value);
        return true;
    }
    if (m_key == "error-code" || m_key == "printing-state") {
        const bool error = m_key == "error-code";
        if (!ExpectValues(1, 1) || !Number(0, error ? 0xFFFF : 0xFF, value)) {
            return false;
        }
        if (error) {
            printer.errorCode = static_cast<uint16_t>(value);
        } else {
            printer.printingState = static_cast<uint8_t>(value);
        }
        return true;
    }
    if (m_key == "identity") {
        return ExpectValues(1, 1) && Version(0, printer.identity);
    }
    if (m_key == "identity-hex") {
        return ParseIdentityHex(printer);
    }
    if (m_key == "firmware") {
        return ParseFirmware(printer);
    }
    if (m_key == "open-fails") {
        if (!ExpectValues(1, 2)) {
            return false;
        }
        if (m_values.size() == 2) {
            uint64_t value = 0;
            if (!Number(1, 0xFFFFFFFF, value)) {
                return false;
            }
            if (value == 0) {
                return Fail("the occurrence counts from 1");
            }
            printer.openFailsOccurrence = static_cast<uint32_t>(value);
        }
        if (m_values[0] == "cont") {
            printer.controlOpenFails = true;
        } else if (m_values[0] == "pipe00") {
            printer.pipe00OpenFails = true;
        } else if (m_values[0] == "pipe01") {
            printer.pipe01OpenFails = true;
        } else {
            return Fail("expected cont, pipe00 or pipe01, found \"" + m_values[0] + "\"");
        }
        return true;
    }
    if (m_key == "write-fails") {
        return ParseWriteFault(printer, WriteFault::Action::Fail);
    }
    if (m_key == "write-short") {
        return ParseWriteFault(printer, WriteFault::Action::TakeShort);
    }
    if (m_key == "unplug-at") {
        return ParseWriteFault(printer, WriteFault::Action::Unplug);
    }
    if (m_key == "reply-short") {
        return ParseReplyFault(printer, false);
    }
    if (m_key == "reply-header") {
        return ParseReplyFault(printer, true);
    }
    if (m_key == "silent-after") {
        if (!ExpectValues(1, 1) || !Number(0, UINT32_MAX, value)) {
            return false;
        }
        printer.silentAfterReplies = static_cast<uint32_t>(value);
        return true;
    }
    if (m_key == "link-rate") {
        if (!ExpectValues(1, 1) || !Number(0, UINT32_MAX, value)) {
            return false;
        }
        if (value == 0) {
            return Fail("the rate must be at least 1 byte per second");
        }
        printer.linkBytesPerSecond = static_cast<uint32_t>(value);
        return true;
    }
    if (m_key == "unplug-after") {
        if (!ExpectValues(1, 1) || !Number(0, UINT64_MAX, value)) {
            return false;
        }
        printer.unplugAfterImageBytes = value;
        return true;
    }
    if (m_key == "report-after-write") {
        return ParseReportOverride(printer);
    }
    return Fail("unknown printer key");
}

bool ConfigParser::ParseWriteFault(PrinterConfig& printer, WriteFault::Action action) {
    const bool takeShort = action == WriteFault::Action::TakeShort;
    if (!ExpectValues(takeShort ? 2 : 1, takeShort ? 3 : 2)) {
        return false;
    }
    WriteFault fault;
    fault.action = action;
    const std::string& kind = m_values[0];
    const size_t colon = kind.find(':');
    const std::string_view name = std::string_view(kind).substr(0, colon);
    const CommandName* match = nullptr;
    for (const CommandName& candidate : kWriteKinds) {
        if (candidate.name == name) {
            match = &candidate;
        }
    }
    if (match == nullptr) {
        return Fail("unknown write \"" + kind +
                    "\"; expected download-mode, restart, prepare, start-write, "
                    "version-inquiry, status-inquiry, identity-read or image");
    }
    fault.image = match->name == "image";
    fault.command = match->kind;
    if (colon != std::string::npos) {
        fault.area = match->takesArea ? AreaLayout::ByName(kind.substr(colon + 1)) : nullptr;
        if (fault.area == nullptr) {
            return Fail("\"" + kind + "\" names no area of that write");
        }
    }
    size_t next = 1;
    uint64_t value = 0;
    if (takeShort) {
        if (!Number(next++, UINT32_MAX, value)) {
            return false;
        }
        fault.acceptedBytes = static_cast<uint32_t>(value);
    }
    if (next < m_values.size()) {
        if (!Number(next, UINT32_MAX, value)) {
            return false;
        }
        if (value == 0) {
            return Fail("the occurrence counts from 1");
        }
        fault.occurrence = static_cast<uint32_t>(value);
    }
    printer.writeFaults.push_back(fault);
    return true;
}

bool ConfigParser::ParseReplyFault(PrinterConfig& printer, bool header) {
    if (!ExpectValues(2, 3)) {
        return false;
    }
    ReplyFault fault;
    const InquiryName* match = nullptr;
    for (const InquiryName& candidate : kInquiries) {
        if (candidate.name == m_values[0]) {
            match = &candidate;
        }
    }
    if (match == nullptr) {
        return Fail("expected status, identity or version, found \"" + m_values[0] + "\"");
    }
    fault.inquiry = match->kind;
    uint64_t value = 0;
    if (header) {
        if (!Hex(1, 8, value)) {
            return false;
        }
        fault.header = std::array<uint8_t, 4>{
            static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    } else {
        if (!Number(1, UINT32_MAX, value)) {
            return false;
        }
        fault.missingBytes = static_cast<uint32_t>(value);
    }
    if (m_values.size() == 3) {
        if (!Number(2, UINT32_MAX, value)) {
            return false;
        }
        if (value == 0) {
            return Fail("the occurrence counts from 1");
        }
        fault.occurrence = static_cast<uint32_t>(value);
    }
    printer.replyFaults.push_back(fault);
    return true;
}

bool ConfigParser::ParseReportOverride(PrinterConfig& printer) {
    if (!ExpectValues(3, 3)) {
        return false;
    }
    ReportOverride report;
    if (!Area(0, report.area)) {
        return false;
    }
    if (m_values[1] != "-") {
        std::array<uint8_t, 6> version{};
        if (!Version(1, version)) {
            return false;
        }
        report.version = version;
    }
    if (m_values[2] != "-") {
        uint64_t checksum = 0;
        if (!Hex(2, 4, checksum)) {
            return false;
        }
        report.checksum = static_cast<uint16_t>(checksum);
    }
    printer.reportOverrides.push_back(report);
    return true;
}

bool ConfigParser::ParseFirmware(PrinterConfig& printer) {
    const AreaLayout* area = nullptr;
    ItemFirmware firmware;
    uint64_t checksum = 0;
    if (!ExpectValues(3, 3) || !Area(0, area) || !Version(1, firmware.version) ||
        !Hex(2, 4, checksum)) {
        return false;
    }
    firmware.checksum = static_cast<uint16_t>(checksum);
    printer.firmware[area->Index()] = firmware;
    return true;
}

bool ConfigParser::ParseIdentityHex(PrinterConfig& printer) {
    std::string digits;
    for (const std::string& word : m_values) {
        digits += word;
    }
    if (digits.size() != 12) {
        return Fail("expected 6 bytes as 12 hexadecimal digits, found " +
                    std::to_string(digits.size()) + " digits");
    }
    for (size_t i = 0; i < 6; ++i) {
        const int high = HexDigit(digits[2 * i]);
        const int low = HexDigit(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            return Fail("\"" + digits.substr(2 * i, 2) + "\" is not a hexadecimal byte");
        }
        printer.identity[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return true;
}

bool ConfigParser::ExpectValues(size_t least, size_t most) {
    if (m_values.size() >= least && m_values.size() <= most) {
        return true;
    }
    std::string expected = std::to_string(least);
    if (most != least) {
        expected += " to " + std::to_string(most);
    }
    return Fail("expected " + expected + (most == 1 ? " value" : " values") + ", found " +
                std::to_string(m_values.size()));
}

bool ConfigParser::Number(size_t index, uint64_t most, uint64_t& value) {
    const std::string& word = m_values[index];
    const std::string_view hex = WithoutHexPrefix(word);
    const bool isHex = hex.size() != word.size();
    const uint64_t base = isHex ? 16 : 10;
    const std::string_view digits = isHex ? hex : std::string_view(word);
    uint64_t result = 0;
    bool valid = !digits.empty();
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0 || static_cast<uint64_t>(digit) >= base ||
            result > (most - static_cast<uint64_t>(digit)) / base) {
            valid = false;
            break;
        }
        result = result * base + static_cast<uint64_t>(digit);
    }
    if (!valid) {
        return Fail("expected a number from 0 to " + std::to_string(most) + ", found \"" + word +
                    "\"");
    }
    value = result;
    return true;
}

bool ConfigParser::Hex(size_t index, size_t digits, uint64_t& value) {
    const std::string& word = m_values[index];
    const std::string_view text = WithoutHexPrefix(word);
    uint64_t result = 0;
    bool valid = text.size() == digits;
    for (char c : text) {
        const int digit = HexDigit(c);
        valid = valid && digit >= 0;
        result = result * 16 + static_cast<uint64_t>(digit < 0 ? 0 : digit);
    }
    if (!valid) {
        return Fail("expected " + std::to_string(digits) + " hexadecimal digits, found \"" + word +
                    "\"");
    }
    value = result;
    return true;
}

bool ConfigParser::YesNo(size_t index, bool& value) {
    if (m_values[index] == "yes" || m_values[index] == "no") {
        value = m_values[index] == "yes";
        return true;
    }
    return Fail("expected yes or no, found \"" + m_values[index] + "\"");
}

bool ConfigParser::Area(size_t index, const AreaLayout*& area) {
    area = AreaLayout::ByName(m_values[index]);
    if (area == nullptr) {
        return Fail(
            "expected an area letter (p, t, c, f, s) or item (DATA1(M) to DATA4(M)), "
            "found \"" +
            m_values[index] + "\"");
    }
    return true;
}

bool ConfigParser::Version(size_t index, std::array<uint8_t, 6>& version) {
    const std::string& word = m_values[index];
    if (word.size() != version.size()) {
        return Fail("expected 6 characters, found \"" + word + "\"");
    }
    for (size_t i = 0; i < version.size(); ++i) {
        version[i] = static_cast<uint8_t>(word[i]);
    }
    return true;
}

bool ConfigParser::Fail(const std::string& message) {
    m_error.line = m_lineNumber;
    m_error.field = m_key;
    m_error.message = message;
    return false;
}

}  // namespace sim
