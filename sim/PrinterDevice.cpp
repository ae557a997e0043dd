#include "sim/PrinterDevice.h"

#include <algorithm>

#include "sim/HexText.h"

namespace sim {

namespace {

// "12 bytes: 1B 66 72 00 ..." with at most the first eight bytes.
std::string Sample(std::span<const uint8_t> bytes) {
    std::string text = std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte" : " bytes");
    const size_t shown = std::min<size_t>(bytes.size(), 8);
    if (shown > 0) {
        text += ':';
    }
    for (size_t i = 0; i < shown; ++i) {
        text += ' ' + HexText(bytes[i], 2);
    }
    if (shown < bytes.size()) {
        text += " ...";
    }
    return text;
}

}  // namespace

PrinterDevice::PrinterDevice(PrinterConfig config)
    : m_config(std::move(config)), m_reported(m_config.firmware) {
    for (const AreaLayout& area : AreaLayout::All()) {
        m_memory[area.Index()] = std::make_unique<AreaMemory>(area);
    }
}

HostWrite PrinterDevice::Classify(std::span<const uint8_t> transfer) const {
    HostWrite write;
    if (CommandSet::IsCommand(transfer)) {
        const Command command = CommandSet::Classify(transfer);
        write.kind = HostWrite::Kind::Command;
        write.command = command.kind;
        write.area = command.area;
    } else if (m_session) {
        write.kind = HostWrite::Kind::Image;
        write.area = &m_session->Area();
    }
    return write;
}

std::optional<PrinterDevice::Reply> PrinterDevice::Receive(std::span<const uint8_t> transfer) {
    if (CommandSet::IsCommand(transfer)) {
        CloseSession();
        return ReceiveCommand(CommandSet::Classify(transfer), transfer);
    }
    if (!m_session) {
        m_log.Add("stray " + Sample(transfer));
        return std::nullopt;
    }
    if (m_session->Receive(transfer)) {
        TakeMemoryFirmware(m_session->Area(), true);
    }
    UpdateSessionLine();
    return std::nullopt;
}

std::optional<PrinterDevice::Reply> PrinterDevice::ReceiveCommand(const Command& command,
                                                                  std::span<const uint8_t> bytes) {
    std::string line(CommandSet::Name(command.kind));
    if (command.area != nullptr) {
        line += ' ';
        line += command.area->letter;
    }
    switch (command.kind) {
        case CommandKind::StatusInquiry:
        case CommandKind::IdentityRead:
            if (m_downloadMode) {
                m_log.Add(line + " (no reply in download mode)");
                return std::nullopt;
            }
            m_log.Add(line);
            if (command.kind == CommandKind::StatusInquiry) {
                return Reply{command.kind,
                             CommandSet::StatusReply(m_config.modelCode, m_config.errorCode,
                                                     m_config.printingState)};
            }
            return Reply{command.kind, CommandSet::IdentityReply(m_config.identity)};
        case CommandKind::VersionInquiry: {
            m_log.Add(line);
            std::array<ItemFirmware, 4> items;
            for (int item = 0; item < 4; ++item) {
                items[item] = Reported(AreaLayout::ForReplyItem(item));
            }
            return Reply{command.kind, CommandSet::VersionReply(items)};
        }
        case CommandKind::DownloadMode:
            if (!m_downloadMode) {
                m_prepared.fill(false);
            }
            m_downloadMode = true;
            m_log.Add(line);
            return std::nullopt;
        case CommandKind::Restart:
            m_downloadMode = false;
            m_prepared.fill(false);
            m_log.Add(line);
            return std::nullopt;
        case CommandKind::PrepareArea:
        case CommandKind::StartWrite:
            if (!m_downloadMode) {
                m_log.Add(line + " (ignored in normal mode)");
                return std::nullopt;
            }
            m_log.Add(line);
            if (command.kind == CommandKind::PrepareArea) {
                const size_t index = command.area->Index();
                m_memory[index]->Erase();
                m_prepared[index] = true;
                TakeMemoryFirmware(*command.area, false);
            } else {
                const size_t index = command.area->Index();
                m_session = std::make_unique<DataSession>(*m_memory[index], m_prepared[index]);
                m_sessionLine = m_log.Add(m_session->Describe());
            }
            return std::nullopt;
        case CommandKind::Unknown:
            break;
    }
    m_log.Add("unknown " + Sample(bytes));
    return std::nullopt;
}

void PrinterDevice::PowerOff() {
    CloseSession();
    m_downloadMode = false;
    m_prepared.fill(false);
}

const ItemFirmware& PrinterDevice::Reported(const AreaLayout& area) const {
    return m_reported[area.Index()];
}

void PrinterDevice::SetReported(const AreaLayout& area, const ItemFirmware& firmware) {
    m_reported[area.Index()] = firmware;
    ++m_firmwareRevision;
}

void PrinterDevice::CloseSession() {
    if (!m_session) {
        return;
    }
    if (m_session->Close()) {
        TakeMemoryFirmware(m_session->Area(), true);
    }
    UpdateSessionLine();
    m_session.reset();
}

void PrinterDevice::TakeMemoryFirmware(const AreaLayout& area, bool afterImage) {
    ItemFirmware firmware = m_memory[area.Index()]->Firmware();
    if (afterImage) {
        for (const ReportOverride& report : m_config.reportOverrides) {
            if (report.area == &area) {
                firmware.version = report.version.value_or(firmware.version);
                firmware.checksum = report.checksum.value_or(firmware.checksum);
            }
        }
    }
    SetReported(area, firmware);
}

void PrinterDevice::UpdateSessionLine() {
    m_log.Update(m_sessionLine, m_session->Describe());
}

}  // namespace sim
