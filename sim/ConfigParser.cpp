#include "sim/ConfigParser.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "sim/ConfigLine.h"

namespace sim {

namespace {

// A printer as read so far, and which ids it set itself; the others take the global ids.
struct PrinterEntry {
    PrinterConfig config;
    bool ownVendorId = false;
    bool ownProductId = false;
};

// A key of one section: how many values it takes and what reads them into the section.
template <typename Section>
struct Key {
    std::string_view name;
    size_t leastValues;
    size_t mostValues;
    bool (*read)(ConfigLine& line, Section& section);
};

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

// The first value, a number up to `most`, into `field` (a number, or an optional one). With
// `zeroFault`, 0 is refused with that message.
template <typename Field>
bool ReadNumber(ConfigLine& line, uint64_t most, Field& field, const char* zeroFault = nullptr) {
    uint64_t value = 0;
    if (!line.Number(0, most, value)) {
        return false;
    }
    if (zeroFault != nullptr && value == 0) {
        return line.Fail(zeroFault);
    }
    field = static_cast<Field>(value);
    return true;
}

// The first value, exactly `digits` hexadecimal digits, into `field`.
template <typename Field>
bool ReadHex(ConfigLine& line, size_t digits, Field& field) {
    uint64_t value = 0;
    if (!line.Hex(0, digits, value)) {
        return false;
    }
    field = static_cast<Field>(value);
    return true;
}

bool ReadTimeLimit(ConfigLine& line, SimConfig& config) {
    return ReadNumber(line, 600000, config.timeLimitMs, "the time limit must be at least 1 ms");
}

bool ReadRefuseVendorId(ConfigLine& line, SimConfig& config) {
    return line.YesNo(0, config.refuseVendorId);
}

bool ReadGlobalVendorId(ConfigLine& line, SimConfig& config) {
    return ReadHex(line, 4, config.vendorId);
}

bool ReadGlobalProductId(ConfigLine& line, SimConfig& config) {
    return ReadHex(line, 4, config.productId);
}

bool ReadVendorId(ConfigLine& line, PrinterEntry& printer) {
    printer.ownVendorId = true;
    return ReadHex(line, 4, printer.config.vendorId);
}

bool ReadProductId(ConfigLine& line, PrinterEntry& printer) {
    printer.ownProductId = true;
    return ReadHex(line, 4, printer.config.productId);
}

bool ReadModelCode(ConfigLine& line, PrinterEntry& printer) {
    return ReadHex(line, 2, printer.config.modelCode);
}

bool ReadErrorCode(ConfigLine& line, PrinterEntry& printer) {
    return ReadNumber(line, 0xFFFF, printer.config.errorCode);
}

bool ReadPrintingState(ConfigLine& line, PrinterEntry& printer) {
    return ReadNumber(line, 0xFF, printer.config.printingState);
}

bool ReadIdentity(ConfigLine& line, PrinterEntry& printer) {
    return line.Version(0, printer.config.identity);
}

bool ReadIdentityHex(ConfigLine& line, PrinterEntry& printer) {
    return line.JoinedHexBytes(printer.config.identity);
}

bool ReadFirmware(ConfigLine& line, PrinterEntry& printer) {
    const AreaLayout* area = nullptr;
    ItemFirmware firmware;
    uint64_t checksum = 0;
    if (!line.Area(0, area) || !line.Version(1, firmware.version) || !line.Hex(2, 4, checksum)) {
        return false;
    }
    firmware.checksum = static_cast<uint16_t>(checksum);
    printer.config.firmware[area->Index()] = firmware;
    return true;
}

bool ReadOpenFails(ConfigLine& line, PrinterEntry& printer) {
    PrinterConfig& config = printer.config;
    if (line.Values().size() == 2 && !line.Occurrence(1, config.openFailsOccurrence)) {
        return false;
    }
    const std::string& handle = line.Values()[0];
    if (handle == "cont") {
        config.controlOpenFails = true;
    } else if (handle == "pipe00") {
        config.pipe00OpenFails = true;
    } else if (handle == "pipe01") {
        config.pipe01OpenFails = true;
    } else {
        return line.Fail("expected cont, pipe00 or pipe01, found \"" + handle + "\"");
    }
    return true;
}

// <write>[:<area>] [<accepted bytes> when taken short] [<occurrence>]
bool ReadWriteFault(ConfigLine& line, PrinterConfig& printer, WriteFault::Action action) {
    WriteFault fault;
    fault.action = action;
    const std::string& kind = line.Values()[0];
    const size_t colon = kind.find(':');
    const std::string_view name = std::string_view(kind).substr(0, colon);
    const CommandName* match = nullptr;
    for (const CommandName& candidate : kWriteKinds) {
        if (candidate.name == name) {
            match = &candidate;
        }
    }
    if (match == nullptr) {
        return line.Fail("unknown write \"" + kind +
                         "\"; expected download-mode, restart, prepare, start-write, "
                         "version-inquiry, status-inquiry, identity-read or image");
    }
    fault.image = match->name == "image";
    fault.command = match->kind;
    if (colon != std::string::npos) {
        fault.area = match->takesArea ? AreaLayout::ByName(kind.substr(colon + 1)) : nullptr;
        if (fault.area == nullptr) {
            return line.Fail("\"" + kind + "\" names no area of that write");
        }
    }
    size_t next = 1;
    if (action == WriteFault::Action::TakeShort) {
        uint64_t accepted = 0;
        if (!line.Number(next++, UINT32_MAX, accepted)) {
            return false;
        }
        fault.acceptedBytes = static_cast<uint32_t>(accepted);
    }
    if (next < line.Values().size() && !line.Occurrence(next, fault.occurrence)) {
        return false;
    }
    printer.writeFaults.push_back(fault);
    return true;
}

bool ReadWriteFails(ConfigLine& line, PrinterEntry& printer) {
    return ReadWriteFault(line, printer.config, WriteFault::Action::Fail);
}

bool ReadWriteShort(ConfigLine& line, PrinterEntry& printer) {
    return ReadWriteFault(line, printer.config, WriteFault::Action::TakeShort);
}

bool ReadUnplugAt(ConfigLine& line, PrinterEntry& printer) {
    return ReadWriteFault(line, printer.config, WriteFault::Action::Unplug);
}

// <inquiry> <missing bytes, or the header as 8 hexadecimal digits> [<occurrence>]
bool ReadReplyFault(ConfigLine& line, PrinterConfig& printer, bool header) {
    ReplyFault fault;
    const InquiryName* match = nullptr;
    for (const InquiryName& candidate : kInquiries) {
        if (candidate.name == line.Values()[0]) {
            match = &candidate;
        }
    }
    if (match == nullptr) {
        return line.Fail("expected status, identity or version, found \"" + line.Values()[0] +
                         "\"");
    }
    fault.inquiry = match->kind;
    uint64_t value = 0;
    if (header) {
        if (!line.Hex(1, 8, value)) {
            return false;
        }
        fault.header = std::array<uint8_t, 4>{
            static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    } else {
        if (!line.Number(1, UINT32_MAX, value)) {
            return false;
        }
        fault.missingBytes = static_cast<uint32_t>(value);
    }
    if (line.Values().size() == 3 && !line.Occurrence(2, fault.occurrence)) {
        return false;
    }
    printer.replyFaults.push_back(fault);
    return true;
}

bool ReadReplyShort(ConfigLine& line, PrinterEntry& printer) {
    return ReadReplyFault(line, printer.config, false);
}

bool ReadReplyHeader(ConfigLine& line, PrinterEntry& printer) {
    return ReadReplyFault(line, printer.config, true);
}

bool ReadSilentAfter(ConfigLine& line, PrinterEntry& printer) {
    return ReadNumber(line, UINT32_MAX, printer.config.silentAfterReplies);
}

bool ReadLinkRate(ConfigLine& line, PrinterEntry& printer) {
    return ReadNumber(line, UINT32_MAX, printer.config.linkBytesPerSecond,
                      "the rate must be at least 1 byte per second");
}

bool ReadUnplugAfter(ConfigLine& line, PrinterEntry& printer) {
    return ReadNumber(line, UINT64_MAX, printer.config.unplugAfterImageBytes);
}

bool ReadHoldRestart(ConfigLine& line, PrinterEntry& printer) {
    printer.config.restartHeldUntil = line.Values()[0];
    return true;
}

// <area> <version or -> <checksum or ->
bool ReadReportOverride(ConfigLine& line, PrinterEntry& printer) {
    ReportOverride report;
    if (!line.Area(0, report.area)) {
        return false;
    }
    if (line.Values()[1] != "-") {
        std::array<uint8_t, 6> version{};
        if (!line.Version(1, version)) {
            return false;
        }
        report.version = version;
    }
    if (line.Values()[2] != "-") {
        uint64_t checksum = 0;
        if (!line.Hex(2, 4, checksum)) {
            return false;
        }
        report.checksum = static_cast<uint16_t>(checksum);
    }
    printer.config.reportOverrides.push_back(report);
    return true;
}

constexpr size_t kAnyCount = std::numeric_limits<size_t>::max();

constexpr Key<SimConfig> kGlobalKeys[] = {
    {"vendor-id", 1, 1, ReadGlobalVendorId},
    {"product-id", 1, 1, ReadGlobalProductId},
    {"time-limit-ms", 1, 1, ReadTimeLimit},
    {"refuse-vendor-id", 1, 1, ReadRefuseVendorId},
};

constexpr Key<PrinterEntry> kPrinterKeys[] = {
    {"vendor-id", 1, 1, ReadVendorId},
    {"product-id", 1, 1, ReadProductId},
    {"model-code", 1, 1, ReadModelCode},
    {"error-code", 1, 1, ReadErrorCode},
    {"printing-state", 1, 1, ReadPrintingState},
    {"identity", 1, 1, ReadIdentity},
    // The digits may be grouped into words as the writer likes.
    {"identity-hex", 0, kAnyCount, ReadIdentityHex},
    {"firmware", 3, 3, ReadFirmware},
    {"open-fails", 1, 2, ReadOpenFails},
    {"write-fails", 1, 2, ReadWriteFails},
    {"write-short", 2, 3, ReadWriteShort},
    {"unplug-at", 1, 2, ReadUnplugAt},
    {"reply-short", 2, 3, ReadReplyShort},
    {"reply-header", 2, 3, ReadReplyHeader},
    {"silent-after", 1, 1, ReadSilentAfter},
    {"link-rate", 1, 1, ReadLinkRate},
    {"unplug-after", 1, 1, ReadUnplugAfter},
    {"report-after-write", 3, 3, ReadReportOverride},
    {"hold-restart", 1, 1, ReadHoldRestart},
};

template <typename Section>
bool ReadKey(ConfigLine& line, std::span<const Key<Section>> keys, Section& section,
             const char* unknown) {
    for (const Key<Section>& key : keys) {
        if (key.name == line.Key()) {
            return line.ExpectValues(key.leastValues, key.mostValues) && key.read(line, section);
        }
    }
    return line.Fail(unknown);
}

bool ReadLine(ConfigLine& line, SimConfig& config, std::vector<PrinterEntry>& printers) {
    if (line.IsEmpty()) {
        return true;
    }
    if (line.Key() == "printer") {
        if (!line.ExpectValues(0, 0)) {
            return false;
        }
        PrinterEntry& printer = printers.emplace_back();
        printer.config.NameAfterPosition(printers.size() - 1);
        return true;
    }
    if (printers.empty()) {
        return ReadKey<SimConfig>(line, kGlobalKeys, config,
                                  "unknown key before the first \"printer\" line");
    }
    return ReadKey<PrinterEntry>(line, kPrinterKeys, printers.back(), "unknown printer key");
}

}  // namespace

bool ConfigParser::Parse(std::string_view text, SimConfig& config, ConfigError& error) {
    config = SimConfig{};
    error = ConfigError{};
    std::vector<PrinterEntry> printers;
    uint32_t lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ConfigLine line(++lineNumber, text.substr(start, end - start), error);
        if (!ReadLine(line, config, printers)) {
            return false;
        }
        start = end + 1;
    }
    for (PrinterEntry& printer : printers) {
        if (!printer.ownVendorId) {
            printer.config.vendorId = config.vendorId;
        }
        if (!printer.ownProductId) {
            printer.config.productId = config.productId;
        }
        config.printers.push_back(std::move(printer.config));
    }
    return true;
}

}  // namespace sim
