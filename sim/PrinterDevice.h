// The device model of an RX-T9 printer: the protocol of its bulk pipes in normal and download
// mode, the flash memory of its firmware areas and what it reports about them.
//
// Normal mode answers the status inquiry, the identity read and the version inquiry, and the
// download-mode command enters download mode. Download mode answers only the version inquiry;
// a prepare command erases its area, a start-write command makes the following transfers the
// area's image data, until the next command; the restart command returns to normal mode. The
// image data of an area not prepared since download mode was entered is discarded.
//
// After an image the area reports what its memory yields: the version at the start of its
// last 16 bytes and its word sum, however the image ended.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "sim/AreaMemory.h"
#include "sim/DataSession.h"
#include "sim/HostWrite.h"
#include "sim/PrinterConfig.h"
#include "sim/ReceivedLog.h"

namespace sim {

class PrinterDevice {
public:
    struct Reply {
        CommandKind inquiry;
        std::vector<uint8_t> bytes;
    };

    explicit PrinterDevice(PrinterConfig config);

    // What the transfer would be to the printer in its present state.
    HostWrite Classify(std::span<const uint8_t> transfer) const;
    // Handles one transfer; returns the reply the printer sends, if any.
    std::optional<Reply> Receive(std::span<const uint8_t> transfer);
    // Ends the image being received, as the printer loses power.
    void PowerOff();

    bool InDownloadMode() const { return m_downloadMode; }
    const ItemFirmware& Reported(const AreaLayout& area) const;
    void SetReported(const AreaLayout& area, const ItemFirmware& firmware);
    const std::array<ItemFirmware, 5>& AllReported() const { return m_reported; }
    // Grows whenever a reported version or checksum may have changed.
    uint64_t FirmwareRevision() const { return m_firmwareRevision; }
    const ReceivedLog& Log() const { return m_log; }

private:
    std::optional<Reply> ReceiveCommand(const Command& command, std::span<const uint8_t> bytes);
    void CloseSession();
    void TakeMemoryFirmware(const AreaLayout& area, bool afterImage);
    void UpdateSessionLine();

    const PrinterConfig m_config;
    bool m_downloadMode = false;
    std::array<ItemFirmware, 5> m_reported;
    std::array<std::unique_ptr<AreaMemory>, 5> m_memory;
    std::array<bool, 5> m_prepared{};
    std::unique_ptr<DataSession> m_session;
    size_t m_sessionLine = 0;
    uint64_t m_firmwareRevision = 0;
    ReceivedLog m_log;
};

}  // namespace sim
